#include "run/main_window_operations.h"

namespace velmira {

ProgressLabel TodayLabelOfStage(int stageIndex) {
    switch (stageIndex) {
        case 1:
            return ProgressLabel::TodayStageTwo;
        case 2:
            return ProgressLabel::TodayStageThree;
        default:
            return ProgressLabel::TodayStageOne;
    }
}

ProgressLabel AggregateLabelOfStage(int stageIndex) {
    switch (stageIndex) {
        case 1:
            return ProgressLabel::AggregateStageTwo;
        case 2:
            return ProgressLabel::AggregateStageThree;
        default:
            return ProgressLabel::AggregateStageOne;
    }
}

}  // namespace velmira
