#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Surface.h"
#include "gfx/ZSprite256.h"

class XAppData;

// The frame the title, menu, winner and ranking screens share: the four phases with their blind-wipe
// fades, the scrolling background, the two cursor markers, and the keys and sounds of the cursor.
class XFrontEnd {
public:
    static constexpr int32_t kFinished = 0;
    static constexpr int32_t kActive = 1;
    static constexpr int32_t kFadingIn = 2;
    static constexpr int32_t kFadingOut = 3;
    // A fade lasts while the phase counter is at most this: 21 frames.
    static constexpr uint32_t kFadeLast = 20;

    static constexpr int32_t kSoundMove = 180;
    static constexpr int32_t kSoundDecide = 176;

    // One frame's reading of the scene keys, with up before down and confirm before cancel.
    struct Keys {
        bool up = false;
        bool down = false;
        bool confirm = false;
        bool cancel = false;
    };

    explicit XFrontEnd(XAppData* app);
    XFrontEnd(const XFrontEnd&) = delete;
    XFrontEnd& operator=(const XFrontEnd&) = delete;
    virtual ~XFrontEnd();

    // Takes a new input snapshot and reads the keys from it.
    static Keys ReadKeys();
    // The character a key is shown by: the one the keyboard layout puts on it, where the fonts have it; else
    // its US name, unless the layout puts that on another key; 0 for none.
    static uint32_t KeyCharacter(int scanCode);
    // Moves the cursor one step up or down with wrap-around, with the move sound.
    void StepCursor(const Keys& keys, int32_t* cursor, int32_t count);
    // The decision sound, and markers held still on their first frame.
    void Decide();
    // The active frame of a screen whose every entry leaves it: the markers animate, the cursor moves,
    // confirm leaves on the selected entry and cancel on cancelEntry.
    void ChooseEntry(int32_t* cursor, int32_t count, int32_t cancelEntry);
    void BeginFadeOut();
    void AnimateMarkers();

    // Counters up by one, then the phase change a fade's end brings. True in the frame the fade-out ends:
    // the scene runs its exit action then.
    bool Advance();
    void CountFrame();
    bool EndPhase();

    void DrawBackground(Surface* target);
    // Markers beside the selected sprite, only while active or fading out.
    void DrawMarkers(Surface* target, const ZSprite256& selected);
    void DrawFade(Surface* target) const;
    static void DrawFinished(Surface* target);

    int32_t GetPhase() const { return phase; }
    uint32_t GetPhaseCounter() const { return phaseCounter; }
    uint32_t GetFrameCounter() const { return frameCounter; }
    const ZSprite256& GetLeftMarker() const { return *leftMarker; }
    const ZSprite256& GetRightMarker() const { return *rightMarker; }

private:
    XAppData* app;
    std::unique_ptr<ZSprite256> background;
    std::unique_ptr<ZSprite256> leftMarker;
    std::unique_ptr<ZSprite256> rightMarker;
    uint32_t frameCounter = 0;
    uint32_t phaseCounter = 0;
    int32_t phase = kFadingIn;
};
