#include "shell/Options.h"

#include <cstdlib>
#include <cstring>

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
        } else if (std::strcmp(option, "--host") == 0) {
            options.host = true;
            options.port = kDefaultPort;
            // The port is optional: only a word of digits is one.
            if (i + 1 < argc && argv[i + 1][0] >= '0' && argv[i + 1][0] <= '9') {
                options.port = ParsePort(argv[++i]);
            }
        } else if (std::strcmp(option, "--join") == 0 && i + 1 < argc && argv[i + 1][0] != '\0' &&
                   std::strncmp(argv[i + 1], "--", 2) != 0) {
            std::string address = argv[++i];
            size_t colon = address.rfind(':');
            // A single colon separates the port; more are an IPv6 address, left whole.
            bool withPort = colon != std::string::npos && address.find(':') == colon;
            options.joinHost = withPort ? address.substr(0, colon) : address;
            options.port = withPort ? ParsePort(address.substr(colon + 1)) : kDefaultPort;
        } else {
            options.action = Options::Action::Usage;
            options.error = std::strcmp(option, "--join") == 0 ? std::string("--join needs a host")
                                                               : std::string("unknown option: ") + option;
        }
    }
    bool online = options.host || !options.joinHost.empty();
    if (options.action == Options::Action::Play && online && options.port == 0) {
        options.action = Options::Action::Usage;
        options.error = "a port is a number from 1 to 65535";
    } else if (options.action == Options::Action::Play && options.host && !options.joinHost.empty()) {
        options.action = Options::Action::Usage;
        options.error = "--host and --join do not go together";
    } else if (options.action == Options::Action::Play && online && !options.replayFile.empty()) {
        options.action = Options::Action::Usage;
        options.error = "a replay is not played online";
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
           "Without options the game starts as it was left, full screen the first time.\n";
}

const char* VersionText() {
    return "tintorix " TINTORIX_VERSION;
}
