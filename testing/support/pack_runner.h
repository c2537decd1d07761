// Runs the tessarine-pack executable (POSIX builds) in a scratch folder of its own and
// reads and writes the files around it.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace test_support {

struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every regular file below the folder, by generic relative name.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_u8string()] = ReadFile(entry);
    }
    return files;
}

// A tree to pack, by relative name: 40 files of growing sizes in seven folders, names
// that only look unusual (device-like, dotted, non-ASCII), an empty file and a file
// of 3 MiB + 5 bytes (`large`), beyond the packer's copy buffer.
inline std::map<std::string, std::string> SampleTree(const std::string& large) {
    std::map<std::string, std::string> files;
    for (int i = 0; i < 40; ++i) {
        files["sub" + std::to_string(i % 7) + "/file" + std::to_string(i) + (i % 2 ? ".js" : ".png")] =
            std::string(static_cast<size_t>(i * 37), static_cast<char>(i));
    }
    for (const char* name : {"index.html", "empty.txt", "B upper.txt", ".hidden", "a..b", "..a/b..c", "con-fig.txt",
                             "com10.txt", "\xC3\xBCml\xC3\xA4ut/\xE6\x97\xA5\xE6\x9C\xAC.json"}) {
        files[name] = name;
    }
    files["empty.txt"] = "";
    files["media/large.bin"] = large;
    return files;
}

inline std::string LargeFile() {
    std::string large(3 * (1 << 20) + 5, '\0');
    for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i % 251);
    return large;
}

class PackRunner {
public:
    PackRunner(std::string executable, const std::string& name)
        : executable_(std::move(executable)),
          root_(std::filesystem::temp_directory_path() /
                ("tessarine-pack-" + std::to_string(::getpid()) + "-" + name)) {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    ~PackRunner() { std::filesystem::remove_all(root_); }

    // A path inside the scratch folder.
    std::string At(const std::string& relative) const { return (root_ / std::filesystem::u8path(relative)).string(); }

    // Standard output goes to `out` when given (a device, say), else it is captured.
    ToolResult Run(const std::vector<std::string>& args, const std::string& out = "") const {
        std::string command = Quote(executable_);
        for (const std::string& arg : args) command += " " + Quote(arg);
        const std::string captured = At("stdout.txt");
        command += " >" + Quote(out.empty() ? captured : out) + " 2>" + Quote(At("stderr.txt"));
        const int status = std::system(command.c_str());
        ToolResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(captured), ReadFile(At("stderr.txt"))};
        std::filesystem::remove(captured);
        std::filesystem::remove(At("stderr.txt"));
        return result;
    }

private:
    static std::string Quote(const std::string& text) {
        std::string quoted = "'";
        for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }

    std::string executable_;
    std::filesystem::path root_;
};

}  // namespace test_support
