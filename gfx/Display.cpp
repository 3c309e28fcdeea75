#include "gfx/Display.h"

#include <algorithm>

#include "gfx/ZAscii.h"
#include "gfx/ZDib256.h"

namespace {

std::unique_ptr<DisplayDevice> MakeHeadlessDevice(void*) { return std::make_unique<DisplayDevice>(); }

DisplayDeviceFactory deviceFactory = MakeHeadlessDevice;

struct Display {
    void* window = nullptr;
    std::unique_ptr<DisplayDevice> device;
    std::unique_ptr<Surface> primary;
    std::unique_ptr<Surface> back;
    int width = 640;
    int height = 480;
    int bitsPerPixel = 8;
    uint32_t modeFlags = kDisplayNormal;
};

Display* display = nullptr;
PaletteEntry paletteEntries[256];
bool paletteLoaded = false;

// The paused picture: the last frame dimmed, with the word in the game's letters, enlarged.
constexpr int kPauseWordScale = 4;
constexpr int kPauseDimPercent = 40;
// A cell of the game's large letters.
constexpr int kLetterWidth = 11;
constexpr int kLetterHeight = 18;
bool pauseOverlay = false;
std::unique_ptr<Surface> pausedPicture;
// The status band: its top and height, the line centred in it.
constexpr int kStatusTop = 444;
constexpr int kStatusHeight = 28;
std::string statusLine;
std::unique_ptr<Surface> statusPicture;
std::unique_ptr<ZAscii> statusLetters;

// For each palette index, the index nearest to its colour dimmed.
void BuildDimTable(Surface* picture, uint8_t table[256]) {
    for (int i = 0; i < 256; ++i) {
        uint32_t red = paletteEntries[i].red * kPauseDimPercent / 100;
        uint32_t green = paletteEntries[i].green * kPauseDimPercent / 100;
        uint32_t blue = paletteEntries[i].blue * kPauseDimPercent / 100;
        table[i] = static_cast<uint8_t>(MatchColor(picture, red | green << 8 | blue << 16));
    }
}

// Draws the word enlarged and centred: its letter pixels are those that come out the same on two
// different grounds, whatever the font's key colour.
void DrawPauseWord(Surface& target) {
    static const char kWord[] = "PAUSED";
    ZAscii letters;
    std::unique_ptr<Surface> ground[2];
    for (int g = 0; g < 2; ++g) {
        ground[g] = Surface::Create(kLetterWidth * static_cast<int>(sizeof kWord - 1), kLetterHeight);
        if (!ground[g]) {
            return;
        }
        ground[g]->ColourFill(nullptr, static_cast<uint8_t>(g * 255));
        letters.SetSurface(ground[g].get());
        letters.DrawString(0, 0, kWord);
    }
    int width = ground[0]->GetWidth() * kPauseWordScale;
    int height = ground[0]->GetHeight() * kPauseWordScale;
    int left = (target.GetWidth() - width) / 2;
    int top = (target.GetHeight() - height) / 2;
    for (int y = 0; y < height; ++y) {
        const uint8_t* a = ground[0]->Row(y / kPauseWordScale);
        const uint8_t* b = ground[1]->Row(y / kPauseWordScale);
        uint8_t* row = target.Row(top + y) + left;
        for (int x = 0; x < width; ++x) {
            int sx = x / kPauseWordScale;
            if (a[sx] == b[sx]) {
                row[x] = a[sx];
            }
        }
    }
}

// Composed once per pause: the back surface does not change while the game is paused, so a repaint shows
// the same picture.
const Surface& PausedPicture(const Surface& back) {
    if (pausedPicture) {
        return *pausedPicture;
    }
    pausedPicture = Surface::Create(back.GetWidth(), back.GetHeight());
    if (!pausedPicture) {
        return back;
    }
    uint8_t dim[256];
    BuildDimTable(pausedPicture.get(), dim);
    for (int y = 0; y < back.GetHeight(); ++y) {
        const uint8_t* from = back.Row(y);
        uint8_t* to = pausedPicture->Row(y);
        for (int x = 0; x < back.GetWidth(); ++x) {
            to[x] = dim[from[x]];
        }
    }
    DrawPauseWord(*pausedPicture);
    return *pausedPicture;
}

// Composed at each present: the picture under the band keeps changing while the game runs.
const Surface& WithStatusLine(const Surface& shown) {
    if (statusLine.empty()) {
        return shown;
    }
    if (!statusPicture || statusPicture->GetWidth() != shown.GetWidth() ||
        statusPicture->GetHeight() != shown.GetHeight()) {
        statusPicture = Surface::Create(shown.GetWidth(), shown.GetHeight());
        if (!statusPicture) {
            return shown;
        }
    }
    for (int y = 0; y < shown.GetHeight(); ++y) {
        std::copy_n(shown.Row(y), shown.GetWidth(), statusPicture->Row(y));
    }
    Rect band{0, kStatusTop, shown.GetWidth(), kStatusTop + kStatusHeight};
    statusPicture->ColourFill(&band, static_cast<uint8_t>(MatchColor(statusPicture.get(), 0)));
    if (!statusLetters) {
        statusLetters = std::make_unique<ZAscii>();
    }
    statusLetters->SetSurface(statusPicture.get());
    int width = kLetterWidth * ZAscii::CountCells(statusLine);
    statusLetters->DrawLabels((shown.GetWidth() - width) / 2,
                              kStatusTop + (kStatusHeight - kLetterHeight) / 2, statusLine);
    return *statusPicture;
}

}  // namespace

