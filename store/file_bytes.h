#pragma once

#include <filesystem>
#include <string>

namespace velmira {

enum class FileReadStatus { Read, Missing, Unreadable };

struct FileBytes {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes;
};

// The whole content of a regular file. A folder, a device or a pipe counts as
// unreadable, so reading never blocks.
[[nodiscard]] FileBytes ReadFileBytes(const std::filesystem::path& path);

}  // namespace velmira
