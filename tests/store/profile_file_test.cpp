#include "store/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "store/profile_document.h"
#include "temp_folder.h"

namespace velmira {
namespace {

using testing::FolderEntries;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder_.Path().empty()); }

    [[nodiscard]] std::filesystem::path File() const { return folder_.Path() / "1.ini"; }

    TempFolder folder_;
};

TEST_F(ProfileFileTest, WriteCreatesTheFileWhenItsFolderExists) {
    WriteProfileValue(File(), "Today", "Stage one", "a");
    EXPECT_EQ(ReadBytes(File()), "[Today]\r\nStage one=a\r\n");
    EXPECT_EQ(ReadProfileValue(File(), "Today", "Stage one"), "a");
}

TEST_F(ProfileFileTest, MissingFolderIsNeverCreated) {
    const std::filesystem::path inMissingFolder = folder_.Path() / "File" / "1.ini";
    WriteProfileValue(inMissingFolder, "Today", "Stage one", "a");
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "File"));
    EXPECT_EQ(ReadProfileValue(inMissingFolder, "Today", "Stage one"), "");
}

TEST_F(ProfileFileTest, MissingFileReadsEmpty) {
    EXPECT_EQ(ReadProfileValue(File(), "Today", "Stage one"), "");
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(ProfileFileTest, LongValueComesBackCutToTheReadBuffer) {
    const std::string value(12000, 'x');
    WriteProfileValue(File(), "Aggregate", "Stage one", value);
    ASSERT_EQ(ReadBytes(File()), "[Aggregate]\r\nStage one=" + value + "\r\n");
    EXPECT_EQ(ReadProfileValue(File(), "Aggregate", "Stage one"), std::string(10239, 'x'));
}

TEST_F(ProfileFileTest, ValueThatFillsTheBufferExactlyComesBackWhole) {
    const std::string value(kProfileReadBufferSize - 1, 'y');
    WriteProfileValue(File(), "Aggregate", "Stage one", value);
    EXPECT_EQ(ReadProfileValue(File(), "Aggregate", "Stage one"), value);
}

TEST_F(ProfileFileTest, LeadingBlanksOfThePathAreSkipped) {
    const std::filesystem::path padded = " \t" + File().string();
    WriteProfileValue(padded, "Today", "Stage one", "a");
    EXPECT_EQ(ReadBytes(File()), "[Today]\r\nStage one=a\r\n");
    EXPECT_EQ(ReadProfileValue(padded, "Today", "Stage one"), "a");
}

TEST_F(ProfileFileTest, EmptyNameAfterBlanksLeavesTheFileUntouched) {
    struct Case {
        const char* name;
        std::filesystem::path path;
        std::string_view section;
        std::string_view key;
    };
    const Case cases[] = {
        {"blank path", " \t ", "Today", "A"},
        {"blank section", File(), " ", "A"},
        {"blank key", File(), "Today", "\t\x01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteProfileValue(c.path, c.section, c.key, "a");
        EXPECT_EQ(ReadProfileValue(c.path, c.section, c.key), "");
        EXPECT_TRUE(FolderEntries(folder_.Path()).empty());
    }
}

TEST_F(ProfileFileTest, ReadOnlyFileKeepsItsBytes) {
    const std::string old = "[Today]\r\nStage one=old\r\n";
    WriteBytes(File(), old);
    ASSERT_EQ(::chmod(File().c_str(), 0444), 0);
    WriteProfileValue(File(), "Today", "Stage one", "new");
    WriteProfileValue(File(), "Aggregate", "Stage one", "new");
    EXPECT_EQ(ReadBytes(File()), old);
    EXPECT_EQ(ReadProfileValue(File(), "Today", "Stage one"), "old");
}

TEST_F(ProfileFileTest, FolderInPlaceOfTheFileReadsEmptyAndStays) {
    ASSERT_TRUE(std::filesystem::create_directory(File()));
    WriteProfileValue(File(), "Today", "Stage one", "a");
    EXPECT_EQ(ReadProfileValue(File(), "Today", "Stage one"), "");
    EXPECT_TRUE(std::filesystem::is_directory(File()));
}

TEST_F(ProfileFileTest, PipeInPlaceOfTheFileNeitherBlocksNorIsReplaced) {
    ASSERT_EQ(::mkfifo(File().c_str(), 0644), 0);
    EXPECT_EQ(ReadProfileValue(File(), "Today", "Stage one"), "");
    WriteProfileValue(File(), "Today", "Stage one", "a");
    EXPECT_TRUE(std::filesystem::is_fifo(File()));
}

TEST_F(ProfileFileTest, EditAppliesAllWritesInOneReplacement) {
    WriteBytes(File(), "; by hand\n[Today]\nStage one=old\n");
    const std::string byHand = File().string() + ".by-hand";
    std::filesystem::copy_file(File(), byHand);
    EditProfileFile(File(), [](ProfileDocument& document) {
        document.WriteValue("Today", "Current date", "d");
        document.WriteValue("Today", "Stage one", "");
        document.WriteValue("Aggregate", "Stage one", "t");
    });
    WriteProfileValue(byHand, "Today", "Current date", "d");
    WriteProfileValue(byHand, "Today", "Stage one", "");
    WriteProfileValue(byHand, "Aggregate", "Stage one", "t");
    EXPECT_EQ(ReadBytes(File()), ReadBytes(byHand));
    EXPECT_EQ(ReadBytes(File()),
              "; by hand\n[Today]\nStage one=\nCurrent date=d\r\n[Aggregate]\r\nStage one=t\r\n");
}

}  // namespace
}  // namespace velmira
