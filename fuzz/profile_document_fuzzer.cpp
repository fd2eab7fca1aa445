// Arbitrary bytes as profile text, names and values: reads and writes must never
// crash, and for names the format can hold, a write must read back and must leave
// every other key as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/gbk_characters.h"
#include "store/profile_document.h"

namespace {

using velmira::EqualIgnoringAsciiCase;
using velmira::GbkCharacterLength;
using velmira::ProfileDocument;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// A name the profile format can hold unambiguously: no blanks at its ends, no bytes that
// start or end a section, an entry or a comment, and well-formed GBK.
bool IsPlainName(std::string_view name) {
    if (name.empty() || IsBlank(name.front()) || IsBlank(name.back())) return false;
    for (std::size_t i = 0; i < name.size(); i += GbkCharacterLength(name, i)) {
        if (GbkCharacterLength(name, i) == 2) continue;
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x20 || byte >= 0x7F ||
            std::string_view("[]=;").find(name[i]) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The name as a lookup sees it.
std::string_view NormalisedName(std::string_view name) {
    return TrimBlanks(name.substr(0, name.find('\0')));
}

std::string_view ReadBackOf(std::string_view value) {
    return TrimBlanks(value.substr(0, value.find_first_of(std::string_view("\0\r\n", 3))));
}

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::string section = data.ConsumeRandomLengthString(64);
    const std::string key = data.ConsumeRandomLengthString(64);
    const std::string value = data.ConsumeRandomLengthString(256);
    const std::string otherSection = data.ConsumeRandomLengthString(64);
    const std::string otherKey = data.ConsumeRandomLengthString(64);
    const std::string text = data.ConsumeRemainingBytesAsString();

    const ProfileDocument original(text);
    const std::string otherBefore = original.ReadValue(otherSection, otherKey);
    (void)original.ReadValue(section, key);

    ProfileDocument written(text);
    written.WriteValue(section, key, value);
    const std::string otherAfter = written.ReadValue(otherSection, otherKey);

    if (!IsPlainName(NormalisedName(section)) || !IsPlainName(NormalisedName(key))) return 0;
    Require(written.ReadValue(section, key) == ReadBackOf(value));

    ProfileDocument writtenTwice(written.Bytes());
    writtenTwice.WriteValue(section, key, value);
    Require(writtenTwice.Bytes() == written.Bytes());

    const bool sameEntry =
        EqualIgnoringAsciiCase(NormalisedName(section), NormalisedName(otherSection)) &&
        EqualIgnoringAsciiCase(NormalisedName(key), NormalisedName(otherKey));
    if (!sameEntry) Require(otherAfter == otherBefore);
    return 0;
}
