// Writes the three stage tracks, 1.mp3 to 3.mp3, into the folder given as the only
// argument. Run by the build; the tracks are never committed.

#include <array>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tools/mp3_encoder.h"
#include "tools/stage_track_recipes.h"

namespace {

// Returns the failure text, empty on success.
std::string WriteStageTrack(int stageNumber, const std::filesystem::path& folder) {
    try {
        velmira::tracks::EncodeMp3File(velmira::tracks::SynthesizeStageTrack(stageNumber),
                                       folder / (std::to_string(stageNumber) + ".mp3"));
        return {};
    } catch (const std::exception& error) {
        return error.what();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::array<std::string, velmira::tracks::kStageCount> failures;
    {
        std::vector<std::jthread> workers;
        for (int stage = 1; stage <= velmira::tracks::kStageCount; ++stage) {
            workers.emplace_back([&failures, &folder, stage] {
                failures[static_cast<std::size_t>(stage - 1)] = WriteStageTrack(stage, folder);
            });
        }
    }
    int status = 0;
    for (std::size_t i = 0; i < failures.size(); ++i) {
        if (failures[i].empty()) continue;
        std::fprintf(stderr, "stage %zu: %s\n", i + 1, failures[i].c_str());
        status = 1;
    }
    return status;
}
