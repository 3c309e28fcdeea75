#include "shell/Options.h"

#include <cstdlib>
#include <string>

#include "shell/CommandLine.h"

#ifndef TINTORIX_VERSION
#define TINTORIX_VERSION "unknown"
#endif

namespace {

constexpr uint16_t kDefaultPort = 24680;

// 1 to 65535 written in digits alone, else 0.
uint16_t ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    long port = std::strtol(text.c_str(), nullptr, 10);
    return port <= 65535 ? static_cast<uint16_t>(port) : 0;
}

}  // namespace

Options ParseOptions(int argc, const char* const* argv) {
    using Takes = CommandLine::Takes;
    CommandLine line(argc, argv,
                     {{"--help"},
                      {"-h"},
                      {"--version"},
                      {"--window"},
                      {"--fullscreen"},
                      {"--reset-settings"},
                      {"--record", Takes::Value, "a file"},
                      {"--replay", Takes::Value, "a file"},
                      {"--host", Takes::OptionalValue, "a port"},
                      {"--join", Takes::Value, "a host"}});
    Options options;
    // Asked for help, the rest of the line does not matter.
    bool help = line.Has("--help") || line.Has("-h");
    if (help || line.Has("--version")) {
        options.action = help ? Options::Action::Help : Options::Action::Version;
        return options;
    }
    options.fullScreen = line.Has("--fullscreen") ? 1 : line.Has("--window") ? 0 : -1;
    options.resetSettings = line.Has("--reset-settings");
    if (const CommandLine::Given* record = line.Find("--record")) {
        options.recordFile = record->value;
    }
    if (const CommandLine::Given* replay = line.Find("--replay")) {
        options.replayFile = replay->value;
    }
    std::string portText;
    if (const CommandLine::Given* host = line.Find("--host")) {
        options.host = true;
        portText = host->hasValue ? host->value : std::to_string(kDefaultPort);
    } else if (const CommandLine::Given* join = line.Find("--join")) {
        const std::string& address = join->value;
        size_t colon = address.rfind(':');
        // A single colon separates the port; more are an IPv6 address, left whole.
        bool withPort = colon != std::string::npos && address.find(':') == colon;
        options.joinHost = withPort ? address.substr(0, colon) : address;
        portText = withPort ? address.substr(colon + 1) : std::to_string(kDefaultPort);
    }
    options.port = ParsePort(portText);
    if ((options.host || !options.joinHost.empty()) && options.port == 0) {
        line.Refuse((options.host ? "--host: " : "--join: ") + portText +
                    " is not a port, a number from 1 to 65535");
    }
    line.Exclude("--window", "--fullscreen");
    line.Exclude("--host", "--join");
    line.Exclude("--replay", "--host");
    line.Exclude("--replay", "--join");
    // A replay ends the game, so nothing would be recorded.
    line.Exclude("--record", "--replay");
    if (line.IsRefused()) {
        options.action = Options::Action::Usage;
        options.error = line.GetError();
    }
    return options;
}

const char* UsageText() {
    return "usage: tintorix [--window | --fullscreen] [--reset-settings] [--record FILE] [--replay FILE]\n"
           "                [--host [PORT] | --join HOST[:PORT]]\n"
           "       tintorix --help | --version\n"
           "\n"
           "  --window          start in a window\n"
           "  --fullscreen      start full screen\n"
           "  --reset-settings  forget the window, volumes and keys set before\n"
           "  --record FILE     record the next battle match to the file\n"
           "  --replay FILE     show a recorded match, then end\n"
           "  --host [PORT]     let other computers join battle matches on the UDP port (24680)\n"
           "  --join HOST[:PORT]  play in the battle matches of the computer HOST hosts\n"
           "  --help            show this text\n"
           "  --version         show the version\n"
           "\n"
           "A value may also follow its option after an equals sign: --host=30000.\n"
           "Without options the game starts as it was left, full screen the first time.\n";
}

const char* VersionText() {
    return "tintorix " TINTORIX_VERSION;
}
