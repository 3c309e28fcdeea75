#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "round/XFrameInput.h"

class XMenuData;

// A recorded battle match: the menu's settings, the random seed at the match's start, every frame's input
// of every seat and the match's checksum, so that playing it again tells whether it played the same.
// On file: magic, format version and the game's version; the settings and the seed; the frames, run-length
// coded; the checksum; and a hash of everything before it, against damage. Numbers are little-endian.
class XReplay {
public:
    // Format 2 adds the seats the computer took over online; format 1 files still play.
    static constexpr uint8_t kFormatVersion = 2;
    static constexpr uint8_t kFirstReadableVersion = 1;
    // Nearly three hours at 25 frames a second; a new input every frame still fits the file size.
    static constexpr uint32_t kMaxFrames = 1u << 18;
    static constexpr size_t kMaxFileBytes = 1u << 20;

    // A new recording, of this game's version.
    XReplay();
    XReplay(XReplay&&) = default;
    XReplay& operator=(XReplay&&) = default;
    virtual ~XReplay();

    void TakeSettings(const XMenuData& settings);
    void GiveSettings(XMenuData* settings) const;

    std::string Format() const;
    // Empty when the bytes hold a whole replay of this format, which then replaces this one; else why
    // not, in a few words.
    std::string Parse(std::string_view bytes);
    std::string Load(const std::string& path);
    bool Save(const std::string& path) const;

    std::string gameVersion;
    int32_t winsNeeded = 2;
    int32_t singleBattle = 1;
    int32_t controlType[4] = {0, 1, 1, 1};
    uint32_t seed = 0;
    std::vector<XFrameInput> frames;
    uint64_t checksum = 0;
};
