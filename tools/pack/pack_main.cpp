// tessarine-pack: creates, lists, checks and unpacks assets.dat archives, and ships apps.

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "pack_commands.h"
#include "ship_command.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "Usage: tessarine-pack <command> <arguments>\n"
    "\n"
    "Commands:\n"
    "  create <folder> <assets.dat>    pack every file below the folder into a new archive\n"
    "  list <assets.dat>               print each file's name, length and MIME type\n"
    "  verify <assets.dat>             check the archive and print the number of files\n"
    "  extract <assets.dat> <folder> [--force]\n"
    "                                  unpack every file into the folder; --force replaces\n"
    "                                  files that are already there\n"
    "  cat <assets.dat> <name>         write one file's bytes to standard output\n"
    "  check <app folder>              check package.json as the host reads it; warn of\n"
    "                                  near-miss keys and of folders the page may write\n"
    "  ship <app folder> <output folder> [options]\n"
    "                                  make the app a folder, zip and installer for players\n"
    "                                  (tessarine-pack ship --help tells more)\n"
    "  --version                       print the version\n"
    "  --help                          show this text\n";

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& message) {
    std::cerr << "tessarine-pack: " << message << "\n\n" << kUsage;
    return kExitUsage;
}

// Where tessarine-pack itself lies: ship looks for tessarine.exe there.
fs::path PackerFolder() {
#ifdef _WIN32
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return fs::path(path.substr(0, length)).parent_path();
        path.resize(path.size() * 2);
    }
#else
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).parent_path();
#endif
}

int Ship(const std::vector<fs::path>& args) {
    if (std::find(args.begin(), args.end(), fs::path("--help")) != args.end()) {
        std::cout << kShipUsage;
        return 0;
    }
    ShipOptions options;
    try {
        options = ParseShipArguments(args);
    } catch (const std::invalid_argument& error) {
        std::cerr << "tessarine-pack ship: " << error.what() << "\n\n" << kShipUsage;
        return kExitUsage;
    }
    RunShip(options, PackerFolder());
    return 0;
}

int Run(std::vector<fs::path> args) {
    if (args.empty()) {
        return UsageError("no command given");
    }
    const std::string command = args[0].u8string();
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "--version") {
        std::cout << "tessarine-pack " << TESSARINE_VERSION << "\n";
        return 0;
    }
    if (command == "ship") {
        try {
            return Ship(std::vector<fs::path>(args.begin() + 1, args.end()));
        } catch (const std::exception& error) {
            std::cout.flush();
            std::cerr << "tessarine-pack: " << error.what() << std::endl;
            return kExitFailure;
        }
    }
    struct Command {
        const char* name;
        size_t arguments;
    };
    static const Command commands[] = {{"create", 2},  {"list", 1}, {"verify", 1},
                                       {"extract", 2}, {"cat", 2},  {"check", 1}};
    const Command* found = nullptr;
    for (const Command& candidate : commands) {
        if (command == candidate.name) found = &candidate;
    }
    if (found == nullptr) {
        return UsageError("unknown command '" + command + "'");
    }
    const auto forceFlag = std::find(args.begin() + 1, args.end(), fs::path("--force"));
    const bool force = command == "extract" && forceFlag != args.end();
    if (force) args.erase(forceFlag);
    if (args.size() != found->arguments + 1) {
        return UsageError("'" + command + "' takes " + std::to_string(found->arguments) +
                          (found->arguments == 1 ? " argument" : " arguments"));
    }

    try {
        if (command == "create") {
            RunCreate(args[1], args[2]);
        } else if (command == "list") {
            RunList(args[1]);
        } else if (command == "verify") {
            RunVerify(args[1]);
        } else if (command == "extract") {
            RunExtract(args[1], args[2], force);
        } else if (command == "check") {
            RunCheck(args[1]);
        } else {
            RunCat(args[1], args[2].u8string());
        }
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "tessarine-pack: " << error.what() << std::endl;
        return kExitFailure;
    }
    return 0;
}

}  // namespace

// Arguments become paths directly, so names outside the ANSI code page survive on Windows.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
#else
int main(int argc, char** argv)
#endif
{
    std::vector<fs::path> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    try {
        return Run(args);
    } catch (const std::exception& error) {
        std::cerr << "tessarine-pack: " << error.what() << std::endl;
        return kExitFailure;
    }
}
