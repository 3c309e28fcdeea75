#include "gfx/ZNumber.h"

#include <cstdio>

ZNumber::ZNumber(uint16_t bitmapId) : digits(std::make_unique<ZSprite256>(bitmapId, 12)) {}

ZNumber::~ZNumber() = default;

int ZNumber::DrawNumber(int x, int y, int32_t value, int width) {
    if (!target) {
        return x;
    }
    char text[16];
    int n = std::snprintf(text, sizeof text, "%d", value);
    int cursor = x;
    int w = digits->GetWidth();
    if (width > 0 && n < width) {
        for (int i = 0; i < width - n; ++i) {
            digits->SetFrame(0);
            digits->SetPosition(cursor, y);
            if (zeroFill) {
                digits->Draw(target);
            }
            cursor += w;
        }
    }
    for (int i = 0; i < n; ++i) {
        if (n - i <= width) {
            // A minus sign maps to no cell of the sheet and leaves its cell empty.
            digits->SetFrame(text[i] - '0');
            digits->SetPosition(cursor, y);
            digits->Draw(target);
            cursor += w;
        }
    }
    return cursor;
}

int ZNumber::DrawGlyph11(int x, int y) {
    if (!target) {
        return x;
    }
    digits->SetFrame(11);
    digits->SetPosition(x, y);
    digits->Draw(target);
    return x + digits->GetWidth();
}
