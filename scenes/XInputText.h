#pragma once

#include <cstdint>
#include <memory>

#include "base/ZString.h"
#include "gfx/Surface.h"
#include "gfx/ZAscii.h"
#include "gfx/ZSprite256.h"

class XAppData;

// The name-entry widget: a prompt box, an input field with a blinking cursor, and typing fed by the
// keyboard's buffered key presses. The round owns it and drives it once per frame.
class XInputText {
public:
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kTyping = 1;
    static constexpr int32_t kDone = 2;

    explicit XInputText(XAppData* app);
    XInputText(const XInputText&) = delete;
    XInputText& operator=(const XInputText&) = delete;
    virtual ~XInputText();

    void SetSurface(Surface* surface);
    // Measures the prompt held now, so it comes after SetPrompt.
    void CentreOnScreen();
    void SetPrompt(const ZString& text);
    void SetText(const ZString& newText, int32_t maxLength);
    const ZString& GetText() const { return text; }
    void Begin();
    bool IsDone() const { return state == kDone; }
    void Update();
    void Draw();

    int32_t GetState() const { return state; }
    int32_t GetMaxLength() const { return maxLength; }
    int GetBoxX() const { return x; }
    int GetBoxY() const { return y; }

private:
    XAppData* app;
    Surface* target = nullptr;
    std::unique_ptr<ZSprite256> cursor;
    std::unique_ptr<ZSprite256> fieldLeft;
    std::unique_ptr<ZSprite256> fieldMiddle;
    std::unique_ptr<ZSprite256> fieldRight;
    std::unique_ptr<ZSprite256> boxLeft;
    std::unique_ptr<ZSprite256> boxMiddle;
    std::unique_ptr<ZSprite256> boxRight;
    std::unique_ptr<ZAscii> font;
    int x = 0;
    int y = 0;
    int32_t maxLength = 10;
    ZString prompt;
    ZString text;
    int32_t state = kIdle;
};
