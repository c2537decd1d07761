#include "ship_command.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <stdexcept>
#include <system_error>

#include <nlohmann/json.hpp>

#include "util/app_config.h"
#include "util/json_get.h"
#include "bundle/bundle_writer.h"
#include "bundle_file.h"
#include "entry_name_check.h"
#include "folder_files.h"
#include "host_resources.h"
#include "output_file.h"
#include "pe_file.h"
#include "ship_installer.h"
#include "util/windows_names.h"
#include "zip_reader.h"
#include "zip_writer.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

const char kShipUsage[] =
    "Usage: tessarine-pack ship <app folder> <output folder> [options]\n"
    "\n"
    "Makes an app folder (package.json, www\\, optional Orvanta.dll and webview2\\) into a\n"
    "folder players can copy to any 64-bit Windows 10 or 11 machine and run: <Name>.exe (the\n"
    "host with the game's icon and version), WebView2Loader.dll, package.json, the icon,\n"
    "www\\assets.dat, Orvanta.dll and webview2\\ when the app has them, and\n"
    "THIRD-PARTY-NOTICES.txt (the licences of what the host contains). Nothing is written\n"
    "when a check fails.\n"
    "\n"
    "Options:\n"
    "  --loader FILE            the WebView2 loader to ship (WebView2Loader.dll, x64)\n"
    "  --webview2-sdk FILE      take the x64 loader from Microsoft's WebView2 SDK package\n"
    "                           (Microsoft.Web.WebView2.<version>.nupkg, as downloaded)\n"
    "  --exe-name NAME          the program's name (default: the package's \"name\")\n"
    "  --host FILE              the host to ship (default: tessarine.exe beside tessarine-pack)\n"
    "  --loose                  ship www\\ as it is instead of packing it into www\\assets.dat\n"
    "  --zip                    also write <Name>-<version>-win64.zip beside the output folder,\n"
    "                           the same bytes for the same inputs (times: SOURCE_DATE_EPOCH)\n"
    "  --installer              also write <Name>-<version>-setup.exe beside the output folder\n"
    "                           (NSIS; per user, into %LOCALAPPDATA%\\Programs\\<Name>)\n"
    "  --per-machine            the installer installs for every user, into Program Files\n"
    "  --desktop-shortcut       the installer also puts a shortcut on the desktop\n"
    "  --webview2 skip          no WebView2 runtime installed: the game says where to get it\n"
    "                           (the default)\n"
    "  --webview2 bootstrapper FILE\n"
    "                           no WebView2 runtime installed: the installer runs Microsoft's\n"
    "                           bootstrapper FILE (MicrosoftEdgeWebview2Setup.exe)\n"
    "  --makensis FILE          the makensis to use (default: makensis on PATH)\n"
    "  --sign-command \"CMD {file}\"\n"
    "                           run on every .exe and .dll written, then on the uninstaller\n"
    "                           and the installer; {file} is the file's path\n"
    "  --help                   show this text\n";

namespace {

constexpr char kLoaderName[] = "WebView2Loader.dll";
constexpr char kNoticesName[] = "THIRD-PARTY-NOTICES.txt";
constexpr char kExtensionName[] = "Orvanta.dll";
constexpr char kLoaderExport[] = "CreateCoreWebView2EnvironmentWithOptions";
// Exported by this project's stand-in runtime (testing/standin): never shipped.
constexpr char kTestRuntimeMarker[] = "TessarineTestRuntimeNotForShipping";
constexpr char kSdkLoaderEntry[] = "build/native/x64/WebView2Loader.dll";
constexpr char kDefaultVersion[] = "1.0.0";
constexpr char kLoaderHelp[] =
    "no WebView2 loader given: ship needs Microsoft's WebView2Loader.dll. Give --webview2-sdk with the SDK "
    "package Microsoft.Web.WebView2 (a .nupkg file from NuGet), or --loader with the file "
    "build/native/x64/WebView2Loader.dll taken from it";

bool IsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stdout)) != 0;
#else
    return isatty(fileno(stdout)) != 0;
