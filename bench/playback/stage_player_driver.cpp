// Drives the stage track player the way the main window does, for scripts: it reads
// one command per line from standard input and answers "ok" when the call returned.
//   play STAGE_INDEX   PlayStageTrack (0, 1 or 2)
//   stop               StopPlayback
//   quit               (or end of input) stops and exits
// The tracks are looked for under PROGRAM_DIRECTORY/File.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "audio/sdl_playback.h"
#include "audio/stage_track_player.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " PROGRAM_DIRECTORY\n";
        return 2;
    }
    velmira::SdlPlayback playback;
    velmira::StageTrackPlayer player(playback, std::filesystem::path(argv[1]));
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "play") {
            int stageIndex = 0;
            words >> stageIndex;
            player.PlayStageTrack(stageIndex);
        } else if (command == "stop") {
            player.StopPlayback();
        } else if (command == "quit") {
            break;
        } else if (!command.empty()) {
            std::cout << "unknown command: " << command << std::endl;
            continue;
        }
        std::cout << "ok" << std::endl;
    }
    player.StopPlayback();
    return 0;
}
