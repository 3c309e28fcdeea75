#include "gfx/Surface.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Far beyond any picture of the game; keeps width x height well inside memory and int arithmetic.
constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;

int Saturate(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

// Leaves the destination where the source holds the key. The rows must not overlap: whole blocks are
// read before any is written.
void CopyKeyedRow(uint8_t* to, const uint8_t* from, int count, uint8_t key) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    for (; i + 16 <= count; i += 16) {
        __m128i value = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        __m128i hole = _mm_cmpeq_epi8(value, keys);
        __m128i mixed = _mm_or_si128(_mm_and_si128(hole, under), _mm_andnot_si128(hole, value));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), mixed);
    }
    if (i + 8 <= count) {
        __m128i value = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + i));
        __m128i under = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(to + i));
        __m128i hole = _mm_cmpeq_epi8(value, keys);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to + i),
                         _mm_or_si128(_mm_and_si128(hole, under), _mm_andnot_si128(hole, value)));
        i += 8;
    }
#endif
    for (; i < count; ++i) {
        uint8_t value = from[i];
        to[i] = value != key ? value : to[i];
    }
}

}  // namespace

Rect MakeRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return Rect{Saturate(left), Saturate(top), Saturate(right), Saturate(bottom)};
}

std::unique_ptr<Surface> Surface::Create(int width, int height) {
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxPixels) {
        return nullptr;
    }
    int pitch = (width + 3) & ~3;
    return std::unique_ptr<Surface>(new Surface(width, height, pitch));
}

Surface::Surface(int width, int height, int pitch)
    : width(width), height(height), pitch(pitch), pixels(new uint8_t[static_cast<size_t>(pitch) * height]()) {}

void Surface::SetClipRect(const Rect& clip) {
    // A clip list never reaches outside its surface.
    clipRect = Rect{std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, width),
                    std::min(clip.bottom, height)};
}

bool Surface::ClipDestination(const Rect& dst, Rect* visible, bool* empty) const {
    *empty = false;
    if (dst.left >= dst.right || dst.top >= dst.bottom) {
        return false;
    }
    if (!clipRect) {
        if (dst.left < 0 || dst.top < 0 || dst.right > width || dst.bottom > height) {
            return false;
        }
        *visible = dst;
        return true;
    }
    visible->left = std::max(dst.left, clipRect->left);
    visible->top = std::max(dst.top, clipRect->top);
    visible->right = std::min(dst.right, clipRect->right);
    visible->bottom = std::min(dst.bottom, clipRect->bottom);
    if (visible->left >= visible->right || visible->top >= visible->bottom) {
        *empty = true;  // wholly outside the clip: nothing to draw, not an error
    }
    return true;
}

bool Surface::ColourFill(const Rect* rect, uint8_t index) {
    Rect dst = rect ? *rect : Rect{0, 0, width, height};
    Rect visible;
    bool empty;
    if (!ClipDestination(dst, &visible, &empty)) {
        return false;
    }
    if (empty) {
        return true;
    }
    for (int y = visible.top; y < visible.bottom; ++y) {
        std::memset(Row(y) + visible.left, index, visible.Width());
    }
    return true;
}

bool Surface::Blt(const Rect* dstRect, const Surface& source, const Rect* srcRect, bool keyed) {
    Rect src = srcRect ? *srcRect : Rect{0, 0, source.width, source.height};
    if (src.left < 0 || src.top < 0 || src.right > source.width || src.bottom > source.height ||
        src.left >= src.right || src.top >= src.bottom) {
        return false;
    }
    Rect dst = dstRect ? *dstRect : Rect{0, 0, width, height};
    Rect visible;
    bool empty;
    if (!ClipDestination(dst, &visible, &empty)) {
        return false;
    }
    if (empty) {
        return true;
    }
    bool useKey = keyed && source.colourKey.has_value();
    uint8_t key = source.colourKey.value_or(0);
    int64_t dstW = static_cast<int64_t>(dst.right) - dst.left;
    int64_t dstH = static_cast<int64_t>(dst.bottom) - dst.top;
    int64_t srcW = src.Width();
    int64_t srcH = src.Height();
    int visibleW = visible.Width();

    if (dstW == srcW && dstH == srcH) {
        int sx = src.left + (visible.left - dst.left);
        // A keyed copy within one surface may overlap itself, and then goes pixel by pixel.
        bool blocks = &source != this;
        for (int y = visible.top; y < visible.bottom; ++y) {
            const uint8_t* from = source.Row(src.top + (y - dst.top)) + sx;
            uint8_t* to = Row(y) + visible.left;
            if (!useKey) {
                std::memmove(to, from, visibleW);
            } else if (blocks) {
                CopyKeyedRow(to, from, visibleW, key);
            } else {
                for (int i = 0; i < visibleW; ++i) {
                    to[i] = from[i] != key ? from[i] : to[i];
                }
            }
        }
        return true;
    }

    // Stretch: each destination pixel samples the source pixel its position maps onto, measured in the
    // uncut destination so that the visible part lands where it would have uncut.
    static thread_local std::vector<int> columns;
    columns.resize(visibleW);
    for (int i = 0; i < visibleW; ++i) {
        int64_t offset = static_cast<int64_t>(visible.left) + i - dst.left;
        columns[i] = src.left + static_cast<int>(offset * srcW / dstW);
    }
    for (int y = visible.top; y < visible.bottom; ++y) {
        int64_t offset = static_cast<int64_t>(y) - dst.top;
        const uint8_t* from = source.Row(src.top + static_cast<int>(offset * srcH / dstH));
        uint8_t* to = Row(y) + visible.left;
        for (int i = 0; i < visibleW; ++i) {
            uint8_t value = from[columns[i]];
            if (!useKey || value != key) {
                to[i] = value;
            }
        }
    }
    return true;
}