#endif
}

std::string Shown(const fs::path& path) {
    return path.u8string();
}

// A checked value: what ship found when it looked, before anything is written.
struct Plan {
    AppConfig config;
    ProductInfo product;
    std::string packageText;
    std::string host;    // rewritten
    std::string loader;  // bytes
    std::vector<IconImage> icon;
    std::string iconName;  // relative to the app folder, "/" separated; empty: none
    bool extension = false;
    bool fixedRuntime = false;
    fs::path existingBundle;  // www/assets.dat when the app has one
    fs::path zip;
    fs::path installer;
};

void Fail(const std::string& message) {
    throw std::runtime_error(message);
}

std::string ReadPackage(const fs::path& app) {
    const fs::path file = app / "package.json";
    std::error_code error;
    if (!fs::is_regular_file(file, error)) Fail(Shown(app) + " has no package.json: not an app folder");
    return ReadWholeFile(file);
}

// A package key the host does not read, for the version resource.
std::string PackageString(const nlohmann::json& package, const char* key, const std::string& fallback) {
    if (package.is_object() && package.contains(key) && !package[key].is_string()) {
        Fail(std::string("package.json: \"") + key + "\" must be a string");
    }
    return JsonGetString(package, key, fallback);
}

std::vector<std::string> CheckedExports(const fs::path& file, const std::string& shownName) {
    const PeFile library(ReadWholeFile(file), shownName);
    if (!library.IsDll()) Fail(shownName + ": not a library (DLL)");
    return library.ExportNames();
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string CheckLoader(const std::string& bytes, const std::string& shownName) {
    const PeFile loader(bytes, shownName);
    if (!loader.IsDll()) Fail(shownName + ": not a library (DLL)");
    const std::vector<std::string> exports = loader.ExportNames();
    if (Has(exports, kTestRuntimeMarker)) {
        Fail(shownName +
             ": this is Tessarine's test runtime, a stand-in for tests that is no browser; ship "
             "Microsoft's WebView2Loader.dll instead");
    }
    if (!Has(exports, kLoaderExport)) {
        Fail(shownName + std::string(": not a WebView2 loader (it does not export ") + kLoaderExport + ")");
    }
    return bytes;
}

std::string FindLoader(const ShipOptions& options) {
    if (!options.loader.empty() && !options.sdkPackage.empty())
        Fail("give either --loader or --webview2-sdk, not both");
    if (!options.loader.empty()) return CheckLoader(ReadWholeFile(options.loader), Shown(options.loader));
    if (options.sdkPackage.empty()) Fail(kLoaderHelp);
    const std::string shown = Shown(options.sdkPackage);
    std::optional<std::string> loader;
    try {
        loader = ReadZipEntry(ReadWholeFile(options.sdkPackage), kSdkLoaderEntry);
    } catch (const std::exception& error) {
        Fail(shown + ": not a WebView2 SDK package (" + error.what() + ")");
    }
    if (!loader) Fail(shown + ": not a WebView2 SDK package (it has no " + kSdkLoaderEntry + ")");
    return CheckLoader(*loader, shown + ":" + kSdkLoaderEntry);
}

// The start page's file in www\ (bundle mode): `main` without query and fragment.
void CheckStartPage(const fs::path& www, const Plan& plan) {
    std::string page = plan.config.main.substr(0, plan.config.main.find_first_of("?#"));
    if (page.empty()) Fail("package.json: \"main\" names no start page");
    std::replace(page.begin(), page.end(), '\\', '/');
    std::error_code error;
    if (fs::is_regular_file(www / fs::u8path(page), error)) return;
    if (!plan.existingBundle.empty() && BundleFile(plan.existingBundle).Bundle().Find(page) != nullptr) return;
    Fail("the start page " + page + " (\"main\" in package.json) is not in " + Shown(www) +
         (plan.existingBundle.empty() ? "" : " nor in its assets.dat"));
}

Plan Check(const ShipOptions& options, const fs::path& packerFolder) {
    Plan plan;
    std::error_code error;
    if (!fs::is_directory(options.app, error)) Fail("app folder not found: " + Shown(options.app));
    plan.packageText = ReadPackage(options.app);
    try {
        ParseAppConfig(plan.packageText, plan.config);
    } catch (const std::exception& reason) {
        Fail(
            "package.json: the host would refuse it with \"Failed to parse package.json. Check the file has valid JSON "
            "and that all parameters are correct.\" (" +
            std::string(reason.what()) + ")");
    }
    const nlohmann::json package = nlohmann::json::parse(plan.packageText.c_str(), nullptr, false, false);
    const nlohmann::json window = package.is_object() ? package.value("window", nlohmann::json()) : nlohmann::json();

    ProductInfo& product = plan.product;
    product.productName = JsonGetString(window, "title", plan.config.name);
    product.description = PackageString(package, "description", product.productName);
    product.publisher = PackageString(package, "publisher", "");
    product.copyright = PackageString(package, "copyright", "");
    product.version = PackageString(package, "version", kDefaultVersion);
    try {
        ParseVersion(product.version);
    } catch (const std::exception& reason) {
        Fail(std::string("package.json: ") + reason.what());
    }
    product.fileName = SafeExeName(options.exeName.empty() ? plan.config.name : options.exeName);

    const fs::path www = options.app / "www";
    if (fs::is_regular_file(www / "assets.dat", error)) {
        plan.existingBundle = www / "assets.dat";
        try {
            BundleFile check(plan.existingBundle);
        } catch (const std::exception& reason) {
            Fail(Shown(plan.existingBundle) + ": not a readable asset bundle (" + reason.what() + ")");
        }
    }
    if (plan.config.contentMode == ContentMode::Bundle) {
        if (!fs::is_directory(www, error)) Fail(Shown(options.app) + " has no www folder");
        CheckStartPage(www, plan);
    }

    if (!plan.config.icon.empty()) {
        plan.iconName = plan.config.icon;
        std::replace(plan.iconName.begin(), plan.iconName.end(), '\\', '/');
        const std::string unsafe = UnsafeEntryNameReason(plan.iconName);
        if (!unsafe.empty()) Fail("icon " + plan.config.icon + " cannot be shipped: " + unsafe);
        const fs::path iconFile = options.app / fs::u8path(plan.iconName);
        if (!fs::is_regular_file(iconFile, error))
            Fail("icon " + Shown(iconFile) + " not found (\"icon\" in package.json)");
        plan.icon = LoadIconImages(iconFile, Shown(iconFile));
    }

    plan.fixedRuntime = plan.config.distributionMode == DistributionMode::Fixed;
    if (plan.fixedRuntime && !fs::is_regular_file(options.app / "webview2" / "msedgewebview2.exe", error)) {
        Fail(Shown(options.app / "webview2" / "msedgewebview2.exe") +
             R"( not found: the package asks for the "fixed" runtime, a copy of the WebView2 runtime in webview2\)");
    }
    const fs::path extension = options.app / kExtensionName;
    plan.extension = fs::exists(extension, error);
    if (plan.extension) {
        const std::vector<std::string> exports = CheckedExports(extension, Shown(extension));
        for (const char* entry : {"Init", "Release", "OnMainWindowCreated", "OnExtensionMessage"}) {
            if (!Has(exports, entry)) {
                Fail(Shown(extension) + ": not an extension library (it does not export " + entry + ")");
            }
        }
    }

    plan.loader = FindLoader(options);
    const fs::path host = options.host.empty() ? packerFolder / "tessarine.exe" : options.host;
    if (!fs::is_regular_file(host, error)) {
        Fail("host not found: " + Shown(host) + (options.host.empty() ? " (give it with --host FILE)" : ""));
    }
    plan.host = RewriteHost(ReadWholeFile(host), Shown(host), plan.icon, product);

    if (fs::exists(options.out, error) && !(fs::is_directory(options.out, error) && fs::is_empty(options.out, error))) {
        Fail("output folder " + Shown(options.out) + " exists already and is not empty");
    }
    const std::string base = product.fileName.substr(0, product.fileName.size() - 4) + "-" + product.version;
    const fs::path beside = fs::absolute(options.out).parent_path();
    if (options.zip) plan.zip = beside / (base + "-win64.zip");
    if (options.installer) {
        plan.installer = beside / (base + "-setup.exe");
        if (!options.makensis.empty() && !fs::is_regular_file(options.makensis, error)) {
            Fail("makensis not found: " + Shown(options.makensis));
        }
        if (options.runtimeSetup == RuntimeSetup::Bootstrapper && !fs::is_regular_file(options.bootstrapper, error)) {
            Fail("WebView2 bootstrapper not found: " + Shown(options.bootstrapper));
        }
    }
    return plan;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fail("cannot write " + Shown(path));
}

void CopyFile(const fs::path& from, const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy_file(from, to);
}

// www\ as the host would serve it, in one bundle: the app's bundle's entries first (the
// host looks there first), then the loose files it does not hold.
// Returns the bundle's CRC-32, kept while it was written, for the zip.
uint32_t WriteBundle(const fs::path& www, const Plan& plan, const fs::path& target) {
    BundleWriter writer;
    std::vector<std::pair<std::string, fs::path>> files;
    std::map<std::string, std::string> bundled;
    if (!plan.existingBundle.empty()) {
        BundleFile bundle(plan.existingBundle);
        for (const BundleEntry& entry : bundle.Bundle().entries) {
            std::string& bytes = bundled[std::string(entry.name)];
            bundle.ReadEntry(entry, [&](const char* data, size_t length) { bytes.append(data, length); });
        }
    }
    for (const FolderFile& file : ListFolderFiles(www, {plan.existingBundle})) {
        if (!bundled.count(file.name)) files.emplace_back(file.name, file.path);
    }
    // One order by name for both kinds, as create makes it.
    size_t next = 0;
    for (auto& [name, bytes] : bundled) {
        while (next < files.size() && files[next].first < name) {
            writer.AddFile(files[next].first, files[next].second);
            ++next;
        }
        writer.AddBytes(name, std::move(bytes));
    }
    for (; next < files.size(); ++next) writer.AddFile(files[next].first, files[next].second);
    OutputFile out = OutputFile::Exclusive(target);
    Crc32PassThrough crc(out.Stream());
    std::ostream counted(&crc);
    writer.Write(counted);
    out.Commit(OutputFile::Durability::InCache);
    return crc.Crc();
}

void CopyTree(const fs::path& from, const fs::path& to) {
    for (const FolderFile& file : ListFolderFiles(from, {})) CopyFile(file.path, to / fs::u8path(file.name));
}

// A fresh folder beside `target`, for writing into before it takes the target's name.
fs::path NewStagingFolder(const fs::path& target) {
    std::random_device random;
    const fs::path absolute = fs::absolute(target);
    fs::create_directories(absolute.parent_path());
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path candidate = absolute.parent_path() /
                             (absolute.filename().u8string() + ".partial-" + std::to_string(random() % 1000000));
        if (fs::create_directory(candidate)) return candidate;
    }
    Fail("cannot make a working folder beside " + Shown(target));
    return {};
}

