#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "audio/MidiPresets.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A standard MIDI file of the given tracks (their events, without the end-of-track meta event).
Bytes File(const std::vector<Bytes>& tracks) {
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, static_cast<uint8_t>(tracks.size()), 0, 96};
    for (Bytes track : tracks) {
        track.insert(track.end(), {0, 0xFF, 0x2F, 0});
        const size_t size = track.size();
        file.insert(file.end(), {'M', 'T', 'r', 'k', 0, 0, static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size)});
        file.insert(file.end(), track.begin(), track.end());
    }
    return file;
}

Bytes Cut(Bytes file, size_t drop) {
    file.resize(file.size() - drop);
    return file;
}

TEST(MidiPresets, EveryInstrumentAFileSelectsIsFoundWithItsBank) {
    using Presets = std::set<std::pair<int, int>>;
    const struct {
        const char* what;
        Bytes file;
        Presets expected;
    } cases[] = {
        {"two channels", File({{0, 0xC0, 5, 0, 0xC1, 33}}), {{0, 5}, {0, 33}}},
        {"drums take the drum bank", File({{0, 0xC9, 16}}), {{128, 16}}},
        {"a bank select counts on its channel only", File({{0, 0xB2, 0, 8, 0, 0xC2, 4, 0, 0xC3, 4}}), {{8, 4}, {0, 4}}},
        {"a bank select holds into a later track", File({{0, 0xB4, 0, 1}, {0, 0xC4, 80}}), {{1, 80}}},
        {"running status, notes and a long delta",
         File({{0, 0xC0, 1, 0x81, 0x80, 0, 0x90, 60, 100, 10, 62, 100, 0, 0xC0, 2, 0, 0xE0, 0, 64, 0, 0xD0, 9, 0, 0xC0, 3}}),
         {{0, 1}, {0, 2}, {0, 3}}},
        {"meta and system exclusive skipped",
         File({{0, 0xFF, 0x03, 3, 0xC0, 0xC1, 0xC2, 0, 0xF0, 3, 0xC3, 1, 0xF7, 0, 0xC5, 7}}), {{0, 7}}},
        {"a meta event of two length bytes skipped whole", File({[] {
             Bytes track = {0, 0xFF, 0x01, 0x81, 0};
             for (int i = 0; i < 64; ++i) track.insert(track.end(), {0xC0, 0x11});
             return track.insert(track.end(), {0, 0xC5, 7}), track;
         }()}), {{0, 7}}},
        {"not a MIDI file", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 4, 0xC0, 1}, {}},
        {"a track cut short keeps what came before it", Cut(File({{0, 0xC0, 9, 0, 0xC1, 40}}), 5), {{0, 9}}},
    };
    for (const auto& c : cases) EXPECT_EQ(MidiPresets::Read(c.file), c.expected) << c.what;
}

}  // namespace
