#include "round/XCanvasPlane.h"

#include <algorithm>
#include <cstring>

#include "base/ZStateStream.h"
#include "gfx/Pictures.h"
#include "shell/XAppData.h"

namespace {

// Past this much history, what no snapshot needs is dropped once it is at least half of it: each byte is then
// moved about once, and the history stays in the same few warm pages instead of spreading over megabytes.
constexpr size_t kHistoryBytes = 256 << 10;

}  // namespace

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
    if (Surface* field = GetFieldSurface(); field && keeping) {
        Remember(Rect{0, 0, field->GetWidth(), field->GetHeight()});
    }
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

void XCanvasPlane::Stamp(ZSprite256* stamp) {
    Surface* field = GetFieldSurface();
    if (!field) {
        return;
    }
    if (keeping) {
        Rect area{std::max(stamp->GetX(), 0), std::max(stamp->GetY(), 0),
                  std::min(stamp->GetX() + stamp->GetWidth(), field->GetWidth()),
                  std::min(stamp->GetY() + stamp->GetHeight(), field->GetHeight())};
        if (area.left < area.right && area.top < area.bottom) {
            Remember(area);
        }
    }
    stamp->Draw(field);
}

void XCanvasPlane::Remember(const Rect& area) {
    const Surface* field = GetFieldSurface();
    size_t at = history.size();
    auto width = static_cast<size_t>(area.Width());
    changes.push_back({area, at});
    history.resize(at + width * static_cast<size_t>(area.Height()));
    for (int y = area.top; y < area.bottom; ++y, at += width) {
        std::memcpy(history.data() + at, field->Row(y) + area.left, width);
    }
}

void XCanvasPlane::KeepHistory(bool keep) {
    keeping = keep;
    changes.clear();
    history.clear();
    forgotten = 0;
    marks = {};
}

void XCanvasPlane::SaveState(ZStateStream* out) {
    out->Put(keeping);
    if (keeping) {
        uint64_t mark = forgotten + changes.size();
        out->Put(mark);
        marks[nextMark++ % marks.size()] = mark;
        // Now and then the changes no kept snapshot goes back before are dropped, in one move.
        uint64_t oldest = *std::min_element(marks.begin(), marks.end());
        auto drop = static_cast<size_t>(oldest - forgotten);
        size_t bytes = drop == 0 ? 0 : drop < changes.size() ? changes[drop].at : history.size();
        if (history.size() > kHistoryBytes && 2 * bytes >= history.size()) {
            history.erase(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(bytes));
            changes.erase(changes.begin(), changes.begin() + static_cast<std::ptrdiff_t>(drop));
            for (Change& change : changes) {
                change.at -= bytes;
            }
            forgotten = oldest;
        }
        return;
    }
    const Surface* field = GetFieldSurface();
    size_t size = field ? static_cast<size_t>(field->GetPitch()) * static_cast<size_t>(field->GetHeight()) : 0;
    out->Put(size);
    if (size > 0) {
        out->PutBytes(field->GetPixels(), size);
    }
}

void XCanvasPlane::LoadState(ZStateStream* in) {
    bool kept = false;
    in->Get(kept);
    Surface* field = GetFieldSurface();
    if (kept) {
        uint64_t mark = 0;
        in->Get(mark);
        while (field && mark >= forgotten && forgotten + changes.size() > mark) {
            const Change& change = changes.back();
            const uint8_t* from = history.data() + change.at;
            for (int y = change.area.top; y < change.area.bottom; ++y, from += change.area.Width()) {
                std::memcpy(field->Row(y) + change.area.left, from, static_cast<size_t>(change.area.Width()));
            }
            history.resize(change.at);
            changes.pop_back();
        }
        return;
    }
    size_t size = 0;
    in->Get(size);
    // The field is made at the first round's start, which a snapshot never goes back before.
    if (size > 0 && field && size == static_cast<size_t>(field->GetPitch()) * static_cast<size_t>(field->GetHeight())) {
        in->GetBytes(field->GetPixels(), size);
    } else {
        in->Skip(size);
    }
}
