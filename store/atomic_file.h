#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace velmira {

// Gives the file name (without folder) of a fresh temporary file to try.
using TemporaryNameSource = std::function<std::string()>;

// Replaces the content of the file at `path` all or nothing: the bytes go into a new
// file in the same folder, reach the disk, and are renamed over the old file, so a
// crash, a full disk or a power cut leaves either the old or the new content. The
// temporary file is created exclusively, so a link planted under its name is never
// followed, and it never stays behind.
//
// Like the Windows profile functions, it creates a missing file but never a folder, and
// it leaves alone a file that may not be written: one without any write permission bit
// (even for root) or one that this process may not write. A replaced file keeps its
// permission bits; a symbolic link at `path` has its target replaced.
//
// Returns whether the content was replaced; failures leave the old file intact.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// As above, taking the temporary names to try from `nextTemporaryName`.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                         const TemporaryNameSource& nextTemporaryName);

// A hidden name beside `fileName` with a random part: ".1.ini.3f9a0c2e71d4b85a.tmp".
[[nodiscard]] std::string RandomTemporaryName(std::string_view fileName);

}  // namespace velmira
