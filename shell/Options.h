#pragma once

#include <cstdint>
#include <string>

// The command line. Without options the game starts as the user left it.
struct Options {
    enum class Action { Play, Help, Version, Usage };
    Action action = Action::Play;
    // -1 as last time, 0 a window, 1 full screen.
    int fullScreen = -1;
    bool resetSettings = false;
    // Where the next battle match is recorded; the recorded match shown instead of the title and menu.
    std::string recordFile;
    std::string replayFile;
    // Online: host on the port, or join the host at its port (0 while neither).
    bool host = false;
    std::string joinHost;
    uint16_t port = 0;
    // What is wrong with the command line, in one line, for Action::Usage.
    std::string error;
};

Options ParseOptions(int argc, const char* const* argv);
// The usage text, one option a line.
const char* UsageText();
// "tintorix 1.0.0".
const char* VersionText();
