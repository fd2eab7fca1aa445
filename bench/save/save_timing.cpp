// Times one progress save, as Stop, Close and the one-minute save of a run make it,
// next to a plain write of the same bytes with fopen, fwrite and fclose (no flush to
// disk, no replacement by rename), which is what a save without durability would cost.
//   velmira_save_timing [SAVES=200] [PARENT_FOLDER=temp folder]
// The saves go to File/1.ini of a fresh folder under PARENT_FOLDER (put it on the disk
// the program will live on), which is removed afterwards. Prints the median and the
// 90th percentile of both in microseconds, then "result" lines for bench/run.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "run/duration_text.h"
#include "run/main_window_operations.h"
#include "run/run_state.h"
#include "store/date_text.h"
#include "store/progress_file.h"

namespace {

using velmira::LockableControl;
using velmira::ProgressLabel;
using velmira::SelectionList;

// The main window as the store sees it: six captions and device one selected.
class CaptionsOnly : public velmira::MainWindowOperations {
public:
    CaptionsOnly() { captions_.fill(std::string(velmira::kZeroDurationText)); }

    [[nodiscard]] std::string Caption(ProgressLabel label) const override {
        return captions_[Index(label)];
    }
    void SetCaption(ProgressLabel label, std::string_view text) override {
        captions_[Index(label)] = text;
    }
    void SetDisabled(LockableControl, bool) override {}
    [[nodiscard]] bool AutoVolumeChecked() const override { return false; }
    [[nodiscard]] int Selection(SelectionList) const override { return 0; }
    [[nodiscard]] std::string ItemText(SelectionList, int) const override { return {}; }
    void SetTimerPeriod(int) override {}
    void MoveFocusToTodayStageOneLabel() override {}

private:
    static std::size_t Index(ProgressLabel label) { return static_cast<std::size_t>(label); }

    std::array<std::string, 6> captions_;
};

class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::filesystem::path& parent) {
        std::string pattern = (parent / "velmira-save-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

template <typename Action>
[[nodiscard]] double MicrosecondsOf(Action&& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

void WritePlainly(const std::filesystem::path& path, const std::string& bytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (file) std::fwrite(bytes.data(), 1, bytes.size(), file.get());
}

[[nodiscard]] std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

[[nodiscard]] double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

}  // namespace

int main(int argc, char** argv) {
    const int saves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::filesystem::path parent =
        argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();

    TemporaryFolder folder(parent);
    if (folder.Path().empty() || !std::filesystem::create_directory(folder.Path() / "File")) {
        std::fprintf(stderr, "cannot make a folder under %s\n", parent.c_str());
        return 1;
    }

    velmira::RunState state;
    CaptionsOnly window;
    velmira::ProgressFile store(state, window, folder.Path(), velmira::SystemWallClock());
    store.SelectProgressFile();
    store.SaveProgress();  // the first save creates the file; the timed ones replace it
    const std::filesystem::path progressPath = folder.Path() / "File" / "1.ini";
    const std::filesystem::path plainPath = folder.Path() / "File" / "plain.ini";

    std::vector<double> saveTimes;
    std::vector<double> plainTimes;
    for (int save = 0; save < saves; ++save) {
        // Each save carries a new time, as the saves of a run do.
        const int seconds = 3600 + save;
        window.SetCaption(ProgressLabel::AggregateStageOne,
                          velmira::FormatDuration(seconds / 3600, seconds / 60 % 60, seconds % 60));
        saveTimes.push_back(MicrosecondsOf([&] { store.SaveProgress(); }));
        const std::string bytes = ReadAll(progressPath);
        plainTimes.push_back(MicrosecondsOf([&] { WritePlainly(plainPath, bytes); }));
    }

    const double saveMedian = Percentile(saveTimes, 0.5);
    const double plainMedian = Percentile(plainTimes, 0.5);
    std::printf("%d saves of %ju bytes under %s\n", saves,
                static_cast<std::uintmax_t>(std::filesystem::file_size(progressPath)),
                parent.c_str());
    std::printf("  progress save       median %9.1f us   90%% %9.1f us\n", saveMedian,
                Percentile(saveTimes, 0.9));
    std::printf("  fopen/fwrite/fclose median %9.1f us   90%% %9.1f us\n", plainMedian,
                Percentile(plainTimes, 0.9));
    std::printf("  ratio %.1f\n", saveMedian / plainMedian);
    std::printf("result save_us %.1f\n", saveMedian);
    std::printf("result save_plain_us %.1f\n", plainMedian);
    return 0;
}
