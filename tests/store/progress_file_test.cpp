#include "store/progress_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fake_main_window.h"
#include "run/duration_text.h"
#include "store/profile_file.h"
#include "temp_folder.h"
#include "tests/store/local_noon.h"

namespace velmira {
namespace {

using testing::FakeMainWindow;
using testing::FolderEntries;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr std::string_view kZero = kZeroDurationText;
constexpr std::string_view kOneHour =
    "1\xD0\xA1\xCA\xB1"
    "02\xB7\xD6"
    "03\xC3\xEB";  // 1小时02分03秒
constexpr std::string_view kTwoHours =
    "2\xD0\xA1\xCA\xB1"
    "00\xB7\xD6"
    "00\xC3\xEB";  // 2小时00分00秒
constexpr std::string_view kSevenMarch =
    "2024\xC4\xEA"
    "3\xD4\xC2"
    "7\xC8\xD5";  // 2024年3月7日
constexpr std::string_view kSevenMarchPadded =
    "2024\xC4\xEA"
    "03\xD4\xC2"
    "07\xC8\xD5";  // 2024年03月07日
constexpr std::string_view kEightMarch =
    "2024\xC4\xEA"
    "3\xD4\xC2"
    "8\xC8\xD5";  // 2024年3月8日

// The file of a device used for the first time, after one run of stage one that lasted
// 1:02:03 on 7 March 2024 and was then stopped.
const std::string kFirstRunFile =
    std::string("[Today]\r\nCurrent date=") + std::string(kSevenMarch) +
    "\r\nStage one=" + std::string(kOneHour) + "\r\nStage two=" + std::string(kZero) +
    "\r\nStage three=" + std::string(kZero) +
    "\r\n[Aggregate]\r\nStage one=" + std::string(kOneHour) +
    "\r\nStage two=" + std::string(kZero) + "\r\nStage three=" + std::string(kZero) + "\r\n";

std::string Join(const std::vector<std::string_view>& lines) {
    std::string text;
    for (const std::string_view line : lines) text.append(line).append("\r\n");
    return text;
}

// A program directory with its File folder, a fake main window, and a clock that the
// test moves from day to day.
class ProgressFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.Path().empty());
        ASSERT_TRUE(std::filesystem::create_directory(FileFolder()));
    }

    [[nodiscard]] std::filesystem::path FileFolder() const { return folder_.Path() / "File"; }
    [[nodiscard]] std::filesystem::path DeviceFile(int number) const {
        return FileFolder() / (std::to_string(number) + ".ini");
    }

    // What the main window's created event and a device pick do.
    void SelectAndLoad(ProgressFile& store) {
        store.SelectProgressFile();
        store.LoadProgress();
    }

    [[nodiscard]] ProgressFile StoreFor(FakeMainWindow& window) {
        return ProgressFile(state_, window, folder_.Path(), [this] { return now_; });
    }

    TempFolder folder_;
    RunState state_;
    std::time_t now_ = LocalNoon(2024, 3, 7);
};

TEST_F(ProgressFileTest, FirstStartAndStopWriteTheSevenKeysInOrder) {
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    EXPECT_EQ(state_.progressFileName, "\\File\\1.ini");
    for (const std::string& caption : window.captions) EXPECT_EQ(caption, kZero);

    window.captions[FakeMainWindow::Index(ProgressLabel::TodayStageOne)] = kOneHour;
    window.captions[FakeMainWindow::Index(ProgressLabel::AggregateStageOne)] = kOneHour;
    store.SaveProgress();

    EXPECT_EQ(ReadBytes(DeviceFile(1)), kFirstRunFile);
    EXPECT_EQ(FolderEntries(FileFolder()), std::vector<std::string>{"1.ini"});
}

TEST_F(ProgressFileTest, LaterSavesReplaceTheValuesInPlace) {
    WriteBytes(DeviceFile(1), "; my headphones\r\n" + kFirstRunFile + "[Notes]\r\nPads=new\r\n");
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    window.captions[FakeMainWindow::Index(ProgressLabel::TodayStageTwo)] = kTwoHours;
    window.captions[FakeMainWindow::Index(ProgressLabel::AggregateStageTwo)] = kTwoHours;
    now_ = LocalNoon(2024, 3, 8);
    store.SaveProgress();

    std::string expected = "; my headphones\r\n" + kFirstRunFile + "[Notes]\r\nPads=new\r\n";
    const auto replace = [&expected](std::string_view from, std::string_view to, std::size_t at) {
        expected.replace(expected.find(from, at), from.size(), to);
    };
    replace(kSevenMarch, kEightMarch, 0);
    replace(std::string("Stage two=") + std::string(kZero),
            std::string("Stage two=") + std::string(kTwoHours), 0);
    replace(std::string("Stage two=") + std::string(kZero),
            std::string("Stage two=") + std::string(kTwoHours), expected.find("[Aggregate]"));
    EXPECT_EQ(ReadBytes(DeviceFile(1)), expected);
}

