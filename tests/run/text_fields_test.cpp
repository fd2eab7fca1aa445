#include "run/text_fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace velmira {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct BetweenCase {
    const char* name;
    std::string_view text;
    std::string_view left;
    std::string_view right;
    std::string_view expected;
};

void ExpectBetween(const BetweenCase& c) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextBetween(c.text, c.left, c.right), c.expected);
}

TEST(TextBetween, TakesTheTextBetweenTheFirstLeftMarkerAndTheNextRightMarker) {
    const BetweenCase cases[] = {
        {"plain", "a1b", "a", "b", "1"},
        {"first left marker wins", "a1ba2b", "a", "b", "1"},
        {"right marker is searched after the left one", "b0a1b", "a", "b", "1"},
        {"markers longer than one byte", "<<x>>", "<<", ">>", "x"},
        {"GBK markers",
         "12\xD0\xA1\xCA\xB1"
         "34\xB7\xD6",
         "\xD0\xA1\xCA\xB1", "\xB7\xD6", "34"},  // 12小时34分
        {"adjacent markers give empty text", "ab", "a", "b", ""},
        {"no left marker", "xyz", "a", "z", ""},
        {"no right marker", "a1", "a", "b", ""},
        {"left marker ends the text", "xa", "a", "b", ""},
        {"empty text", "", "a", "b", ""},
    };
    for (const BetweenCase& c : cases) ExpectBetween(c);
}

TEST(TextBetween, EmptyMarkerMatchesAtTheStartOfNonEmptyTextOnly) {
    const BetweenCase cases[] = {
        {"empty left marker starts at the first byte", "abc", "", "c", "ab"},
        {"empty right marker ends at once", "abc", "a", "", ""},
        {"both empty", "abc", "", "", ""},
        {"empty text", "", "", "", ""},
        {"empty remainder has no place for an empty right marker", "ab", "b", "", ""},
    };
    for (const BetweenCase& c : cases) ExpectBetween(c);
}

TEST(TextBetween, FoldsAsciiLetterCaseOnEveryByteAndNothingElse) {
    const BetweenCase cases[] = {
        {"capital marker finds small text", "Hello world!", "HELLO", "WORLD", " "},
        {"small marker finds capital text", "HELLO WORLD!", "hello", "world", " "},
        // 丄 is 81 41 and 乤 is 81 61: their trail bytes are "A" and "a".
        {"trail byte of a two-byte character",
         "\x81\x61"
         "12z",
         "\x81\x41", "Z", "12"},  // 乤12z
        {"brackets are not letters", "x{1]", "[", "]", ""},
        {"at sign and backquote are not letters", "`1@", "@", "`", ""},
        {"high bytes are never folded",
         "\xE1\xA1"
         "1|",
         "\xC1\xA1", "|", ""},
        {"high bytes compare exactly",
         "\xC1\xA1"
         "1\xE1\xA1",
         "\xC1\xA1", "\xC1\xA1", ""},
    };
    for (const BetweenCase& c : cases) ExpectBetween(c);
}

TEST(TextBetween, NeverMatchesInsideATwoByteCharacter) {
    const BetweenCase cases[] = {
        // 丄 (81 41) ends in "A": "AB" must not match from its trail byte.
        {"ASCII trail byte",
         "\x81\x41"
         "B5c",
         "AB", "c", ""},
        // 81 B7 then D6 41: the bytes B7 D6 of 分 straddle two characters.
        {"GBK marker across two characters",
         "\x81\xB7\xD6\x41"
         "7\xC3\xEB",
         "\xB7\xD6", "\xC3\xEB", ""},  // 分, 秒
        {"aligned match after a two-byte character",
         "\x81\x41"
         "AB5c",
         "AB", "c", "5"},
        {"a lead byte takes an ASCII byte as its trail",
         "\xD0"
         "a1b",
         "a", "b", ""},
    };
    for (const BetweenCase& c : cases) ExpectBetween(c);
}

TEST(TextBetween, LoneLeadByteAtTheEndEndsTheSearch) {
    const BetweenCase cases[] = {
        {"right marker on the lone lead byte", "a5\xD0", "a", "\xD0", ""},
        {"matches before the lone lead byte still count", "a5b\xD0", "a", "b", "5"},
    };
    for (const BetweenCase& c : cases) ExpectBetween(c);
}

