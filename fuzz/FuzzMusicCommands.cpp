// The music command interpreter: arbitrary command strings, paths included, with the piece ending at
// arbitrary moments; at most one success per play that asked for one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/MciSequencer.h"

namespace {

class Player : public MusicPlayer {
public:
    bool Open(const std::string& path) override { return !path.empty() && path.size() < 200; }
    bool Play(bool) override { return true; }
    void Stop() override {}
    void Close() override {}
    void SetVolume(int) override {}
    void End() { ReportEnd(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int successes = 0;
    int plays = 0;
    auto player = std::make_unique<Player>();
    Player* raw = player.get();
    MciSequencer sequencer(std::move(player), [&](int code) { successes += code == kMciNotifySuccessful; });
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // Lines are commands; a line starting with '!' is the piece reaching its end.
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line[0] == '!') {
            raw->End();
        } else if (sequencer.SendCommand(line) == kMciOk) {
            std::string lower(line);
            for (char& c : lower) {
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            }
            plays += lower.find("notify") != std::string::npos;
        }
        start = end + 1;
    }
    if (successes > plays) {
        __builtin_trap();
    }
    return 0;
}
