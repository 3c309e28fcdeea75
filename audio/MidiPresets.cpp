#include "audio/MidiPresets.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

struct Reader {
    const std::vector<uint8_t>& bytes;
    size_t at;
    size_t end;

    bool More() const { return at < end; }
    int Byte() { return at < end ? bytes[at++] : -1; }
    uint32_t Word(int count) {
        uint32_t value = 0;
        while (count-- > 0) {
            value = value << 8 | static_cast<uint32_t>(std::max(Byte(), 0));
        }
        return value;
    }
    uint32_t Quantity() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            int byte = Byte();
            if (byte < 0) {
                return 0;
            }
            value = value << 7 | (byte & 0x7F);
            if (!(byte & 0x80)) {
                break;
            }
        }
        return value;
    }
};

// Bank selects hold per channel across the tracks of a file.
void ReadTrack(Reader track, std::array<int, 16>& banks, std::set<std::pair<int, int>>& presets) {
    int status = 0;
    while (track.More()) {
        track.Quantity();  // the delta time
        int first = track.Byte();
        if (first < 0) {
            return;
        }
        if (first == 0xFF) {  // meta event
            track.Byte();
            track.at += track.Quantity();
            continue;
        }
        if (first == 0xF0 || first == 0xF7) {  // system exclusive
            track.at += track.Quantity();
            continue;
        }
        // Running status: a data byte repeats the last channel message's kind.
        int data = first;
        if (first & 0x80) {
            status = first;
            data = track.Byte();
        } else if (!status) {
            return;
        }
        if (data < 0) {
            return;
        }
        const int channel = status & 0x0F;
        switch (status & 0xF0) {
        case 0xC0:
            presets.insert({channel == MidiPresets::kDrumChannel ? MidiPresets::kDrumBank : banks[channel], data});
            break;
        case 0xD0:
            break;
        case 0xB0:
            if (data == 0) {
                banks[channel] = track.Byte();
                break;
            }
            track.Byte();
            break;
        default:
            track.Byte();
            break;
        }
    }
}

}  // namespace

std::set<std::pair<int, int>> MidiPresets::Read(const std::vector<uint8_t>& file) {
    std::set<std::pair<int, int>> presets;
    std::array<int, 16> banks{};
    Reader reader{file, 0, file.size()};
    if (reader.Word(4) != 0x4D546864) {  // "MThd"
        return presets;
    }
    reader.at += reader.Word(4);
    while (reader.at + 8 <= file.size()) {
        const uint32_t kind = reader.Word(4);
        const size_t length = reader.Word(4);
        const size_t end = std::min(file.size(), reader.at + length);
        if (kind == 0x4D54726B) {  // "MTrk"
            ReadTrack(Reader{file, reader.at, end}, banks, presets);
        }
        reader.at = end;
    }
    return presets;
}
