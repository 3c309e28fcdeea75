#include "gfx/ZAscii.h"

#include <cstring>

ZAscii::ZAscii() : font0(std::make_unique<ZSprite256>(106, 38)), font1(std::make_unique<ZSprite256>(105, 38)) {}

ZAscii::~ZAscii() = default;

int ZAscii::CellOf(unsigned char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a';
    }
    if (c >= '0' && c <= '9') {
        return c - 22;
    }
    if (c == '-') {
        return 36;
    }
    if (c == '.') {
        return 37;
    }
    return -1;
}

int ZAscii::DrawString(int x, int y, const char* text) {
    if (!target || !text) {
        return x;
    }
    ZSprite256* sprite = font == 0 ? font0.get() : font == 1 ? font1.get() : nullptr;
    if (!sprite) {
        return x;
    }
    int n = static_cast<int>(std::strlen(text));
    int w = sprite->GetWidth();
    for (int i = 0; i < n; ++i) {
        int cell = CellOf(static_cast<unsigned char>(text[i]));
        if (cell >= 0) {
            sprite->SetFrame(cell);
            sprite->SetPosition(x + w * i, y);
            sprite->Draw(target);
        }
    }
    return x + w * n;
}
