#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/Rect.h"
#include "gfx/Surface.h"

struct PaletteEntry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t flags;
};

// Mode flags of the display record.
constexpr uint32_t kDisplayFullScreen = 1;
constexpr uint32_t kDisplayNormal = 8;
constexpr uint32_t kDisplayExclusive = 16;

// The display device (the object the shell keeps and the canvas asks for its clip rectangle).
// The platform derives from it to put frames on the screen; the base is a headless device
// that presents nowhere and is never lost.
class DisplayDevice {
public:
    virtual ~DisplayDevice() = default;
    virtual bool SetMode(int width, int height, int bitsPerPixel, uint32_t flags);
    virtual bool Present(const Surface& back, const PaletteEntry* palette);
    virtual bool IsLost() const { return false; }
    virtual bool Restore() { return true; }
    virtual void RestoreDesktopMode() {}
    // Full screen or a window; a switch takes effect at once.
    virtual bool IsFullScreen() const { return false; }
    virtual void SetFullScreen(bool) {}
};

// Creates the device for a window; a null result means no display. The default makes headless devices.
using DisplayDeviceFactory = std::unique_ptr<DisplayDevice> (*)(void* window);
void SetDisplayDeviceFactory(DisplayDeviceFactory factory);

DisplayDevice* CreateDisplay(void* window);
void SetDisplayFlags(uint32_t flags);
bool CreateDisplaySurfaces();
bool InitPalette(uint16_t bitmapId);
bool PresentBackBuffer();
// While on, presents show the back surface dimmed with PAUSED over it; the back surface stays as it is.
void SetPauseOverlay(bool on);
// While not empty, presents show the line in the game's letters on a dark band across the bottom of the
// picture, paused or not; the back surface stays as it is.
void SetStatusLine(const std::string& line);
bool SurfacesLost();
bool RestoreSurfaces();
void ReleaseDisplaySurfaces();
void ReleaseDisplay();
// Whether the game fills the screen (false without a display), and a switch to that or a window.
bool IsDisplayFullScreen();
void SetDisplayFullScreen(bool on);

Surface* GetBackSurface();
int GetScreenWidth();
int GetScreenHeight();
const PaletteEntry* GetPalette();
DisplayDevice* GetDisplayDevice();

std::unique_ptr<Surface> CreateOffscreenSurface(int width, int height, bool systemMemory);

// The palette index nearest to an RGB colour (0x00BBGGRR), an exact match first; 0xFFFFFFFF without one.
uint32_t MatchColor(Surface* surface, uint32_t rgb);
bool FillSurfaceColor(Surface* surface, const Rect* rect, uint32_t rgb);
// Blackens a top and a bottom band; the game only uses 100, a black screen.
bool WipeTopBottom(Surface* surface, int percent);
// Blackens a centred stripe of every 40-pixel column: the blinds of every scene change.
bool WipeColumns(Surface* surface, int percent);
