#include "store/program_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

namespace velmira {
namespace {

TEST(WindowsProgramDirectory, CutsBeforeTheLastRealBackslash) {
    struct Case {
        const char* name;
        std::string_view executablePath;
        std::string_view expected;
    };
    const Case cases[] = {
        {"folder", "D:\\Tools\\Burn\\velmira.exe", "D:\\Tools\\Burn"},
        {"root of a drive", "C:\\velmira.exe", "C:"},
        {"GBK folder ending in a 0x5C trail byte", "D:\\\xB2\xE2\x81\x5C\\velmira.exe",
         "D:\\\xB2\xE2\x81\x5C"},
        {"GBK file name with a 0x5C trail byte", "D:\\Tools\\\x81\x5Cvelmira.exe", "D:\\Tools"},
        {"a lead byte takes the backslash after it along", "D:\\a\x81\\\\velmira.exe",
         "D:\\a\x81\\"},
        {"no backslash", "velmira.exe", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WindowsProgramDirectory(c.executablePath), c.expected);
    }
}

TEST(ProgressFilePath, JoinsTheNameWithTheNativeSeparator) {
    EXPECT_EQ(ProgressFilePath("/opt/velmira", "\\File\\3.ini"),
              std::filesystem::path("/opt/velmira/File/3.ini"));
    EXPECT_EQ(ProgressFilePath("/opt/velmira", ""), std::filesystem::path("/opt/velmira"));
}

TEST(ProgramDirectory, IsTheFolderOfTheRunningExecutable) {
    const std::filesystem::path directory = ProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_TRUE(std::filesystem::exists(directory / "velmira_store_tests"));
}

}  // namespace
}  // namespace velmira
