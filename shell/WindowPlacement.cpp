#include "shell/WindowPlacement.h"

#include <algorithm>

namespace {

// Where a span of length size starts within [low, low + room): the wanted start pulled inside, or
// centred when none is wanted; the start of the room when the span is longer.
int Place(int wanted, int size, int low, int room) {
    int start = wanted == WindowPlacement::kUnset ? low + (room - size) / 2 : wanted;
    return std::max(low, std::min(start, low + room - size));
}

}  // namespace

Rect WindowPlacement::FittedTo(const Rect& usable) const {
    int room = usable.Width();
    int roomHeight = usable.Height();
    int w = 0;
    int h = 0;
    if (width == kUnset || height == kUnset) {
        int scale = std::max(1, std::min(room / kMinWidth, roomHeight / kMinHeight));
        w = kMinWidth * scale;
        h = kMinHeight * scale;
    } else {
        w = std::max(kMinWidth, std::min(width, room));
        h = std::max(kMinHeight, std::min(height, roomHeight));
    }
    int left = Place(x, w, usable.left, room);
    int top = Place(y, h, usable.top, roomHeight);
    return {left, top, left + w, top + h};
}
