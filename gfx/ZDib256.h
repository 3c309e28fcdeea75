#pragma once

#include <cstdint>
#include <memory>

struct PaletteEntry;

// An 8-bit bitmap with a 256-colour table, loaded from a bitmap resource. Rows are held as stored:
// for the usual positive height the first row in memory is the picture's bottom row.
class ZDib256 {
public:
    static constexpr int kHeaderSize = 40;
    static constexpr int kHeaderBlockSize = kHeaderSize + 256 * 4;

    explicit ZDib256(uint16_t resourceId);
    ZDib256(const ZDib256&) = delete;
    ZDib256& operator=(const ZDib256&) = delete;
    virtual ~ZDib256();

    bool LoadFromResource(uint16_t resourceId);
    // Loads from the bytes of a bitmap resource (a BMP file without its 14-byte file header).
    bool LoadFromBytes(const uint8_t* bytes, size_t size);
    void Clear();
    bool IsLoaded() const { return pixels != nullptr; }

    int GetWidth() const;
    int GetHeight() const;
    int GetPitch() const { return pitch; }
    // True for the usual positive height: the first stored row is the picture's bottom row.
    bool IsBottomUp() const;
    const uint8_t* GetBits() const { return pixels.get(); }
    void GetPaletteEntries(int first, int count, PaletteEntry* destination) const;

    // The row length in bytes, rounded up to a multiple of 4.
    static int ComputePitch(int bitCount, int width);

private:
    std::unique_ptr<uint8_t[]> header;
    std::unique_ptr<uint8_t[]> pixels;
    int pitch = 0;
};
