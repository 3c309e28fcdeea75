#include "gfx/Pictures.h"

#include <cstring>
#include <map>
#include <memory>

#include "base/Resources.h"
#include "gfx/ZDib256.h"

namespace {

struct PictureCache {
    uint32_t resourceGeneration = 0;
    std::map<uint16_t, std::unique_ptr<Surface>> pictures;
};

std::unique_ptr<Surface> Decode(uint16_t bitmapId) {
    ZDib256 bitmap(bitmapId);
    if (!bitmap.IsLoaded()) {
        return nullptr;
    }
    int width = bitmap.GetWidth();
    int height = bitmap.GetHeight();
    std::unique_ptr<Surface> picture = Surface::Create(width, height);
    if (!picture) {
        return nullptr;
    }
    bool bottomUp = bitmap.IsBottomUp();
    for (int r = 0; r < height; ++r) {
        int row = bottomUp ? height - 1 - r : r;
        std::memcpy(picture->Row(r), bitmap.GetBits() + static_cast<size_t>(row) * bitmap.GetPitch(), width);
    }
    return picture;
}

}  // namespace

const Surface* FindPicture(uint16_t bitmapId) {
    static PictureCache cache;
    // Resources replaced since (by a test) make every kept picture stale.
    if (cache.resourceGeneration != ResourceGeneration()) {
        cache.pictures.clear();
        cache.resourceGeneration = ResourceGeneration();
    }
    auto found = cache.pictures.find(bitmapId);
    if (found == cache.pictures.end()) {
        found = cache.pictures.emplace(bitmapId, Decode(bitmapId)).first;
    }
    return found->second.get();
}
