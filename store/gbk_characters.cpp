#include "store/gbk_characters.h"

namespace velmira {
namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

bool IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t GbkCharacterLength(std::string_view text, std::size_t position) {
    if (position + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[position])) &&
        IsTrailByte(static_cast<unsigned char>(text[position + 1]))) {
        return 2;
    }
    return 1;
}

std::size_t FindGbkCharacter(std::string_view text, char c, std::size_t from) {
    for (std::size_t i = from; i < text.size(); i += GbkCharacterLength(text, i)) {
        if (text[i] == c && GbkCharacterLength(text, i) == 1) return i;
    }
    return std::string_view::npos;
}

std::size_t FindLastGbkCharacter(std::string_view text, char c) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += GbkCharacterLength(text, i)) {
        if (text[i] == c && GbkCharacterLength(text, i) == 1) last = i;
    }
    return last;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        const std::size_t length = GbkCharacterLength(a, i);
        if (length != GbkCharacterLength(b, i)) return false;
        if (length == 2) {
            if (a.substr(i, 2) != b.substr(i, 2)) return false;
        } else if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace velmira