// Removes what it holds unless released.
class Cleanup {
public:
    ~Cleanup() {
        std::error_code ignored;
        for (const fs::path& path : paths_) fs::remove_all(path, ignored);
    }
    void Add(const fs::path& path) { paths_.push_back(path); }
    void Release() { paths_.clear(); }

private:
    std::vector<fs::path> paths_;
};

class Progress {
public:
    Progress() : shown_(IsTerminal()) {}
    void Stage(const std::string& what) {
        if (shown_) std::cout << "  " << what << std::endl;
    }

private:
    bool shown_;
};

uint64_t FolderBytes(const fs::path& folder, size_t& count) {
    uint64_t total = 0;
    count = 0;
    for (const FolderFile& file : ListFolderFiles(folder, {})) {
        total += fs::file_size(file.path);
        ++count;
    }
    return total;
}

std::string Mebibytes(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
    return text;
}

void Sign(const ShipOptions& options, const fs::path& file) {
    if (options.signCommand.empty()) return;
    RunCommand(CommandForFile(options.signCommand, file), "signing " + Shown(file));
}

}  // namespace

std::string SafeExeName(const std::string& name) {
    std::string safe;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool forbidden = byte < 0x20 || std::string("<>:\"/\\|?*").find(c) != std::string::npos;
        safe += forbidden ? '_' : c;
    }
    safe = std::string(TrimTrailingDotsAndSpaces(safe));
    safe.erase(0, std::min(safe.find_first_not_of(' '), safe.size()));
    if (safe.empty()) safe = "App";
    if (IsWindowsDeviceName(safe)) safe += '_';
    return safe + ".exe";
}

