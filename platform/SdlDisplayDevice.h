#pragma once

#include <memory>

#include "gfx/Display.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

// Puts the 8-bit back surface on the window: converted through the palette into a streaming
// texture, scaled by the largest whole factor that fits, centred on black.
class SdlDisplayDevice : public DisplayDevice {
public:
    // Null when no renderer can be made for the window.
    static std::unique_ptr<DisplayDevice> Create(void* window);
    // The renderer lost its textures (render targets or device reset): the next frame restores.
    static void MarkLost();

    SdlDisplayDevice(SDL_Window* window, SDL_Renderer* renderer);
    ~SdlDisplayDevice() override;

    bool SetMode(int width, int height, int bitsPerPixel, uint32_t flags) override;
    bool Present(const Surface& back, const PaletteEntry* palette) override;
    bool IsLost() const override { return lost; }
    bool Restore() override;
    bool IsFullScreen() const override;
    void SetFullScreen(bool on) override;

    SDL_Renderer* GetRenderer() const { return renderer; }

private:
    bool CreateTexture();

    SDL_Window* window;
    SDL_Renderer* renderer;
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
    bool lost = false;
};
