#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

// Every instrument a standard MIDI file selects, as (bank, program) pairs: bank 128 on the drum channel,
// elsewhere the last bank select (controller 0) of that channel. A synthesiser that loads samples on
// demand can load these once, before the piece plays, and never give them back while it renders.
class MidiPresets {
public:
    // Empty when the bytes are not a standard MIDI file; what precedes a damaged track is kept.
    static std::set<std::pair<int, int>> Read(const std::vector<uint8_t>& file);

    static constexpr int kDrumChannel = 9;
    static constexpr int kDrumBank = 128;
};
