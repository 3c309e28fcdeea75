// The game's command line, from words split at NUL bytes: either refused with a reason, or options that
// go together.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "shell/Options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words = {"program"};
    for (size_t at = 0; at < size && words.size() < 24;) {
        const void* end = std::memchr(data + at, 0, size - at);
        size_t length = end ? static_cast<const uint8_t*>(end) - (data + at) : size - at;
        words.emplace_back(reinterpret_cast<const char*>(data + at), length);
        at += length + 1;
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());

    Options game = ParseOptions(argc, argv.data());
    bool holds = true;
    if (game.action == Options::Action::Usage) {
        holds = !game.error.empty();
    } else if (game.action == Options::Action::Play) {
        bool online = game.host || !game.joinHost.empty();
        holds = game.fullScreen >= -1 && game.fullScreen <= 1 && !(game.host && !game.joinHost.empty()) &&
                (!online || game.port != 0) && !(online && !game.replayFile.empty());
    }
    if (!holds) {
        __builtin_trap();
    }
    return 0;
}
