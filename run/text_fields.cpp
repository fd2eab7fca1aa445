#include "run/text_fields.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace velmira {
namespace {

// "#引号" in a marker stands for a double quote, which a marker could not otherwise carry.
constexpr std::string_view kQuoteEscape = "#\xD2\xFD\xBA\xC5";  // #引号

[[nodiscard]] bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

[[nodiscard]] char FoldAsciiCase(char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
}

[[nodiscard]] std::string ExpandQuoteEscapes(std::string_view marker) {
    std::string expanded;
    expanded.reserve(marker.size());
    std::size_t from = 0;
    for (std::size_t found = marker.find(kQuoteEscape); found != std::string_view::npos;
         found = marker.find(kQuoteEscape, from)) {
        expanded.append(marker.substr(from, found - from));
        expanded.push_back('"');
        from = found + kQuoteEscape.size();
    }
    expanded.append(marker.substr(from));
    return expanded;
}

[[nodiscard]] bool MatchesAt(std::string_view text, std::size_t position, std::string_view marker) {
    if (text.size() - position < marker.size()) return false;
    for (std::size_t i = 0; i < marker.size(); ++i) {
        if (FoldAsciiCase(text[position + i]) != FoldAsciiCase(marker[i])) return false;
    }
    return true;
}

// Moves one GBK character at a time, so a match never starts on a trail byte. A lead
// byte with nothing after it is a cut-off character and ends the search.
[[nodiscard]] std::optional<std::size_t> FindMarker(std::string_view text,
                                                    std::string_view marker) {
    if (text.empty()) return std::nullopt;
    if (marker.empty()) return 0;
    for (std::size_t position = 0; position < text.size();) {
        const bool lead = IsLeadByte(text[position]);
        if (lead && position + 1 == text.size()) break;
        if (MatchesAt(text, position, marker)) return position;
        position += lead ? 2 : 1;
    }
    return std::nullopt;
}

// Full-width forms A3 A1..A3 FE become their ASCII characters and the ideographic
// space a plain space, so that numbers typed with a Chinese input method read as usual.
[[nodiscard]] std::string NarrowFullWidthForms(std::string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const auto lead = static_cast<unsigned char>(text[position]);
        if (lead < 0x80 || position + 1 == text.size()) {
            narrow.push_back(text[position]);
            ++position;
            continue;
        }
        const auto trail = static_cast<unsigned char>(text[position + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            narrow.push_back(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            narrow.push_back(' ');
        } else {
            narrow.append(text.substr(position, 2));
        }
        position += 2;
    }
    return narrow;
}

[[nodiscard]] bool IsLeadingSpace(char byte) {
    return byte == ' ' || (byte >= '\x09' && byte <= '\x0D');
}

[[nodiscard]] bool IsDigit(char byte) { return byte >= '0' && byte <= '9'; }

}  // namespace

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right) {
    const std::string leftMarker = ExpandQuoteEscapes(left);
    const std::string rightMarker = ExpandQuoteEscapes(right);
    const std::optional<std::size_t> leftAt = FindMarker(text, leftMarker);
    if (!leftAt) return {};
    const std::string_view remainder = text.substr(*leftAt + leftMarker.size());
    const std::optional<std::size_t> rightAt = FindMarker(remainder, rightMarker);
    if (!rightAt) return {};
    return std::string(remainder.substr(0, *rightAt));
}

std::int32_t TextToInteger(std::string_view text) {
    const std::string narrow = NarrowFullWidthForms(text);
    std::size_t position = 0;
    while (position < narrow.size() && IsLeadingSpace(narrow[position])) ++position;

    bool negative = false;
    if (position < narrow.size() && (narrow[position] == '+' || narrow[position] == '-')) {
        negative = narrow[position] == '-';
        ++position;
    }

    // The magnitude stops growing once it is past every 32-bit value, so any number of
    // digits saturates instead of overflowing.
    constexpr std::int64_t kPastRange = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    std::int64_t magnitude = 0;
    for (; position < narrow.size() && IsDigit(narrow[position]); ++position) {
        if (magnitude < kPastRange) magnitude = magnitude * 10 + (narrow[position] - '0');
    }

    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace velmira
