#include "store/profile_document.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "store/gbk_characters.h"

namespace velmira {
namespace {

constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view SkipLeadingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

// Trail bytes of GBK are never below 0x40, so cutting blanks at the end never splits a
// character.
std::string_view TrimBlanks(std::string_view text) {
    text = SkipLeadingBlanks(text);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Names and values cross the Windows profile functions as zero-terminated strings.
std::string_view CutAtZero(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string_view NormalisedName(std::string_view name) { return TrimBlanks(CutAtZero(name)); }

std::string_view StorableValue(std::string_view value) {
    return value.substr(0, value.find_first_of(std::string_view("\0\r\n", 3)));
}

struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;  // before the line break
    std::size_t end = 0;         // after the line break
};

std::vector<Line> SplitLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        const std::size_t newline = bytes.find('\n', begin);
        Line line;
        line.begin = begin;
        if (newline == std::string_view::npos) {
            line.contentEnd = line.end = bytes.size();
        } else {
            line.end = newline + 1;
            line.contentEnd =
                (newline > begin && bytes[newline - 1] == '\r') ? newline - 1 : newline;
        }
        lines.push_back(line);
        begin = line.end;
    }
    return lines;
}

std::string_view Content(std::string_view bytes, const Line& line) {
    return bytes.substr(line.begin, line.contentEnd - line.begin);
}

std::optional<std::string_view> SectionName(std::string_view content) {
    const std::string_view text = SkipLeadingBlanks(content);
    if (text.empty() || text.front() != '[') return std::nullopt;
    const std::size_t close = FindGbkCharacter(text, ']', 1);
    return TrimBlanks(
        text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct Entry {
    std::string_view key;
    std::size_t valueBegin = 0;  // offset of the byte after '=' within the line
};

std::optional<Entry> EntryOf(std::string_view content) {
    const std::string_view text = SkipLeadingBlanks(content);
    if (text.empty() || text.front() == ';' || text.front() == '[') return std::nullopt;
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Entry{TrimBlanks(content.substr(0, equals)), equals + 1};
}

// Where a section and a key of it stand in the text.
struct Location {
    std::optional<std::size_t> sectionLine;
    std::size_t lastFilledLineOfSection = 0;
    std::optional<std::size_t> keyLine;
    std::size_t valueBegin = 0;
};

Location Locate(std::string_view bytes, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
    Location location;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content = Content(bytes, lines[i]);
        if (const auto name = SectionName(content)) {
            if (location.sectionLine) break;
            if (EqualIgnoringAsciiCase(*name, section)) {
                location.sectionLine = location.lastFilledLineOfSection = i;
            }
            continue;
        }
        if (!location.sectionLine) continue;
        if (!TrimBlanks(content).empty()) location.lastFilledLineOfSection = i;
        const auto entry = EntryOf(content);
        if (!location.keyLine && entry && EqualIgnoringAsciiCase(entry->key, key)) {
            location.keyLine = i;
            location.valueBegin = lines[i].begin + entry->valueBegin;
        }
    }
    return location;
}

std::string EntryLine(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(kNewLine);
    return line;
}

}  // namespace

ProfileDocument::ProfileDocument(std::string bytes) : bytes_(std::move(bytes)) {}

std::string ProfileDocument::ReadValue(std::string_view section, std::string_view key) const {
    section = NormalisedName(section);
    key = NormalisedName(key);
    if (section.empty() || key.empty()) return {};
    const std::vector<Line> lines = SplitLines(bytes_);
    const Location location = Locate(bytes_, lines, section, key);
    if (!location.keyLine) return {};
    const Line& line = lines[*location.keyLine];
    const std::string_view value =
        std::string_view(bytes_).substr(location.valueBegin, line.contentEnd - location.valueBegin);
    return std::string(TrimBlanks(CutAtZero(value)));
}

void ProfileDocument::WriteValue(std::string_view section, std::string_view key,
                                 std::string_view value) {
    section = NormalisedName(section);
    key = NormalisedName(key);
    value = StorableValue(value);
    if (section.empty() || key.empty()) return;
    const std::vector<Line> lines = SplitLines(bytes_);
    const Location location = Locate(bytes_, lines, section, key);

    if (location.keyLine) {
        const Line& line = lines[*location.keyLine];
        bytes_.replace(location.valueBegin, line.contentEnd - location.valueBegin, value);
        return;
    }
    if (location.sectionLine) {
        const Line& anchor = lines[location.lastFilledLineOfSection];
        std::string insertion = EntryLine(key, value);
        if (anchor.end == anchor.contentEnd) insertion.insert(0, kNewLine);  // last line, no break
        bytes_.insert(anchor.end, insertion);
        return;
    }
    if (!bytes_.empty() && bytes_.back() != '\n') bytes_.append(kNewLine);
    bytes_.append("[").append(section).append("]").append(kNewLine);
    bytes_.append(EntryLine(key, value));
}

}  // namespace velmira