TEST_F(ProgressFileTest, SaveGivesTheBytesOfSevenSeparateWrites) {
    const std::string handWritten = "[aggregate]\nstage ONE = 5\n\n[TODAY]\nStage three=x\n";
    WriteBytes(DeviceFile(1), handWritten);
    const std::filesystem::path reference = FileFolder() / "reference.ini";
    WriteBytes(reference, handWritten);
    FakeMainWindow window;
    window.captions[FakeMainWindow::Index(ProgressLabel::TodayStageTwo)] = "";
    ProgressFile store = StoreFor(window);
    store.SelectProgressFile();
    store.SaveProgress();

    WriteProfileValue(reference, "Today", "Current date", kSevenMarch);
    WriteProfileValue(reference, "Today", "Stage one", kZero);
    WriteProfileValue(reference, "Today", "Stage two", "");
    WriteProfileValue(reference, "Today", "Stage three", kZero);
    WriteProfileValue(reference, "Aggregate", "Stage one", kZero);
    WriteProfileValue(reference, "Aggregate", "Stage two", kZero);
    WriteProfileValue(reference, "Aggregate", "Stage three", kZero);
    EXPECT_EQ(ReadBytes(DeviceFile(1)), ReadBytes(reference));
}

TEST_F(ProgressFileTest, RelaunchOnTheSameDayShowsTheSavedTexts) {
    WriteBytes(DeviceFile(1), kFirstRunFile);
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    EXPECT_TRUE(store.StoredDateIsToday());
    EXPECT_EQ(window.Caption(ProgressLabel::TodayStageOne), kOneHour);
    EXPECT_EQ(window.Caption(ProgressLabel::TodayStageTwo), kZero);
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageOne), kOneHour);
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageThree), kZero);
}

TEST_F(ProgressFileTest, RelaunchOnALaterDayStartsTodayFromZeroAndKeepsTheFile) {
    WriteBytes(DeviceFile(1), kFirstRunFile);
    now_ = LocalNoon(2024, 3, 8);
    FakeMainWindow window;
    window.captions.fill("stale");
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    EXPECT_FALSE(store.StoredDateIsToday());
    EXPECT_EQ(window.Caption(ProgressLabel::TodayStageOne), kZero);
    EXPECT_EQ(window.Caption(ProgressLabel::TodayStageThree), kZero);
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageOne), kOneHour);
    EXPECT_EQ(ReadBytes(DeviceFile(1)), kFirstRunFile);
}

TEST_F(ProgressFileTest, OnlyTheExactDateTextCountsAsToday) {
    struct Case {
        const char* name;
        std::string dateLine;
        bool today;
    };
    const Case cases[] = {
        {"same text", "Current date=" + std::string(kSevenMarch), true},
        {"blanks around it", "Current date =  " + std::string(kSevenMarch) + " ", true},
        {"leading zeros", "Current date=" + std::string(kSevenMarchPadded), false},
        {"another day", "Current date=" + std::string(kEightMarch), false},
        {"empty", "Current date=", false},
        {"missing", "; no date", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(DeviceFile(1), Join({"[Today]", c.dateLine, "Stage one=1", "[Aggregate]"}));
        FakeMainWindow window;
        ProgressFile store = StoreFor(window);
        SelectAndLoad(store);
        EXPECT_EQ(store.StoredDateIsToday(), c.today);
        EXPECT_EQ(window.Caption(ProgressLabel::TodayStageOne), c.today ? "1" : kZero);
    }
}

TEST_F(ProgressFileTest, EmptyOrMissingTodayValueLeavesItsLabelEmptyAndIsSavedEmpty) {
    WriteBytes(DeviceFile(1), Join({"[Today]", "Current date=" + std::string(kSevenMarch),
                                    "Stage one=", "Stage three=  "}));
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    EXPECT_EQ(window.Caption(ProgressLabel::TodayStageOne), "");
    EXPECT_EQ(window.Caption(ProgressLabel::TodayStageTwo), "");
    EXPECT_EQ(window.Caption(ProgressLabel::TodayStageThree), "");

    store.SaveProgress();
    EXPECT_EQ(ReadBytes(DeviceFile(1)),
              Join({"[Today]", "Current date=" + std::string(kSevenMarch), "Stage one=",
                    "Stage three=", "Stage two=", "[Aggregate]", "Stage one=" + std::string(kZero),
                    "Stage two=" + std::string(kZero), "Stage three=" + std::string(kZero)}));
}

TEST_F(ProgressFileTest, MissingOrBlankTotalShowsZeroTimeAndOtherTextsShowAsStored) {
    WriteBytes(DeviceFile(1),
               Join({"[Aggregate]", "Stage two= \t ", "Stage three=not a duration"}));
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageOne), kZero);
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageTwo), kZero);
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageThree), "not a duration");
}

