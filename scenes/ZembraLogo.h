#pragma once

#include <cstdint>
#include <memory>

#include "gfx/ZSprite256.h"

class XAppData;

// The label's logo on white, with its jingle, for a fixed time. After its first half second confirm or
// cancel skips it; a press before then is taken for the one that started the game and does nothing.
class ZembraLogo {
public:
    static constexpr uint32_t kFirstSkippableFrame = 13;

    explicit ZembraLogo(XAppData* app);
    ZembraLogo(const ZembraLogo&) = delete;
    ZembraLogo& operator=(const ZembraLogo&) = delete;
    virtual ~ZembraLogo();

    void UpdateFrame();
    uint32_t GetFrameCounter() const { return frameCounter; }

private:
    XAppData* app;
    std::unique_ptr<ZSprite256> logo;
    uint32_t frameCounter = 0;
};