bool DisplayDevice::SetMode(int, int, int, uint32_t) { return true; }

bool DisplayDevice::Present(const Surface&, const PaletteEntry*) { return true; }

void SetDisplayDeviceFactory(DisplayDeviceFactory factory) {
    deviceFactory = factory ? factory : MakeHeadlessDevice;
}

DisplayDevice* CreateDisplay(void* window) {
    if (display) {
        ReleaseDisplay();
    }
    display = new Display();
    display->device = deviceFactory(window);
    if (!display->device) {
        delete display;
        display = nullptr;
        return nullptr;
    }
    display->window = window;
    return display->device.get();
}

void SetDisplayFlags(uint32_t flags) {
    if (display) {
        display->modeFlags = flags;
    }
}

bool CreateDisplaySurfaces() {
    if (!display) {
        return false;
    }
    if (!display->device->SetMode(display->width, display->height, display->bitsPerPixel,
                                  display->modeFlags)) {
        return false;
    }
    display->primary = Surface::Create(display->width, display->height);
    if (!display->primary) {
        return false;
    }
    display->back = CreateOffscreenSurface(display->width, display->height, true);
    if (!display->back) {
        return false;
    }
    display->back->SetClipRect(Rect{0, 0, display->width, display->height});
    return true;
}

bool InitPalette(uint16_t bitmapId) {
    if (!display) {
        return false;
    }
    ZDib256 bitmap(bitmapId);
    if (!bitmap.IsLoaded()) {
        return false;
    }
    bitmap.GetPaletteEntries(0, 256, paletteEntries);
    for (PaletteEntry& entry : paletteEntries) {
        entry.flags = 4;
    }
    paletteLoaded = true;
    // Attaching it to the primary surface is what can fail.
    return display->primary != nullptr;
}

bool PresentBackBuffer() {
    if (!display || !display->back || !display->primary) {
        return false;
    }
    // The device shows the back surface itself; the primary surface only answers for being lost.
    const Surface& shown = pauseOverlay ? PausedPicture(*display->back) : *display->back;
    return display->device->Present(WithStatusLine(shown), paletteEntries);
}

void SetStatusLine(const std::string& line) {
    statusLine = line;
}

void SetPauseOverlay(bool on) {
    pauseOverlay = on;
    if (!on) {
        pausedPicture.reset();
    }
}

bool SurfacesLost() {
    if (!display || !display->primary || !display->back) {
        return true;
    }
    return display->device->IsLost() || display->primary->IsLost() || display->back->IsLost();
}

