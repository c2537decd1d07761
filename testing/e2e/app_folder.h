// A fresh app folder per test: package.json, www files, an optional bundle, and the
// host with the stand-in browser runtime copied beside it (Windows-only).
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

class AppFolder {
public:
    // Creates <root>\tessarine-e2e-<pid>-<n>-<label>\app, the root being TESSARINE_E2E_ROOT
    // or the temp folder. Throws std::runtime_error when it cannot.
    explicit AppFolder(const std::string& label);
    // Removes the whole folder unless TESSARINE_E2E_KEEP is set.
    ~AppFolder();
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;

    // The test's own folder: the app folder and the run files live in it.
    const std::filesystem::path& Base() const { return base_; }
    // Where the exe and package.json go.
    const std::filesystem::path& App() const { return app_; }
    std::filesystem::path Exe() const { return app_ / L"tessarine.exe"; }

    // Writes package.json with exactly these bytes.
    void WritePackageJson(const std::string& text) const;
    // Writes a file below the app folder ('/' or '\' separated), creating its folders.
    void WriteFile(const std::string& relativePath, const std::string& bytes) const;
    // Writes www\assets.dat holding these (name, bytes) entries, in this order.
    void WriteBundle(const std::vector<std::pair<std::string, std::string>>& files) const;
    // Copies tessarine.exe from HostFolder and, unless withLoader is false, the stand-in
    // WebView2Loader.dll from the folder of the running program.
    void CopyHost(bool withLoader = true) const;
    // Copies a file of the running program's folder into the app folder under another name.
    void CopyFromRunner(const std::string& fileName, const std::string& as) const;

private:
    std::filesystem::path base_;
    std::filesystem::path app_;
};

// The folder of the running program (the build's test-bin\, with every test double).
std::filesystem::path RunnerFolder();
// The folder of what ships (the build's bin\: tessarine.exe and tessarine-pack.exe).
std::filesystem::path HostFolder();

}  // namespace e2e
