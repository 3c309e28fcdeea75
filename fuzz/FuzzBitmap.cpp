// Bitmap resources: the loader, and a sprite built from whatever it accepted.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Resources.h"
#include "gfx/Display.h"
#include "gfx/ZDib256.h"
#include "gfx/ZSprite256.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ZDib256 bitmap(0);
    if (bitmap.LoadFromBytes(data, size)) {
        PaletteEntry palette[256];
        bitmap.GetPaletteEntries(0, 256, palette);
        volatile uint8_t sink = bitmap.GetBits()[static_cast<size_t>(bitmap.GetPitch()) * bitmap.GetHeight() - 1];
        (void)sink;
    }
    // A sprite cut into frames from the same bytes, drawn and tested for collision.
    OverrideResource(ResourceType::Bitmap, 60000, std::vector<uint8_t>(data, data + size));
    int frames = size > 0 ? 1 + data[0] % 8 : 1;
    ZSprite256 sprite(60000, frames);
    auto target = Surface::Create(64, 64);
    target->SetClipRect(Rect{0, 0, 64, 64});
    sprite.SetFrame(frames - 1);
    sprite.SetPosition(-3, 5);
    sprite.Draw(target.get());
    sprite.DrawScaled(target.get(), 150, 50);
    ZSprite256 other(60000, 1);
    other.SetPosition(2, 2);
    (void)sprite.CollidesWith(other);
    ClearResourceOverrides();
    return 0;
}
