#include "extension_folder.h"

#include <windows.h>

#include <fstream>
#include <stdexcept>

namespace {

constexpr wchar_t configVariable[] = L"TESSARINE_TEST_EXTENSION_CONFIG";
constexpr wchar_t recordVariable[] = L"TESSARINE_TEST_EXTENSION_RECORD";

std::filesystem::path ProgramFolder() {
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    return std::filesystem::path(buffer).parent_path();
}

}  // namespace

ExtensionFolder::ExtensionFolder() {
    static int count = 0;
    // Not ASCII on purpose: the folder travels as UTF-8 and back to UTF-16.
    const std::wstring name = L"tessarine-extension-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++count) + L"-Gr\u00fc\u00dfe";
    path_ = std::filesystem::temp_directory_path() / name;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    if (!std::filesystem::create_directories(path_, error)) {
        throw std::runtime_error("cannot create the test folder");
    }
    SetEnvironmentVariableW(recordVariable, (path_ / L"record.jsonl").c_str());
    SetEnvironmentVariableW(configVariable, nullptr);
}

ExtensionFolder::~ExtensionFolder() {
    SetEnvironmentVariableW(recordVariable, nullptr);
    SetEnvironmentVariableW(configVariable, nullptr);
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::string ExtensionFolder::AppFolder() const {
    return path_.u8string() + "\\";
}

void ExtensionFolder::InstallLibrary(const std::wstring& builtName) const {
    std::filesystem::copy_file(ProgramFolder() / builtName, path_ / L"Orvanta.dll",
                               std::filesystem::copy_options::overwrite_existing);
}

void ExtensionFolder::Configure(const std::string& configText) const {
    const std::filesystem::path file = path_ / L"config.json";
    std::ofstream(file, std::ios::binary) << configText;
    SetEnvironmentVariableW(configVariable, file.c_str());
}

std::vector<nlohmann::json> ExtensionFolder::Records() const {
    std::vector<nlohmann::json> records;
    std::ifstream file(path_ / L"record.jsonl", std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty()) records.push_back(nlohmann::json::parse(line));
    }
    return records;
}