TEST_F(ProgressFileTest, LoadWritesTheLabelsInTheirFixedOrder) {
    WriteBytes(DeviceFile(1), Join({"[Today]", "Current date=" + std::string(kSevenMarch),
                                    "[Aggregate]", "Stage one=1", "Stage three=3"}));
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    using L = ProgressLabel;
    EXPECT_EQ(window.captionWrites,
              (std::vector<L>{L::AggregateStageOne, L::AggregateStageTwo, L::AggregateStageThree,
                              L::AggregateStageTwo, L::TodayStageOne, L::TodayStageTwo,
                              L::TodayStageThree}));
}

TEST_F(ProgressFileTest, SelectionPicksTheDeviceFileAndIgnoresOtherIndexes) {
    struct Case {
        int device;
        std::string_view expected;
    };
    const Case cases[] = {{0, "\\File\\1.ini"}, {1, "\\File\\2.ini"}, {2, "\\File\\3.ini"},
                          {3, "\\File\\4.ini"}, {4, "\\File\\5.ini"}, {5, "\\File\\5.ini"},
                          {-1, "\\File\\5.ini"}};
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        window.device = c.device;
        store.SelectProgressFile();
        EXPECT_EQ(state_.progressFileName, c.expected);
    }
}

TEST_F(ProgressFileTest, SwitchingDevicesShowsTheOtherFileWithoutSavingTheOneLeft) {
    WriteBytes(DeviceFile(1), kFirstRunFile);
    WriteBytes(DeviceFile(3), Join({"[Aggregate]", "Stage two=" + std::string(kTwoHours)}));
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    window.captions[FakeMainWindow::Index(ProgressLabel::AggregateStageOne)] = "changed";

    window.device = 2;
    SelectAndLoad(store);

    EXPECT_EQ(state_.progressFileName, "\\File\\3.ini");
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageOne), kZero);
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageTwo), kTwoHours);
    EXPECT_EQ(window.Caption(ProgressLabel::TodayStageOne), kZero);
    EXPECT_EQ(ReadBytes(DeviceFile(1)), kFirstRunFile);
    EXPECT_EQ(FolderEntries(FileFolder()), (std::vector<std::string>{"1.ini", "3.ini"}));
}

TEST_F(ProgressFileTest, MissingFileFolderShowsZeroTimeAndCreatesNothing) {
    std::filesystem::remove(FileFolder());
    FakeMainWindow window;
    window.captions.fill("stale");
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    for (const std::string& caption : window.captions) EXPECT_EQ(caption, kZero);
    EXPECT_FALSE(store.StoredDateIsToday());
    store.SaveProgress();
    EXPECT_TRUE(FolderEntries(folder_.Path()).empty());
}

TEST_F(ProgressFileTest, ReadOnlyFileIsLoadedButNotChangedBySaving) {
    WriteBytes(DeviceFile(1), kFirstRunFile);
    ASSERT_EQ(::chmod(DeviceFile(1).c_str(), 0444), 0);
    now_ = LocalNoon(2024, 3, 8);
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    SelectAndLoad(store);
    EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageOne), kOneHour);
    window.captions.fill("new");
    store.SaveProgress();
    EXPECT_EQ(ReadBytes(DeviceFile(1)), kFirstRunFile);
    EXPECT_EQ(FolderEntries(FileFolder()), std::vector<std::string>{"1.ini"});
}

TEST_F(ProgressFileTest, BeforeAnyDeviceIsSelectedNothingIsReadOrWritten) {
    FakeMainWindow window;
    ProgressFile store = StoreFor(window);
    store.LoadProgress();
    store.SaveProgress();
    for (const std::string& caption : window.captions) EXPECT_EQ(caption, kZero);
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"File"});
    EXPECT_TRUE(FolderEntries(FileFolder()).empty());
}

TEST_F(ProgressFileTest, LineFeedFilesAndAMissingFinalLineBreakAreRead) {
    struct Case {
        const char* name;
        std::string text;
    };
    const std::string date = "Current date=" + std::string(kSevenMarch);
    const Case cases[] = {
        {"LF", "[Today]\n" + date + "\nStage one=1\n[Aggregate]\nStage one=2\n"},
        {"no final line break",
         "[Today]\r\n" + date + "\r\nStage one=1\r\n[Aggregate]\r\nStage one=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(DeviceFile(1), c.text);
        FakeMainWindow window;
        ProgressFile store = StoreFor(window);
        SelectAndLoad(store);
        EXPECT_EQ(window.Caption(ProgressLabel::TodayStageOne), "1");
        EXPECT_EQ(window.Caption(ProgressLabel::AggregateStageOne), "2");
    }
}

}  // namespace
}  // namespace velmira
