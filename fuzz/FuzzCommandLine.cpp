// The game's command line, from words split at NUL bytes: either refused with a reason, or options that
// go together.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "shell/Options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words = FuzzInput(data, size).Words();
    std::vector<char*> argv = FuzzInput::Pointers(words);
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