TEST(TextBetween, EscapeInMarkersStandsForADoubleQuote) {
    const BetweenCase cases[] = {
        {"both markers", "say \"hi\" now", "#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5",
         "hi"},  // #引号
        {"inside a longer marker", "x=\"7\"", "=#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5",
         "7"},  // =#引号
        {"the text itself is never unescaped",
         "a#\xD2\xFD\xBA\xC5"
         "b\"c",
         "a", "#\xD2\xFD\xBA\xC5",
         "#\xD2\xFD\xBA\xC5"
         "b"},  // a#引号b"c
        {"a partial escape stays as it is",
         "#\xD2\xFD"
         "1\"",
         "#\xD2\xFD", "\"", "1"},  // #引
        {"escapes one after another", "(\"\"1)", "(#\xD2\xFD\xBA\xC5#\xD2\xFD\xBA\xC5", ")", "1"},
    };
    for (const BetweenCase& c : cases) ExpectBetween(c);
}

struct IntegerCase {
    const char* name;
    std::string_view text;
    std::int32_t expected;
};

void ExpectInteger(const IntegerCase& c) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextToInteger(c.text), c.expected);
}

TEST(TextToInteger, ReadsAnOptionallySignedLeadingNumber) {
    const IntegerCase cases[] = {
        {"empty", "", 0},
        {"no digits", "abc", 0},
        {"digits", "42", 42},
        {"leading zeros", "0007", 7},
        {"plus sign", "+7", 7},
        {"minus sign", "-7", -7},
        {"minus zero", "-0", 0},
        {"only one sign", "--7", 0},
        {"mixed signs", "+-7", 0},
        {"space after the sign", "- 7", 0},
        {"sign alone", "-", 0},
        {"stops at the first non-digit", "12abc34", 12},
        {"stops at a GBK character", "5\xD0\xA1\xCA\xB1", 5},  // 5小时
        {"letters first", "x5", 0},
    };
    for (const IntegerCase& c : cases) ExpectInteger(c);
}

TEST(TextToInteger, SkipsLeadingTabsLineBreaksAndSpacesOnly) {
    const IntegerCase cases[] = {
        {"tab, line feed, vertical tab, form feed, carriage return, space", "\t\n\v\f\r 42", 42},
        {"space before the sign", "  -8", -8},
        {"backspace is not white space",
         "\x08"
         "5",
         0},
        {"shift out is not white space",
         "\x0E"
         "5",
         0},
        {"ideographic space",
         "\xA1\xA1"
         "5",
         5},  // 　5
        {"a high byte is not white space",
         "\xA0"
         "5",
         0},
    };
    for (const IntegerCase& c : cases) ExpectInteger(c);
}

TEST(TextToInteger, ReadsFullWidthDigitsAndSigns) {
    const IntegerCase cases[] = {
        {"full-width digits", "\xA3\xB1\xA3\xB2", 12},  // １２
        {"full-width minus", "\xA3\xAD\xA3\xB5", -5},   // －５
        {"full-width plus",
         "\xA3\xAB"
         "5",
         5},  // ＋5
        {"mixed widths",
         "1\xA3\xB2"
         "3",
         123},                                                                       // 1２3
        {"ideographic space then full-width sign", "\xA1\xA1\xA3\xAD\xA3\xB3", -3},  // 　－３
        {"full-width letters end the number",
         "4\xA3\xC1"
         "5",
         4},  // 4Ａ5
        {"A3 A0 is not a full-width form",
         "\xA3\xA0"
         "5",
         0},
        // B0 A3 is one character, so the B1 after it is a lone lead byte, not "1".
        {"character boundaries come first", "\xB0\xA3\xB1", 0},
        {"lone lead byte after the digits", "5\xA3", 5},
    };
    for (const IntegerCase& c : cases) ExpectInteger(c);
}

TEST(TextToInteger, SaturatesBeyondTheThirtyTwoBitRange) {
    const IntegerCase cases[] = {
        {"largest value", "2147483647", kMax},
        {"one above", "2147483648", kMax},
        {"smallest value", "-2147483648", kMin},
        {"one below", "-2147483649", kMin},
        {"thirty digits", "123456789012345678901234567890", kMax},
        {"thirty digits negative", "-999999999999999999999999999999", kMin},
        {"thirty full-width nines",
         "\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9"
         "\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9"
         "\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9",
         kMax},
        {"many leading zeros do not saturate", "000000000000000000000000000042", 42},
    };
    for (const IntegerCase& c : cases) ExpectInteger(c);
}

}  // namespace
}  // namespace velmira
