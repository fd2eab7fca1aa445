#include "store/progress_file.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "run/duration_text.h"
#include "store/profile_document.h"
#include "store/profile_file.h"
#include "store/program_directory.h"

namespace velmira {
namespace {

constexpr std::string_view kTodaySection = "Today";
constexpr std::string_view kAggregateSection = "Aggregate";
constexpr std::string_view kCurrentDateKey = "Current date";

struct StoredLabel {
    std::string_view section;
    std::string_view key;
    ProgressLabel label;
};

// In the order in which a first save writes them, which is the order of the file.
constexpr std::array<StoredLabel, 3> kTodayLabels{{
    {kTodaySection, "Stage one", ProgressLabel::TodayStageOne},
    {kTodaySection, "Stage two", ProgressLabel::TodayStageTwo},
    {kTodaySection, "Stage three", ProgressLabel::TodayStageThree},
}};
constexpr std::array<StoredLabel, 3> kAggregateLabels{{
    {kAggregateSection, "Stage one", ProgressLabel::AggregateStageOne},
    {kAggregateSection, "Stage two", ProgressLabel::AggregateStageTwo},
    {kAggregateSection, "Stage three", ProgressLabel::AggregateStageThree},
}};

constexpr std::array<std::string_view, 5> kProgressFileNames{
    "\\File\\1.ini", "\\File\\2.ini", "\\File\\3.ini", "\\File\\4.ini", "\\File\\5.ini",
};

}  // namespace

ProgressFile::ProgressFile(RunState& state, MainWindowOperations& window,
                           std::filesystem::path programDirectory, WallClock clock)
    : state_(state),
      window_(window),
      programDirectory_(std::move(programDirectory)),
      clock_(std::move(clock)) {}

void ProgressFile::SelectProgressFile() {
    const int deviceIndex = window_.Selection(SelectionList::Device);
    if (deviceIndex < 0 || deviceIndex >= static_cast<int>(kProgressFileNames.size())) return;
    state_.progressFileName = kProgressFileNames[static_cast<std::size_t>(deviceIndex)];
}

void ProgressFile::LoadProgress() {
    for (const StoredLabel& stored : kAggregateLabels) {
        window_.SetCaption(stored.label,
                           ReadProfileValue(CurrentFilePath(), stored.section, stored.key));
    }
    // The totals never show blank: a missing or empty total reads as zero time.
    for (const StoredLabel& stored : kAggregateLabels) {
        if (window_.Caption(stored.label).empty())
            window_.SetCaption(stored.label, kZeroDurationText);
    }
    if (!StoredDateIsToday()) {
        for (const StoredLabel& stored : kTodayLabels)
            window_.SetCaption(stored.label, kZeroDurationText);
        return;
    }
    for (const StoredLabel& stored : kTodayLabels) {
        window_.SetCaption(stored.label,
                           ReadProfileValue(CurrentFilePath(), stored.section, stored.key));
    }
}

void ProgressFile::SaveProgress() {
    EditProfileFile(CurrentFilePath(), [this](ProfileDocument& document) {
        document.WriteValue(kTodaySection, kCurrentDateKey, TodayDateText(clock_));
        for (const auto* labels : {&kTodayLabels, &kAggregateLabels}) {
            for (const StoredLabel& stored : *labels) {
                document.WriteValue(stored.section, stored.key, window_.Caption(stored.label));
            }
        }
    });
}

bool ProgressFile::StoredDateIsToday() {
    const std::string today = TodayDateText(clock_);
    return ReadProfileValue(CurrentFilePath(), kTodaySection, kCurrentDateKey) == today;
}

std::filesystem::path ProgressFile::CurrentFilePath() const {
    return ProgressFilePath(programDirectory_, state_.progressFileName);
}

}  // namespace velmira
