#include "shell_launches.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "app_folder.h"
#include "local_actions.h"

namespace e2e {

namespace fs = std::filesystem;

ShellLaunches::ShellLaunches(const fs::path& folder, const std::vector<std::wstring>& schemes,
                             const std::wstring& extension, const std::wstring& fileClass)
    : folder_(folder) {
    fs::create_directories(folder_);
    const std::wstring recorder = (RunnerFolder() / L"e2e_shell_recorder.exe").wstring();
    const std::wstring command = L"\"" + recorder + L"\" \"" + folder_.wstring() + L"\" \"%1\"";
    for (const std::wstring& scheme : schemes) ready_ = classes_.SetOpenCommand(scheme, command) && ready_;
    ready_ = classes_.SetOpenCommand(fileClass, command) && classes_.SetDefault(extension, fileClass) && ready_;
}

std::vector<std::string> ShellLaunches::Await(size_t count) {
    const auto read = [this] {
        std::vector<std::string> launches;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(folder_, ignored)) {
            launches.push_back(ReadWholeFile(entry.path()));
        }
        std::sort(launches.begin(), launches.end());
        return launches;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (read().size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const std::vector<std::string> launches = read();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    return launches;
}

}  // namespace e2e