bool RestoreSurfaces() {
    if (!display || !display->primary) {
        return false;
    }
    if ((display->primary->IsLost() || display->device->IsLost()) && !display->device->Restore()) {
        return false;
    }
    display->primary->SetLost(false);
    if (!display->back) {
        return false;
    }
    display->back->SetLost(false);
    return true;
}

void ReleaseDisplaySurfaces() {
    if (!display) {
        return;
    }
    display->back.reset();
    display->primary.reset();
    if (display->modeFlags & kDisplayExclusive) {
        display->device->RestoreDesktopMode();
    }
}

void ReleaseDisplay() {
    SetPauseOverlay(false);
    statusLine.clear();
    statusPicture.reset();
    statusLetters.reset();
    if (!display) {
        return;
    }
    delete display;
    display = nullptr;
}

bool IsDisplayFullScreen() { return display && display->device->IsFullScreen(); }

void SetDisplayFullScreen(bool on) {
    if (display) {
        display->device->SetFullScreen(on);
    }
}

Surface* GetBackSurface() { return display ? display->back.get() : nullptr; }

int GetScreenWidth() { return display ? display->width : 0; }

int GetScreenHeight() { return display ? display->height : 0; }

const PaletteEntry* GetPalette() { return paletteLoaded ? paletteEntries : nullptr; }

DisplayDevice* GetDisplayDevice() { return display ? display->device.get() : nullptr; }

std::unique_ptr<Surface> CreateOffscreenSurface(int width, int height, bool) {
    return Surface::Create(width, height);
}

uint32_t MatchColor(Surface* surface, uint32_t rgb) {
    if (!surface || !paletteLoaded) {
        return 0xFFFFFFFFu;
    }
    int red = rgb & 0xFF;
    int green = (rgb >> 8) & 0xFF;
    int blue = (rgb >> 16) & 0xFF;
    uint32_t best = 0;
    int bestDistance = 1 << 30;
    for (uint32_t i = 0; i < 256; ++i) {
        int dr = paletteEntries[i].red - red;
        int dg = paletteEntries[i].green - green;
        int db = paletteEntries[i].blue - blue;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

bool FillSurfaceColor(Surface* surface, const Rect* rect, uint32_t rgb) {
    if (!surface) {
        return false;
    }
    return surface->ColourFill(rect, static_cast<uint8_t>(MatchColor(surface, rgb)));
}

namespace {

// The ends both wipes share: no surface fails, 100 blackens everything, 0 leaves the picture. True when
// one of them decided the result.
bool WipeEnds(Surface* surface, int* percent, bool* result) {
    *percent = std::clamp(*percent, 0, 100);
    if (!surface) {
        *result = false;
        return true;
    }
    if (*percent == 100) {
        *result = surface->ColourFill(nullptr, 0);
        return true;
    }
    if (*percent == 0) {
        *result = true;
        return true;
    }
    return false;
}

}  // namespace

bool WipeTopBottom(Surface* surface, int percent) {
    bool result;
    if (WipeEnds(surface, &percent, &result)) {
        return result;
    }
    int width = surface->GetWidth();
    int height = surface->GetHeight();
    int band = static_cast<int>(static_cast<float>(height) / 2.0f * (static_cast<float>(percent) / 100.0f));
    Rect top{0, 0, width, band};
    if (!surface->ColourFill(&top, 0)) {
        return false;
    }
    Rect bottom{0, height - band, width, height};
    return surface->ColourFill(&bottom, 0);
}

bool WipeColumns(Surface* surface, int percent) {
    bool result;
    if (WipeEnds(surface, &percent, &result)) {
        return result;
    }
    int width = surface->GetWidth();
    int height = surface->GetHeight();
    int stripe = (percent * 2) / 5;
    int offset = (40 - stripe) / 2;
    result = true;
    for (int i = 0; i < width / 40; ++i) {
        Rect column{i * 40 + offset, 0, i * 40 + offset + stripe, height};
        result = surface->ColourFill(&column, 0);
    }
    return result;
}
