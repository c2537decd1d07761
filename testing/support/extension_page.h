// A page side for the extension manager's tests: records what is posted, answers
// one folder placeholder, and can post again from inside a post as a library
// answering a message would. Plus the calls the test library recorded.
#pragma once

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "extensions/extension_manager.h"
#include "support/temp_folder.h"

namespace test_support {

class RecordingPage final : public ExtensionPage {
public:
    void PostToPage(const std::string& json) override {
        posts.push_back(json);
        if (onPost) onPost(json);
    }
    // The page side's folder table, replaced in place as a repeated handshake does.
    const std::string* FindFolderPath(const std::string& placeholder) const override {
        return placeholder == "<documents>" ? &documents : nullptr;
    }
    std::vector<std::string> posts;
    std::function<void(const std::string&)> onPost;
    std::string documents;
};

// The names of the calls the test library has recorded in the folder's record.jsonl.
inline std::vector<std::string> RecordedCalls(const TempFolder& folder) {
    std::vector<std::string> calls;
    std::ifstream record(folder.Wide(L"record.jsonl").c_str());
    for (std::string line; std::getline(record, line);) calls.push_back(nlohmann::json::parse(line)["call"]);
    return calls;
}

}  // namespace test_support
