#include "ship_installer.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "pe_file.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

namespace {

// The evergreen runtime's client id; its "pv" value is the installed version.
const char kRuntimeClient[] = R"(Microsoft\EdgeUpdate\Clients\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5})";
const char kUninstallKey[] = R"(Software\Microsoft\Windows\CurrentVersion\Uninstall\)";

// Text for an NSIS script: "$" and quotes escaped, so that nothing in it is a variable.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '$') {
            out += "$$";
        } else if (c == '"') {
            out += "$\\\"";
        } else if (c == '\n' || c == '\r') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::string Quoted(const std::string& text) {
    return "\"" + Escaped(text) + "\"";
}

// Script text in quotes as it is, its variables ($INSTDIR) working.
std::string Script(const std::string& raw) {
    return "\"" + raw + "\"";
}

std::string Windows(const std::string& generic) {
    std::string out = generic;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

// The script's reading of the runtime's version into $0, in the three places it is kept.
void RuntimeCheck(std::ostringstream& s, const InstallerInputs& inputs) {
    const std::string client = kRuntimeClient;
    s << "  SetRegView 64\n"
      << "  ReadRegStr $0 HKLM " << Quoted("SOFTWARE\\WOW6432Node\\" + client) << " \"pv\"\n"
      << "  ${If} $0 == \"\"\n  ${OrIf} $0 == \"0.0.0.0\"\n"
      << "    ReadRegStr $0 HKLM " << Quoted("SOFTWARE\\" + client) << " \"pv\"\n  ${EndIf}\n"
      << "  ${If} $0 == \"\"\n  ${OrIf} $0 == \"0.0.0.0\"\n"
      << "    ReadRegStr $0 HKCU " << Quoted("Software\\" + client) << " \"pv\"\n  ${EndIf}\n"
      << "  SetRegView lastused\n"
      << "  ${If} $0 == \"\"\n  ${OrIf} $0 == \"0.0.0.0\"\n";
    if (inputs.bootstrapper.empty()) {
        s << "    DetailPrint \"The Microsoft Edge WebView2 runtime is not installed: the game says where to get "
             "it.\"\n";
    } else {
        s << "    InitPluginsDir\n"
          << "    File " << Script("/oname=$PLUGINSDIR\\MicrosoftEdgeWebview2Setup.exe") << " "
          << Quoted(inputs.bootstrapper.u8string()) << "\n"
          << "    DetailPrint \"Installing the Microsoft Edge WebView2 runtime\"\n"
          << "    ExecWait '\"$PLUGINSDIR\\MicrosoftEdgeWebview2Setup.exe\" /silent /install' $1\n"
          << "    ${If} $1 <> 0\n"
          << "      DetailPrint \"The WebView2 runtime's setup ended with code $1\"\n    ${EndIf}\n";
    }
    s << "  ${EndIf}\n";
}

}  // namespace

