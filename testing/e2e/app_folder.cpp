#include "app_folder.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <stdexcept>

#include "bundle/bundle_writer.h"
#include "util/text_convert.h"

namespace e2e {

namespace fs = std::filesystem;

namespace {

fs::path E2eRoot() {
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(L"TESSARINE_E2E_ROOT", value, MAX_PATH * 2);
    if (length > 0 && length < MAX_PATH * 2) return fs::path(value);
    return fs::temp_directory_path();
}

bool KeepFolders() {
    return GetEnvironmentVariableW(L"TESSARINE_E2E_KEEP", nullptr, 0) > 0;
}

// Labels come from test names; keep only what is safe in a file name.
std::wstring SafeLabel(const std::string& label) {
    std::wstring safe;
    for (char c : label) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        safe += plain ? static_cast<wchar_t>(c) : L'_';
    }
    return safe.substr(0, 60);
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + WideToUtf8(path.wstring()));
}

}  // namespace

fs::path RunnerFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return fs::path(path).parent_path();
}

fs::path HostFolder() {
    return RunnerFolder().parent_path() / L"bin";
}

AppFolder::AppFolder(const std::string& label) {
    static std::atomic<int> counter{0};
    const std::wstring name = L"tessarine-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter) + L"-" + SafeLabel(label);
    base_ = E2eRoot() / name;
    std::error_code ignored;
    fs::remove_all(base_, ignored);
    app_ = base_ / L"app";
    fs::create_directories(app_);
}

AppFolder::~AppFolder() {
    if (KeepFolders()) return;
    std::error_code ignored;
    fs::remove_all(base_, ignored);
}

void AppFolder::WritePackageJson(const std::string& text) const {
    WriteAll(app_ / L"package.json", text);
}

void AppFolder::WriteFile(const std::string& relativePath, const std::string& bytes) const {
    std::wstring relative = Utf8ToWide(relativePath);
    for (wchar_t& c : relative) {
        if (c == L'/') c = L'\\';
    }
    WriteAll(app_ / relative, bytes);
}

void AppFolder::WriteBundle(const std::vector<std::pair<std::string, std::string>>& files) const {
    BundleWriter writer;
    for (const auto& [name, bytes] : files) writer.AddBytes(name, bytes);
    const fs::path path = app_ / L"www" / L"assets.dat";
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    writer.Write(out);
    out.close();
    if (!out) throw std::runtime_error("cannot write " + WideToUtf8(path.wstring()));
}

void AppFolder::CopyHost(bool withLoader) const {
    fs::copy_file(HostFolder() / L"tessarine.exe", app_ / L"tessarine.exe", fs::copy_options::overwrite_existing);
    if (withLoader) {
        fs::copy_file(RunnerFolder() / L"WebView2Loader.dll", app_ / L"WebView2Loader.dll",
                      fs::copy_options::overwrite_existing);
    }
}

void AppFolder::CopyFromRunner(const std::string& fileName, const std::string& as) const {
    fs::copy_file(RunnerFolder() / Utf8ToWide(fileName), app_ / Utf8ToWide(as), fs::copy_options::overwrite_existing);
}

}  // namespace e2e