ShipOptions ParseShipArguments(const std::vector<fs::path>& args) {
    ShipOptions options;
    std::vector<fs::path> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i].u8string();
        auto value = [&]() -> const fs::path& {
            if (i + 1 >= args.size()) throw std::invalid_argument(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--loader") {
            options.loader = value();
        } else if (arg == "--webview2-sdk") {
            options.sdkPackage = value();
        } else if (arg == "--exe-name") {
            options.exeName = value().u8string();
        } else if (arg == "--host") {
            options.host = value();
        } else if (arg == "--makensis") {
            options.makensis = value();
        } else if (arg == "--sign-command") {
            options.signCommand = value().u8string();
            if (options.signCommand.find("{file}") == std::string::npos) {
                throw std::invalid_argument("--sign-command needs {file} where the file's path goes");
            }
        } else if (arg == "--webview2") {
            const std::string mode = value().u8string();
            if (mode == "skip") {
                options.runtimeSetup = RuntimeSetup::Skip;
            } else if (mode == "bootstrapper") {
                options.runtimeSetup = RuntimeSetup::Bootstrapper;
                options.bootstrapper = value();
            } else {
                throw std::invalid_argument(R"(--webview2 takes "skip" or "bootstrapper FILE")");
            }
        } else if (arg == "--loose") {
            options.loose = true;
        } else if (arg == "--zip") {
            options.zip = true;
        } else if (arg == "--installer") {
            options.installer = true;
        } else if (arg == "--per-machine") {
            options.perMachine = true;
        } else if (arg == "--desktop-shortcut") {
            options.desktopShortcut = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw std::invalid_argument("unknown option '" + arg + "'");
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) throw std::invalid_argument("'ship' takes an app folder and an output folder");
    options.app = positional[0];
    options.out = positional[1];
    if ((options.perMachine || options.desktopShortcut || !options.bootstrapper.empty()) && !options.installer) {
        throw std::invalid_argument("--per-machine, --desktop-shortcut and --webview2 go with --installer");
    }
    return options;
}

