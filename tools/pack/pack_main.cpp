// tessarine-pack: creates, lists, checks and unpacks assets.dat archives.

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "pack_commands.h"

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
    "  --help                          show this text\n";

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& message) {
    std::cerr << "tessarine-pack: " << message << "\n\n" << kUsage;
    return kExitUsage;
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
