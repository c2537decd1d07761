#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// An NSIS installer for a shipped folder, made with makensis.
struct InstallerInputs {
    std::filesystem::path folder;  // the shipped folder, installed as it is
    std::filesystem::path output;  // the setup program to write
    std::filesystem::path makensis;
    std::filesystem::path workFolder;  // for the script; the caller removes it
    std::string appId;                 // the package name: the saves' folder, the uninstall key
    std::string displayName;
    std::string exeName;
    std::string version;
    std::string publisher;
    uint64_t installedBytes = 0;
    bool perMachine = false;
    bool desktopShortcut = false;
    bool checkRuntime = true;            // false: the package ships its fixed runtime
    std::filesystem::path bootstrapper;  // empty: no runtime is installed with the game
    std::string signCommand;             // run on the uninstaller, "{file}" its path
};

// The NSIS script for `inputs`.
std::string InstallerScript(const InstallerInputs& inputs);

// Writes the script into inputs.workFolder and runs makensis on it; throws
// std::runtime_error with makensis's own output when it fails.
void BuildInstaller(const InstallerInputs& inputs);

// `command` with every "{file}" replaced by `file`, quoted for the system's shell.
std::string CommandForFile(const std::string& command, const std::filesystem::path& file);

// Runs a command through the system's shell; throws std::runtime_error naming `what`
// when it fails or cannot start.
void RunCommand(const std::string& command, const std::string& what);
