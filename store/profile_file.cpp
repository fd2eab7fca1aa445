#include "store/profile_file.h"

#include <utility>

#include "store/atomic_file.h"
#include "store/file_bytes.h"
#include "store/profile_document.h"

namespace velmira {
namespace {

std::string_view SkipLeadingBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
    return text;
}

bool IsEmptyName(std::string_view name) {
    return SkipLeadingBlanks(name.substr(0, name.find('\0'))).empty();
}

}  // namespace

std::filesystem::path ProfilePath(const std::filesystem::path& path) {
    return std::filesystem::path(std::string(SkipLeadingBlanks(path.native())));
}

std::string ReadProfileValue(const std::filesystem::path& path, std::string_view section,
                             std::string_view key) {
    try {
        const std::filesystem::path filePath = ProfilePath(path);
        if (filePath.empty() || IsEmptyName(section) || IsEmptyName(key)) return {};
        const FileBytes file = ReadFileBytes(filePath);
        if (file.status != FileReadStatus::Read) return {};
        std::string value = ProfileDocument(file.bytes).ReadValue(section, key);
        if (value.size() >= kProfileReadBufferSize) value.resize(kProfileReadBufferSize - 1);
        return value;
    } catch (const std::exception&) {
        return {};
    }
}

void EditProfileFile(const std::filesystem::path& path,
                     const std::function<void(ProfileDocument&)>& edit) {
    try {
        const std::filesystem::path filePath = ProfilePath(path);
        if (filePath.empty()) return;
        FileBytes file = ReadFileBytes(filePath);
        // Rewriting a file we could not read would throw its content away.
        if (file.status == FileReadStatus::Unreadable) return;
        ProfileDocument document(std::move(file.bytes));
        edit(document);
        ReplaceFileContents(filePath, document.Bytes());
    } catch (const std::exception&) {
    }
}

void WriteProfileValue(const std::filesystem::path& path, std::string_view section,
                       std::string_view key, std::string_view value) {
    if (IsEmptyName(section) || IsEmptyName(key)) return;
    EditProfileFile(path,
                    [&](ProfileDocument& document) { document.WriteValue(section, key, value); });
}

}  // namespace velmira
