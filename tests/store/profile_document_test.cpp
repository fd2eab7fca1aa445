#include "store/profile_document.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace velmira {
namespace {

constexpr std::string_view kOneHour =
    "1\xD0\xA1\xCA\xB1"
    "02\xB7\xD6"
    "03\xC3\xEB";  // 1小时02分03秒

struct ReadCase {
    const char* name;
    std::string_view text;
    std::string_view section;
    std::string_view key;
    std::string_view expected;
};

TEST(ProfileDocumentRead, FindsValuesByTheProfileRules) {
    using namespace std::string_view_literals;
    const ReadCase cases[] = {
        {"CRLF lines", "[Today]\r\nStage one=a\r\nStage two=b\r\n", "Today", "Stage two", "b"},
        {"LF lines", "[Today]\nStage one=a\nStage two=b\n", "Today", "Stage two", "b"},
        {"no final line break", "[Today]\r\nStage one=a", "Today", "Stage one", "a"},
        {"GBK value kept verbatim",
         "[Today]\r\nStage one=1\xD0\xA1\xCA\xB1"
         "02\xB7\xD6"
         "03\xC3\xEB\r\n",
         "Today", "Stage one", kOneHour},
        {"section and key names ignore ASCII case", "[tODAY]\r\nSTAGE ONE=a\r\n", "Today",
         "stage one", "a"},
        {"blanks around names and value", "  [ Today ]  \r\n\t Stage one \t=  a b \t\r\n", "Today",
         "Stage one", "a b"},
        {"leading blanks of the request skipped", "[Today]\r\nStage one=a\r\n", " \t\x01Today",
         "\x1F Stage one", "a"},
        {"request name empty after blanks", "[Today]\r\n=a\r\n", "Today", " \t ", ""},
        {"key of another section", "[Today]\r\nA=1\r\n[Aggregate]\r\nB=2\r\n", "Today", "B", ""},
        {"missing section", "[Today]\r\nA=1\r\n", "Aggregate", "A", ""},
        {"empty text", "", "Today", "A", ""},
        {"comment is not a key", "[Today]\r\n;A=1\r\n", "Today", ";A", ""},
        {"line without equals sign is not a key", "[Today]\r\nA\r\n", "Today", "A", ""},
        {"key before any section belongs to none", "A=1\r\n[Today]\r\n", "Today", "A", ""},
        {"first of two keys counts", "[Today]\r\nA=1\r\nA=2\r\n", "Today", "A", "1"},
        {"first of two sections counts", "[Today]\r\nB=1\r\n[Today]\r\nA=2\r\n", "Today", "A", ""},
        {"equals sign inside the value", "[Today]\r\nA=x=y\r\n", "Today", "A", "x=y"},
        {"value ends at a zero byte", "[Today]\r\nA=x\0y\r\n"sv, "Today", "A", "x"},
        {"empty value", "[Today]\r\nA=\r\n", "Today", "A", ""},
        {"bracket as second byte of a GBK character", "[\x81]]\r\nA=1\r\n", "\x81]", "A", "1"},
        {"letters as second byte of a GBK character keep their case", "[Today]\r\n\x81\x61=1\r\n",
         "Today", "\x81\x41", ""},
        {"unclosed section header runs to the line end", "[Today\r\nA=1\r\n", "Today", "A", "1"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ProfileDocument(std::string(c.text)).ReadValue(c.section, c.key), c.expected);
    }
}

struct WriteCase {
    const char* name;
    std::string_view before;
    std::string_view section;
    std::string_view key;
    std::string_view value;
    std::string_view after;
};

TEST(ProfileDocumentWrite, ChangesOnlyWhatTheWriteNeeds) {
    const WriteCase cases[] = {
        {"empty text gets section and key", "", "Today", "Stage one", "a",
         "[Today]\r\nStage one=a\r\n"},
        {"value replaced in place, key spelling, blanks and LF kept",
         "[today]\nstage ONE \t= old  \nX=1\n", "Today", "Stage one", "new",
         "[today]\nstage ONE \t=new\nX=1\n"},
        {"missing key goes after the last filled line of its section",
         "[Today]\r\nA=1\r\n\r\n[Aggregate]\r\nB=2\r\n", "Today", "C", "3",
         "[Today]\r\nA=1\r\nC=3\r\n\r\n[Aggregate]\r\nB=2\r\n"},
        {"missing key after a header with no line break", "[Today]", "Today", "A", "1",
         "[Today]\r\nA=1\r\n"},
        {"missing key after a last line with no line break", "[Today]\r\nA=1", "Today", "B", "2",
         "[Today]\r\nA=1\r\nB=2\r\n"},
        {"missing section appended at the end", "[Today]\nA=1\n", "Aggregate", "B", "2",
         "[Today]\nA=1\n[Aggregate]\r\nB=2\r\n"},
        {"missing section after text with no line break", "; note", "Today", "A", "1",
         "; note\r\n[Today]\r\nA=1\r\n"},
        {"empty value written as key and equals sign", "", "Today", "A", "", "[Today]\r\nA=\r\n"},
        {"existing value emptied, key stays", "[Today]\r\nA=1\r\n", "Today", "A", "",
         "[Today]\r\nA=\r\n"},
        {"comments and foreign lines kept byte for byte",
         "; made by hand\r\n[Today]\r\n# foreign\r\nno equals sign\r\n ;A=9\r\nA=1\r\n\r\n",
         "today", "a", "2",
         "; made by hand\r\n[Today]\r\n# foreign\r\nno equals sign\r\n ;A=9\r\nA=2\r\n\r\n"},
        {"value ends at its first line break", "", "Today", "A", "1\r\n[Aggregate]\r\nB=x",
         "[Today]\r\nA=1\r\n"},
        {"new names lose their leading blanks", "", " \tToday", "\x01 Stage one", "a",
         "[Today]\r\nStage one=a\r\n"},
        {"empty key changes nothing", "[Today]\r\n", "Today", "  ", "a", "[Today]\r\n"},
        {"empty section changes nothing", "", "\t", "A", "a", ""},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileDocument document{std::string(c.before)};
        document.WriteValue(c.section, c.key, c.value);
        EXPECT_EQ(document.Bytes(), c.after);
    }
}

TEST(ProfileDocumentWrite, WrittenValueReadsBackWithoutSurroundingBlanks) {
    struct Case {
        std::string_view written;
        std::string_view readBack;
    };
    const Case cases[] = {
        {kOneHour, kOneHour}, {"", ""}, {"  padded\t ", "padded"}, {"x=y", "x=y"}};
    ProfileDocument document{"; keep\n[Aggregate]\nStage one=old\n"};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.written));
        document.WriteValue("Aggregate", "Stage one", c.written);
        document.WriteValue("Today", "Stage one", c.written);
        EXPECT_EQ(document.ReadValue("AGGREGATE", "stage one"), c.readBack);
        EXPECT_EQ(document.ReadValue("Today", "Stage one"), c.readBack);
    }
    EXPECT_EQ(document.Bytes(), "; keep\n[Aggregate]\nStage one=x=y\n[Today]\r\nStage one=x=y\r\n");
}

}  // namespace
}  // namespace velmira
