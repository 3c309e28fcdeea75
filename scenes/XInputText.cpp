#include "scenes/XInputText.h"

#include "gfx/Display.h"
#include "input/Input.h"
#include "shell/XAppData.h"

namespace {

constexpr int kSoundDecide = 176;

bool IsAccepted(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ' ';
}

}  // namespace

XInputText::XInputText(XAppData* app)
    : app(app),
      cursor(std::make_unique<ZSprite256>(239, 2)),
      fieldLeft(std::make_unique<ZSprite256>(241, 1)),
      fieldMiddle(std::make_unique<ZSprite256>(237, 1)),
      fieldRight(std::make_unique<ZSprite256>(238, 1)),
      boxLeft(std::make_unique<ZSprite256>(240, 1)),
      boxMiddle(std::make_unique<ZSprite256>(236, 1)),
      boxRight(std::make_unique<ZSprite256>(242, 1)),
      font(std::make_unique<ZAscii>()) {
    font->SetFont(0);
    cursor->SetAnimationWait(8);
    fieldLeft->SetTransparent(false);
    fieldMiddle->SetTransparent(false);
    fieldRight->SetTransparent(false);
    boxLeft->SetTransparent(false);
    boxMiddle->SetTransparent(false);
    boxRight->SetTransparent(false);
}

XInputText::~XInputText() = default;

void XInputText::SetSurface(Surface* surface) {
    target = surface;
    font->SetSurface(surface);
}

void XInputText::CentreOnScreen() {
    int width = boxLeft->GetWidth() + boxMiddle->GetWidth() * prompt.GetLength() + boxRight->GetWidth();
    int height = boxLeft->GetHeight();
    x = (GetScreenWidth() - width) / 2;
    y = (GetScreenHeight() - height) / 2;
}

void XInputText::SetPrompt(const ZString& newPrompt) { prompt = newPrompt; }

void XInputText::SetText(const ZString& newText, int32_t newMaxLength) {
    if (newMaxLength < 0) {
        newMaxLength = 0;
    }
    if (newText.GetLength() > newMaxLength) {
        text = newMaxLength > 0 ? newText.Mid(0, newMaxLength - 1) : ZString();
    } else {
        text = newText;
    }
    maxLength = newMaxLength;
}

void XInputText::Begin() {
    state = kTyping;
    FlushTypedKeys();
    // Typing P must not pause the game.
    app->hotKeysEnabled = false;
}

void XInputText::Update() {
    if (state != kTyping) {
        return;
    }
    cursor->Animate();
    ZString typed;
    ReadTypedKeys(typed);
    const char* chars = typed.GetBuffer();
    for (int i = 0; i < typed.GetLength(); ++i) {
        char c = chars[i];
        if (text.GetLength() < maxLength && IsAccepted(c)) {
            text.Append(c);
        }
        if (c == 8) {
            int length = text.GetLength();
            text = length <= 1 ? ZString() : text.Mid(0, length - 2);
        }
        if (c == 10) {
            app->PlaySoundEffect(kSoundDecide, 0);
            state = kDone;
            app->hotKeysEnabled = true;
            // Whatever was typed behind the Enter is dropped.
            return;
        }
    }
}

void XInputText::Draw() {
    if (!target) {
        return;
    }
    WipeTopBottom(target, 100);
    if (state != kTyping) {
        return;
    }
    int innerX = x + boxLeft->GetWidth();
    boxLeft->DrawAt(x, y, target);
    int drawX = innerX;
    for (int i = 0; i < prompt.GetLength(); ++i) {
        boxMiddle->DrawAt(drawX, y, target);
        drawX += boxMiddle->GetWidth();
    }
    boxRight->DrawAt(drawX, y, target);

    int fieldY = y + 37;
    fieldLeft->DrawAt(innerX, fieldY, target);
    drawX = innerX + fieldLeft->GetWidth();
    for (int i = 0; i < maxLength + 1; ++i) {
        fieldMiddle->DrawAt(drawX, fieldY, target);
        drawX += fieldMiddle->GetWidth();
    }
    fieldRight->DrawAt(drawX, fieldY, target);

    font->DrawString(innerX, y + 14, prompt.GetBuffer());
    int textEnd = font->DrawString(innerX + fieldLeft->GetWidth(), y + 41, text.GetBuffer());
    cursor->DrawAt(textEnd, y + 41, target);
}
