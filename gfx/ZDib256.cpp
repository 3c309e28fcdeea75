#include "gfx/ZDib256.h"

#include <cstdlib>
#include <cstring>

#include "base/Resources.h"
#include "gfx/Display.h"

namespace {

uint32_t ReadU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Larger than any picture of the game by far; a header asking for more is damaged.
constexpr int64_t kMaxDimension = 16384;

}  // namespace

ZDib256::ZDib256(uint16_t resourceId) { LoadFromResource(resourceId); }

ZDib256::~ZDib256() = default;

bool ZDib256::LoadFromResource(uint16_t resourceId) {
    Clear();
    ResourceData data;
    if (!FindResource(ResourceType::Bitmap, resourceId, &data)) {
        return false;
    }
    return LoadFromBytes(data.bytes, data.size);
}

bool ZDib256::LoadFromBytes(const uint8_t* bytes, size_t size) {
    Clear();
    if (!bytes || size < static_cast<size_t>(kHeaderBlockSize)) {
        return false;
    }
    uint32_t headerSize = ReadU32(bytes);
    int32_t width = static_cast<int32_t>(ReadU32(bytes + 4));
    int32_t height = static_cast<int32_t>(ReadU32(bytes + 8));
    uint16_t bitCount = ReadU16(bytes + 14);
    uint32_t compression = ReadU32(bytes + 16);
    if (headerSize != kHeaderSize || bitCount != 8 || compression != 0) {
        return false;
    }
    int64_t rows = std::llabs(static_cast<int64_t>(height));
    if (width <= 0 || rows == 0 || width > kMaxDimension || rows > kMaxDimension) {
        return false;
    }
    int rowPitch = ComputePitch(bitCount, width);
    size_t pixelBytes = static_cast<size_t>(rowPitch) * static_cast<size_t>(rows);
    // The pixels follow the colour table directly; a resource cut short cannot be a whole bitmap.
    if (size - kHeaderBlockSize < pixelBytes) {
        return false;
    }
    header.reset(new uint8_t[kHeaderBlockSize]);
    std::memcpy(header.get(), bytes, kHeaderBlockSize);
    pixels.reset(new uint8_t[pixelBytes]);
    std::memcpy(pixels.get(), bytes + kHeaderBlockSize, pixelBytes);
    pitch = rowPitch;
    return true;
}

void ZDib256::Clear() {
    header.reset();
    pixels.reset();
    pitch = 0;
}

int ZDib256::GetWidth() const { return header ? static_cast<int32_t>(ReadU32(header.get() + 4)) : 0; }

int ZDib256::GetHeight() const {
    return header ? static_cast<int>(std::llabs(static_cast<int32_t>(ReadU32(header.get() + 8)))) : 0;
}

bool ZDib256::IsBottomUp() const { return !header || static_cast<int32_t>(ReadU32(header.get() + 8)) > 0; }

void ZDib256::GetPaletteEntries(int first, int count, PaletteEntry* destination) const {
    if (!header || first < 0 || count < 0 || first + count > 256) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        const uint8_t* quad = header.get() + kHeaderSize + (first + i) * 4;
        destination[i] = PaletteEntry{quad[2], quad[1], quad[0], 0};
    }
}

int ZDib256::ComputePitch(int bitCount, int width) {
    return static_cast<int>(((static_cast<int64_t>(bitCount) * width + 7) >> 3) + 3) & ~3;
}