void RunShip(const ShipOptions& options, const fs::path& packerFolder) {
    Progress progress;
    progress.Stage("checking " + Shown(options.app));
    const Plan plan = Check(options, packerFolder);

    Cleanup cleanup;
    // Folders this run makes on the way to the output go again with it on failure.
    fs::path missing;
    std::error_code error;
    for (fs::path at = fs::absolute(options.out).parent_path(); !at.empty() && !fs::exists(at, error);
         at = at.parent_path()) {
        missing = at;
        if (at == at.parent_path()) break;
    }
    if (!missing.empty()) cleanup.Add(missing);
    const fs::path staging = NewStagingFolder(options.out);
    cleanup.Add(staging);
    const std::string& exeName = plan.product.fileName;
    progress.Stage("writing " + exeName + ", " + kLoaderName + ", package.json and " + kNoticesName);
    WriteBytes(staging / fs::u8path(exeName), plan.host);
    WriteBytes(staging / kLoaderName, plan.loader);
    WriteBytes(staging / "package.json", plan.packageText);
    WriteBytes(staging / kNoticesName, kThirdPartyNotices);
    if (!plan.iconName.empty()) CopyFile(options.app / fs::u8path(plan.iconName), staging / fs::u8path(plan.iconName));
    if (plan.extension) CopyFile(options.app / kExtensionName, staging / kExtensionName);
    if (fs::is_directory(options.app / "webview2", error)) {
        progress.Stage("copying the fixed WebView2 runtime");
        CopyTree(options.app / "webview2", staging / "webview2");
    }
    const fs::path www = options.app / "www";
    std::map<std::string, uint32_t> knownCrcs;  // by name in the folder
    if (fs::is_directory(www, error)) {
        if (options.loose) {
            progress.Stage("copying www");
            CopyTree(www, staging / "www");
        } else {
            progress.Stage("packing www into www/assets.dat");
            fs::create_directories(staging / "www");
            knownCrcs["www/assets.dat"] = WriteBundle(www, plan, staging / "www" / "assets.dat");
        }
    }
    std::vector<fs::path> binaries;
    for (const FolderFile& file : ListFolderFiles(staging, {})) {
        std::string lower = file.name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        const std::string extension = lower.size() >= 4 ? lower.substr(lower.size() - 4) : "";
        if (extension == ".exe" || extension == ".dll") binaries.push_back(file.path);
    }
    if (!options.signCommand.empty()) progress.Stage("signing " + std::to_string(binaries.size()) + " programs");
    for (const fs::path& binary : binaries) Sign(options, binary);

    // An empty output folder the checks allowed gives way to the finished one.
    if (fs::exists(options.out, error)) fs::remove(options.out);
    fs::rename(staging, options.out);
    cleanup.Add(options.out);
    size_t files = 0;
    const uint64_t bytes = FolderBytes(options.out, files);
    std::string summary =
        "Shipped " + std::to_string(files) + " files (" + Mebibytes(bytes) + ") to " + Shown(options.out);

    if (options.zip) {
        progress.Stage("writing " + Shown(plan.zip));
        OutputFile out = OutputFile::Temporary(plan.zip);
        ZipWriter zip(out, ReproducibleTime());
        const std::string top = exeName.substr(0, exeName.size() - 4) + "/";
        for (const FolderFile& file : ListFolderFiles(options.out, {})) {
            const auto known = knownCrcs.find(file.name);
            zip.AddFile(top + file.name, file.path,
                        known == knownCrcs.end() ? std::nullopt : std::optional<uint32_t>(known->second));
        }
        const uint64_t length = zip.Finish();
        out.Commit(OutputFile::Durability::InCache);
        cleanup.Add(plan.zip);
        summary += ", " + Shown(plan.zip) + " (" + Mebibytes(length) + ")";
    }
    if (options.installer) {
        progress.Stage("building " + Shown(plan.installer) + " with makensis");
        InstallerInputs inputs;
        inputs.folder = fs::absolute(options.out);
        inputs.workFolder = NewStagingFolder(plan.installer);
        cleanup.Add(inputs.workFolder);
        inputs.output = inputs.workFolder / plan.installer.filename();
        inputs.makensis = options.makensis;
        inputs.appId = plan.config.name;
        inputs.displayName = plan.product.productName;
        inputs.exeName = exeName;
        inputs.version = plan.product.version;
        inputs.publisher = plan.product.publisher;
        inputs.installedBytes = bytes;
        inputs.perMachine = options.perMachine;
        inputs.desktopShortcut = options.desktopShortcut;
        inputs.checkRuntime = !plan.fixedRuntime;
        inputs.bootstrapper =
            options.runtimeSetup == RuntimeSetup::Bootstrapper ? fs::absolute(options.bootstrapper) : fs::path();
        inputs.signCommand = options.signCommand;
        BuildInstaller(inputs);
        Sign(options, inputs.output);
        fs::rename(inputs.output, plan.installer);
        cleanup.Add(plan.installer);
        summary += ", " + Shown(plan.installer) + " (" + Mebibytes(fs::file_size(plan.installer)) + ")";
        fs::remove_all(inputs.workFolder);
    }
    cleanup.Release();
    std::cout << summary << std::endl;
}
