#pragma once

#include <filesystem>
#include <string>

// The packer's commands. Each prints its result to standard output and throws
// std::exception with a message for the user on failure.

// Packs every file below `folder` into the archive `target`, replacing it only
// once the new archive is complete.
void RunCreate(const std::filesystem::path& folder, const std::filesystem::path& target);
// One line per entry: name, length, MIME type, separated by tabs.
void RunList(const std::filesystem::path& archive);
// Loads the archive and prints "OK: N files".
void RunVerify(const std::filesystem::path& archive);
// Writes every entry below `folder`; refuses the whole archive if any name is unsafe,
// a link or junction is in the way, or (unless `force`) a file is already there.
void RunExtract(const std::filesystem::path& archive, const std::filesystem::path& folder, bool force = false);
// Writes the bytes of the entry `name` to standard output.
void RunCat(const std::filesystem::path& archive, const std::string& name);
// Parses APP_FOLDER/package.json as the host does; warns of unknown keys near known
// ones and of each folder the page may write. Throws when the host would refuse it.
void RunCheck(const std::filesystem::path& appFolder);
