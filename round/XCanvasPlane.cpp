#include "round/XCanvasPlane.h"

#include "base/ZStateStream.h"
#include "gfx/Pictures.h"
#include "shell/XAppData.h"

XCanvasPlane::XCanvasPlane(XAppData* app) : app(app) {
    // Decoded while the scene is built, so that the first round's first frame only copies it.
    FindPicture(kFieldBitmap);
}

XCanvasPlane::~XCanvasPlane() = default;

Surface* XCanvasPlane::GetFieldSurface() const {
    return fieldSprite ? fieldSprite->GetSurface() : nullptr;
}

Rect XCanvasPlane::GetPaintRect() const {
    int width = fieldSprite ? fieldSprite->GetWidth() : kFieldWidth;
    int height = fieldSprite ? fieldSprite->GetHeight() : kFieldHeight;
    return Rect{leftMargin + kPaintInset, topMargin + kPaintInset, width - rightMargin - kPaintInset,
                height - bottomMargin - kPaintInset};
}

Rect XCanvasPlane::GetCountedRect() const {
    return Rect{leftMargin, topMargin, kFieldWidth - rightMargin, kFieldHeight - bottomMargin};
}

void XCanvasPlane::Reset() {
    // Every round after the first paints on the same surface, cleaned by a copy of the picture.
    if (!fieldSprite || !fieldSprite->RestorePicture()) {
        fieldSprite = std::make_unique<ZSprite256>(kFieldBitmap, 1);
    }
    fieldSprite->SetTransparent(false);
    Surface* surface = fieldSprite->GetSurface();
    // Without a display there is nothing to make the clipper from, and stamps are then not cut.
    if (surface && app && app->displayDevice) {
        surface->SetClipRect(GetPaintRect());
    }
}

XCanvasPlane::AreaCount XCanvasPlane::CountArea(const std::array<uint8_t, 4>& colours) const {
    AreaCount result;
    const Surface* surface = GetFieldSurface();
    Rect counted = GetCountedRect();
    if (!surface || counted.right > surface->GetWidth() || counted.bottom > surface->GetHeight()) {
        return result;
    }
    // Tally 0 is nobody's; players that share an index share one tally and both count it.
    uint8_t owner[256] = {};
    for (int player = 3; player >= 0; --player) {
        owner[colours[player]] = static_cast<uint8_t>(player + 1);
    }
    int64_t tally[5] = {};
    for (int y = counted.top; y < counted.bottom; ++y) {
        const uint8_t* row = surface->Row(y);
        for (int x = counted.left; x < counted.right; ++x) {
            ++tally[owner[row[x]]];
        }
    }
    for (int player = 0; player < 4; ++player) {
        result.counts[player] = static_cast<int32_t>(tally[owner[colours[player]]]);
    }
    result.total = counted.Width() * counted.Height();
    return result;
}

void XCanvasPlane::Draw(int x, int y, Surface* target) {
    if (fieldSprite) {
        fieldSprite->DrawAt(x, y, target);
    }
}

void XCanvasPlane::SaveState(ZStateStream* out) const {
    const Surface* field = GetFieldSurface();
    size_t size = field ? static_cast<size_t>(field->GetPitch()) * static_cast<size_t>(field->GetHeight()) : 0;
    out->Put(size);
    if (size > 0) {
        out->PutBytes(field->GetPixels(), size);
    }
}

void XCanvasPlane::LoadState(ZStateStream* in) {
    size_t size = 0;
    in->Get(size);
    Surface* field = GetFieldSurface();
    // The field is made at the first round's start, which a snapshot never goes back before.
    if (size > 0 && field && size == static_cast<size_t>(field->GetPitch()) * static_cast<size_t>(field->GetHeight())) {
        in->GetBytes(field->GetPixels(), size);
    } else {
        in->Skip(size);
    }
}
