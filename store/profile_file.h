#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace velmira {

class ProfileDocument;

// Values come back through a buffer of this many bytes with a terminating zero, so a
// longer value is cut to one byte less.
inline constexpr std::size_t kProfileReadBufferSize = 10240;

// One value from a profile file, by the rules of ProfileDocument; the file is opened,
// read and closed on every call. Leading bytes up to 0x20 are skipped in the path, the
// section and the key, and if one of them is then empty the file is not touched. A
// missing or unreadable file gives the empty text.
[[nodiscard]] std::string ReadProfileValue(const std::filesystem::path& path,
                                           std::string_view section, std::string_view key);

// Writes one value by the rules of ProfileDocument and replaces the file atomically.
// The file is created if its folder exists; nothing else is created. A file that cannot
// be read or written is left as it is. Failures are silent.
void WriteProfileValue(const std::filesystem::path& path, std::string_view section,
                       std::string_view key, std::string_view value);

// Applies `edit` to the file's text in memory, then replaces the file atomically with
// the result: several writes land together or not at all, and the bytes equal what the
// same writes done one by one with WriteProfileValue would give. Same failure rules.
void EditProfileFile(const std::filesystem::path& path,
                     const std::function<void(ProfileDocument&)>& edit);

// The path with its leading bytes up to 0x20 skipped, as the profile functions see it.
[[nodiscard]] std::filesystem::path ProfilePath(const std::filesystem::path& path);

}  // namespace velmira