std::string InstallerScript(const InstallerInputs& inputs) {
    const std::string context = inputs.perMachine ? "all" : "current";
    const std::string key = kUninstallKey + inputs.appId;
    const std::string shortcut = "$SMPROGRAMS\\" + Escaped(inputs.displayName) + ".lnk";
    const std::string desktop = "$DESKTOP\\" + Escaped(inputs.displayName) + ".lnk";
    std::string base = inputs.exeName.substr(0, inputs.exeName.size() - 4);

    std::ostringstream s;
    // A 64-bit installer for a 64-bit game: it also runs where 32-bit programs cannot.
    s << "Target amd64-unicode\nManifestDPIAware true\nSetCompressor /SOLID lzma\n"
      << "Name " << Quoted(inputs.displayName) << "\n"
      << "OutFile " << Quoted(inputs.output.u8string()) << "\n"
      << "InstallDir "
      << Script((inputs.perMachine ? "$PROGRAMFILES64\\" : "$LOCALAPPDATA\\Programs\\") + Escaped(base)) << "\n"
      << "RequestExecutionLevel " << (inputs.perMachine ? "admin" : "user") << "\n"
      << "!include LogicLib.nsh\n"
      << "Page directory\nPage instfiles\nUninstPage uninstConfirm\nUninstPage components\nUninstPage instfiles\n";
    if (!inputs.signCommand.empty()) {
        std::string command = inputs.signCommand;
        for (size_t at; (at = command.find("{file}")) != std::string::npos;) command.replace(at, 6, "\"%1\"");
        s << "!uninstfinalize `" << command << "` = 0\n";
    }
    s << "Function .onInit\n  SetShellVarContext " << context << "\nFunctionEnd\n"
      << "Function un.onInit\n  SetShellVarContext " << context << "\nFunctionEnd\n";

    s << "Section \"-Program\"\n  SetOutPath \"$INSTDIR\"\n"
      << "  File /r " << Quoted((inputs.folder / "*").u8string()) << "\n"
      << "  WriteUninstaller \"$INSTDIR\\uninstall.exe\"\n"
      << "  CreateShortcut " << Script(shortcut) << " " << Script("$INSTDIR\\" + Escaped(inputs.exeName)) << "\n";
    if (inputs.desktopShortcut) {
        s << "  CreateShortcut " << Script(desktop) << " " << Script("$INSTDIR\\" + Escaped(inputs.exeName)) << "\n";
    }
    auto value = [&](const char* name, const std::string& text) {
        s << "  WriteRegStr SHCTX " << Quoted(key) << " \"" << name << "\" " << Script(text) << "\n";
    };
    value("DisplayName", Escaped(inputs.displayName));
    value("DisplayVersion", Escaped(inputs.version));
    if (!inputs.publisher.empty()) value("Publisher", Escaped(inputs.publisher));
    value("DisplayIcon", "$INSTDIR\\" + Escaped(inputs.exeName) + ",0");
    value("InstallLocation", "$INSTDIR");
    value("UninstallString", R"($\"$INSTDIR\uninstall.exe$\")");
    value("QuietUninstallString", R"($\"$INSTDIR\uninstall.exe$\" /S)");
    s << "  WriteRegDWORD SHCTX " << Quoted(key) << " \"EstimatedSize\" " << (inputs.installedBytes + 1023) / 1024
      << "\n"
      << "  WriteRegDWORD SHCTX " << Quoted(key) << " \"NoModify\" 1\n"
      << "  WriteRegDWORD SHCTX " << Quoted(key) << " \"NoRepair\" 1\n";
    if (inputs.checkRuntime) RuntimeCheck(s, inputs);
    s << "SectionEnd\n";

    // Only what was installed goes: anything the game or the player put in the folder stays,
    // and so does the folder then.
    s << "Section \"-un.Program\"\n";
    std::set<std::string, std::greater<>> folders;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(inputs.folder)) {
        const std::string relative = Windows(entry.path().lexically_relative(inputs.folder).generic_u8string());
        if (entry.is_directory()) {
            folders.insert(relative);
        } else {
            s << "  Delete " << Script("$INSTDIR\\" + Escaped(relative)) << "\n";
        }
    }
    for (const std::string& folder : folders) s << "  RMDir " << Script("$INSTDIR\\" + Escaped(folder)) << "\n";
    s << "  Delete \"$INSTDIR\\uninstall.exe\"\n  RMDir \"$INSTDIR\"\n"
      << "  Delete " << Script(shortcut) << "\n";
    if (inputs.desktopShortcut) s << "  Delete " << Script(desktop) << "\n";
    s << "  DeleteRegKey SHCTX " << Quoted(key) << "\nSectionEnd\n";
    // The browser's user-data folder: the host names it after the package.
    s << "Section /o \"un.Remove saved games and settings\"\n"
      << "  RMDir /r " << Script("$LOCALAPPDATA\\" + Escaped(inputs.appId)) << "\nSectionEnd\n";
    return s.str();
}

std::string CommandForFile(const std::string& command, const fs::path& file) {
#ifdef _WIN32
    const std::string quoted = "\"" + file.u8string() + "\"";
#else
    std::string quoted = "'";
    for (char c : file.u8string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
#endif
    std::string out = command;
    for (size_t at = 0; (at = out.find("{file}", at)) != std::string::npos; at += quoted.size()) {
        out.replace(at, 6, quoted);
    }
    return out;
}

void RunCommand(const std::string& command, const std::string& what) {
    std::fflush(nullptr);
    const int status = std::system(command.c_str());
#ifdef _WIN32
    const bool ok = status == 0;
#else
    const bool ok = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
    if (!ok) throw std::runtime_error(what + " failed: " + command);
}

void BuildInstaller(const InstallerInputs& inputs) {
    const fs::path script = inputs.workFolder / "installer.nsi";
    const fs::path log = inputs.workFolder / "makensis.log";
    {
        std::ofstream out(script, std::ios::binary);
        out << InstallerScript(inputs);
        if (!out) throw std::runtime_error("cannot write " + script.u8string());
    }
    const std::string command =
        CommandForFile(inputs.makensis.u8string().empty() ? "makensis" : "{file}", inputs.makensis) +
        " -V2 -INPUTCHARSET UTF8 " + CommandForFile("{file}", script) + " > " + CommandForFile("{file}", log) + " 2>&1";
    try {
        RunCommand(command, "makensis");
    } catch (const std::exception&) {
        std::string output;
        try {
            output = ReadWholeFile(log);
        } catch (const std::exception&) {
        }
        throw std::runtime_error("makensis could not build the installer:\n" + output);
    }
}
