#include "gfx/ZAscii.h"

#include <cstring>
#include <vector>

#include "base/Letters.h"

namespace {

constexpr uint16_t kKeyGlyphBitmaps[2] = {261, 260};
// The key glyph sheets' cells in order; tools/art/gen_bitmaps.py draws them from the same string.
constexpr const char* kKeyChars =
    "!\"#$%&'()*+,/:;<=>?@[\\]^_`{|}~"
    "¡£¤§¨ª«°²³´µº»½¿"
    "ßàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿ"
    "āăąćĉċčďđēĕėęěĝğġģĥħĩīĭįıĳĵķĸĺļľŀł"
    "ńņňŉŋōŏőœŕŗřśŝşšţťŧũūŭůűųŵŷźżžſșț";

const std::vector<uint32_t>& KeyChars() {
    static const std::vector<uint32_t> chars = [] {
        std::vector<uint32_t> read;
        for (const char* p = kKeyChars; *p;) {
            read.push_back(NextCodePoint(&p));
        }
        return read;
    }();
    return chars;
}

}  // namespace

ZAscii::ZAscii()
    : font0(std::make_unique<ZSprite256>(106, 38)),
      font1(std::make_unique<ZSprite256>(105, 38)),
      keyGlyphs0(std::make_unique<ZSprite256>(kKeyGlyphBitmaps[0], static_cast<int>(KeyChars().size()))),
      keyGlyphs1(std::make_unique<ZSprite256>(kKeyGlyphBitmaps[1], static_cast<int>(KeyChars().size()))) {}

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

int ZAscii::KeyCellOf(uint32_t codePoint) {
    const std::vector<uint32_t>& chars = KeyChars();
    for (size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] == codePoint) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ZAscii::DrawKeyLabel(int x, int y, uint32_t codePoint) {
    ZSprite256* sheet = font == 0 ? keyGlyphs0.get() : font == 1 ? keyGlyphs1.get() : nullptr;
    if (!target || !sheet) {
        return x;
    }
    if (codePoint < 0x80 && CellOf(static_cast<unsigned char>(codePoint)) >= 0) {
        const char text[2] = {static_cast<char>(codePoint), 0};
        return DrawString(x, y, text);
    }
    int cell = KeyCellOf(codePoint);
    if (cell >= 0) {
        sheet->SetFrame(cell);
        sheet->SetPosition(x, y);
        sheet->Draw(target);
    }
    return x + sheet->GetWidth();
}

int ZAscii::DrawLabels(int x, int y, const std::string& text) {
    for (const char* p = text.c_str(); *p;) {
        x = DrawKeyLabel(x, y, NextCodePoint(&p));
    }
    return x;
}

int ZAscii::CountCells(const std::string& text) {
    int cells = 0;
    for (const char* p = text.c_str(); *p; ++cells) {
        NextCodePoint(&p);
    }
    return cells;
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
