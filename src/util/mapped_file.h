// Windows-only. A whole file mapped read-only: one type for the asset bundle and
// for the folder files the content server maps for partial answers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "util/win_handles.h"

// The members let go in reverse order: the view, then the mapping, then the file.
struct MappedFile {
    UniqueHandle file;
    UniqueHandle mapping;
    MappedView view;
    uint64_t size = 0;  // the file's length when it was opened

    MappedFile() = default;
    MappedFile(MappedFile&&) = default;
    MappedFile& operator=(MappedFile&& other) noexcept {
        if (this != &other) {
            Close();
            file = std::move(other.file);
            mapping = std::move(other.mapping);
            view = std::move(other.view);
            size = other.size;
        }
        return *this;
    }

    const uint8_t* data() const { return static_cast<const uint8_t*>(view.get()); }
    // Unmaps the view, then closes the mapping, then the file; each only if held.
    void Close();
};

// A mapping shared by everyone who reads it: the host, the content server's cache
// and every response body made from it. The count is atomic, so a body released
// on the browser's own thread may be the one that closes it.
using SharedMappedFile = std::shared_ptr<const MappedFile>;

// Opens a UTF-8 path for reading, shared with readers only (nobody may write it
// while it is mapped), and maps all of it. On failure the view is empty and the
// handles obtained before the failing step are kept: the caller decides how long.
MappedFile OpenMappedFile(const std::string& path);
