#include "shell/Options.h"

#include <cstring>

#ifndef TINTORIX_VERSION
#define TINTORIX_VERSION "unknown"
#endif

Options ParseOptions(int argc, const char* const* argv) {
    Options options;
    for (int i = 1; i < argc && options.action == Options::Action::Play; ++i) {
        const char* option = argv[i];
        if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
            options.action = Options::Action::Help;
        } else if (std::strcmp(option, "--version") == 0) {
            options.action = Options::Action::Version;
        } else if (std::strcmp(option, "--window") == 0 || std::strcmp(option, "--fullscreen") == 0) {
            options.fullScreen = option[2] == 'f';
        } else if (std::strcmp(option, "--reset-settings") == 0) {
            options.resetSettings = true;
        } else if (std::strcmp(option, "--record") == 0 || std::strcmp(option, "--replay") == 0) {
            // An option where the file should be is a forgotten file, not a file name.
            if (i + 1 == argc || argv[i + 1][0] == '\0' || std::strncmp(argv[i + 1], "--", 2) == 0) {
                options.action = Options::Action::Usage;
                options.error = std::string(option) + " needs a file";
            } else {
                (std::strcmp(option, "--record") == 0 ? options.recordFile : options.replayFile) = argv[++i];
            }
        } else {
            options.action = Options::Action::Usage;
            options.error = std::string("unknown option: ") + option;
        }
    }
    if (options.action == Options::Action::Play && !options.recordFile.empty() &&
        !options.replayFile.empty()) {
        // A replay ends the game, so nothing would be recorded.
        options.action = Options::Action::Usage;
        options.error = "--record and --replay do not go together";
    }
    return options;
}

const char* UsageText() {
    return "usage: tintorix [--window | --fullscreen] [--reset-settings] [--record FILE] [--replay FILE]\n"
           "       tintorix --help | --version\n"
           "\n"
           "  --window          start in a window\n"
           "  --fullscreen      start full screen\n"
           "  --reset-settings  forget the window, volumes and keys set before\n"
           "  --record FILE     record the next battle match to the file\n"
           "  --replay FILE     show a recorded match, then end\n"
           "  --help            show this text\n"
           "  --version         show the version\n"
           "\n"
           "Without options the game starts as it was left, full screen the first time.\n";
}

const char* VersionText() {
    return "tintorix " TINTORIX_VERSION;
}
