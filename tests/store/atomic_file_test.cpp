#include "store/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace velmira {
namespace {

using testing::FolderEntries;
using testing::PermissionBits;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Hands out the given temporary names in turn.
TemporaryNameSource NamesInTurn(std::vector<std::string> names) {
    return [names = std::move(names), next = std::size_t{0}]() mutable {
        return next < names.size() ? names[next++] : std::string("exhausted");
    };
}

// Caps the size of files this process may write, so that writing fails like on a full
// disk; restores the limit and the signal when it goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        const rlimit limit{bytes, previous_.rlim_max};
        applied_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    [[nodiscard]] bool Applied() const { return applied_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool applied_ = false;
};

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder_.Path().empty()); }

    [[nodiscard]] std::filesystem::path File() const { return folder_.Path() / "1.ini"; }

    TempFolder folder_;
};

TEST_F(AtomicFileTest, ReplacementLeavesNoTemporaryFileBehind) {
    WriteBytes(File(), "old");
    EXPECT_TRUE(ReplaceFileContents(File(), "new"));
    EXPECT_EQ(ReadBytes(File()), "new");
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"1.ini"});
}

TEST_F(AtomicFileTest, CreatesMissingFileButNoFolder) {
    EXPECT_TRUE(ReplaceFileContents(File(), "new"));
    EXPECT_EQ(ReadBytes(File()), "new");
    EXPECT_FALSE(ReplaceFileContents(folder_.Path() / "File" / "1.ini", "new"));
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"1.ini"});
}

TEST_F(AtomicFileTest, ReplacedFileKeepsItsPermissionBits) {
    WriteBytes(File(), "old");
    ASSERT_EQ(::chmod(File().c_str(), 0640), 0);
    EXPECT_TRUE(ReplaceFileContents(File(), "new"));
    EXPECT_EQ(PermissionBits(File()), 0640u);
}

TEST_F(AtomicFileTest, ReadOnlyFileIsLeftAloneEvenForRoot) {
    WriteBytes(File(), "old");
    ASSERT_EQ(::chmod(File().c_str(), 0444), 0);
    EXPECT_FALSE(ReplaceFileContents(File(), "new"));
    EXPECT_EQ(ReadBytes(File()), "old");
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"1.ini"});
}

TEST_F(AtomicFileTest, PlantedLinkAtTheTemporaryNameIsNeverFollowed) {
    const std::filesystem::path victim = folder_.Path() / "victim";
    WriteBytes(victim, "precious");
    std::filesystem::create_symlink(victim, folder_.Path() / "planted");
    std::filesystem::create_symlink(folder_.Path() / "nowhere", folder_.Path() / "dangling");
    WriteBytes(File(), "old");

    EXPECT_TRUE(ReplaceFileContents(File(), "new", NamesInTurn({"planted", "dangling", "fresh"})));

    EXPECT_EQ(ReadBytes(File()), "new");
    EXPECT_EQ(ReadBytes(victim), "precious");
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "nowhere"));
    EXPECT_EQ(std::filesystem::read_symlink(folder_.Path() / "planted"), victim);
    EXPECT_EQ(FolderEntries(folder_.Path()),
              (std::vector<std::string>{"1.ini", "dangling", "planted", "victim"}));
}

TEST_F(AtomicFileTest, GivesUpWhenEveryTemporaryNameIsTaken) {
    WriteBytes(File(), "old");
    WriteBytes(folder_.Path() / "taken", "someone else's");
    EXPECT_FALSE(ReplaceFileContents(File(), "new", [] { return std::string("taken"); }));
    EXPECT_EQ(ReadBytes(File()), "old");
    EXPECT_EQ(ReadBytes(folder_.Path() / "taken"), "someone else's");
}

TEST_F(AtomicFileTest, FailedWriteKeepsOldBytesAndRemovesTheTemporaryFile) {
    WriteBytes(File(), "old");
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Applied());
        EXPECT_FALSE(ReplaceFileContents(File(), std::string(100000, 'n')));
    }
    EXPECT_EQ(ReadBytes(File()), "old");
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"1.ini"});
}

TEST_F(AtomicFileTest, LinkedFileHasItsTargetReplacedAndTheLinkKept) {
    const std::filesystem::path elsewhere = folder_.Path() / "elsewhere";
    ASSERT_TRUE(std::filesystem::create_directory(elsewhere));
    WriteBytes(elsewhere / "real.ini", "old");
    std::filesystem::create_symlink(elsewhere / "real.ini", File());

    EXPECT_TRUE(ReplaceFileContents(File(), "new"));

    EXPECT_TRUE(std::filesystem::is_symlink(File()));
    EXPECT_EQ(ReadBytes(elsewhere / "real.ini"), "new");
    EXPECT_EQ(FolderEntries(elsewhere), std::vector<std::string>{"real.ini"});
}

TEST(RandomTemporaryName, IsHiddenBesideTheFileAndDiffersEachTime) {
    const std::string first = RandomTemporaryName("1.ini");
    EXPECT_EQ(first.rfind(".1.ini.", 0), 0u) << first;
    EXPECT_EQ(first.substr(first.size() - 4), ".tmp");
    EXPECT_NE(first, RandomTemporaryName("1.ini"));
}

}  // namespace
}  // namespace velmira
