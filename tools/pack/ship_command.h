#pragma once

#include <filesystem>
#include <string>
#include <vector>

// tessarine-pack ship: an app folder made into a folder players can run, and on request
// a reproducible zip of it and an installer.

enum class RuntimeSetup { Skip, Bootstrapper };

struct ShipOptions {
    std::filesystem::path app;
    std::filesystem::path out;
    std::filesystem::path host;  // empty: tessarine.exe beside tessarine-pack
    std::filesystem::path loader;
    std::filesystem::path sdkPackage;
    std::filesystem::path makensis;  // empty: found on PATH
    std::filesystem::path bootstrapper;
    std::string exeName;
    std::string signCommand;
    RuntimeSetup runtimeSetup = RuntimeSetup::Skip;
    bool loose = false;
    bool zip = false;
    bool installer = false;
    bool perMachine = false;
    bool desktopShortcut = false;
};

extern const char kShipUsage[];
// The licences of what the host contains (THIRD-PARTY-NOTICES.txt, built in): every
// shipped folder carries them for its players.
extern const char kThirdPartyNotices[];

// Reads ship's arguments (after the word "ship"); throws std::invalid_argument with a
// message for the user on a bad command line.
ShipOptions ParseShipArguments(const std::vector<std::filesystem::path>& args);

// Checks everything first and writes nothing when a check fails; then writes the
// folder and what was asked for besides. Throws std::runtime_error with a message for
// the user; whatever this run wrote is removed again then.
void RunShip(const ShipOptions& options, const std::filesystem::path& packerFolder);

// The executable's name for a package name: characters Windows forbids in a file name
// replaced by "_", trailing dots and spaces dropped, device names (CON, NUL, ...)
// given a trailing "_"; "App" when nothing is left. With ".exe".
std::string SafeExeName(const std::string& name);
