#include "app/gbk_codec.h"

#include <gtest/gtest.h>

namespace velmira {
namespace {

struct Case {
    const char* name;
    std::string gbk;
    std::string utf8;
};

const Case kCases[] = {
    {"ascii", "Stage one=1", "Stage one=1"},
    {"duration text",
     "1\xD0\xA1\xCA\xB1"
     "05\xB7\xD6"
     "09\xC3\xEB",
     "1小时05分09秒"},
    {"date text",
     "2024\xC4\xEA"
     "3\xD4\xC2"
     "7\xC8\xD5",
     "2024年3月7日"},
    {"full-width digits and ideographic space", "\xA3\xB1\xA1\xA1\xA3\xAD", "１　－"},
    {"trail byte that is a backslash", "\x95\x5C", "昞"},
    {"empty", "", ""},
};

TEST(GbkCodec, DecodesAndEncodesKnownTexts) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
        EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
    }
}

TEST(GbkCodec, InvalidBytesDecodeToOneReplacementMarkEach) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(GbkToUtf8("a\xFF"
                        "b"),
              "a" + replacement + "b");
    // A lead byte at the very end has no trail byte.
    EXPECT_EQ(GbkToUtf8("ok\xD0"), "ok" + replacement);
    // The text after a bad byte still decodes.
    EXPECT_EQ(GbkToUtf8("\xFF\xD0\xA1\xCA\xB1"), replacement + "小时");
    // Code page 936 has the euro sign at 0x80.
    EXPECT_EQ(GbkToUtf8("\x80"), "€");
}

TEST(GbkCodec, CharactersOutsideGbkEncodeAsQuestionMarks) { EXPECT_EQ(Utf8ToGbk("a😀b"), "a?b"); }

}  // namespace
}  // namespace velmira
