#include "platform/SdlDisplayDevice.h"

#include <SDL.h>

#include <cstring>

namespace {

SdlDisplayDevice* activeDevice = nullptr;

}  // namespace

std::unique_ptr<DisplayDevice> SdlDisplayDevice::Create(void* window) {
    auto* sdlWindow = static_cast<SDL_Window*>(window);
    if (!sdlWindow) {
        return nullptr;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_Renderer* renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) {
        renderer = SDL_CreateRenderer(sdlWindow, -1, 0);
    }
    if (!renderer) {
        return nullptr;
    }
    return std::make_unique<SdlDisplayDevice>(sdlWindow, renderer);
}

void SdlDisplayDevice::MarkLost() {
    if (activeDevice) {
        activeDevice->lost = true;
    }
}

SdlDisplayDevice::SdlDisplayDevice(SDL_Window*, SDL_Renderer* renderer) : renderer(renderer) {
    activeDevice = this;
}

SdlDisplayDevice::~SdlDisplayDevice() {
    if (activeDevice == this) {
        activeDevice = nullptr;
    }
    if (texture) {
        SDL_DestroyTexture(texture);
    }
    SDL_DestroyRenderer(renderer);
}

bool SdlDisplayDevice::SetMode(int newWidth, int newHeight, int bitsPerPixel, uint32_t) {
    if (newWidth <= 0 || newHeight <= 0 || bitsPerPixel != 8) {
        return false;
    }
    width = newWidth;
    height = newHeight;
    // Whole-number scaling keeps every game pixel square and sharp, with black around it.
    if (SDL_RenderSetLogicalSize(renderer, width, height) != 0 ||
        SDL_RenderSetIntegerScale(renderer, SDL_TRUE) != 0) {
        return false;
    }
    return CreateTexture();
}

bool SdlDisplayDevice::CreateTexture() {
    if (texture) {
        SDL_DestroyTexture(texture);
    }
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    return texture != nullptr;
}

bool SdlDisplayDevice::Restore() {
    if (width == 0 || !CreateTexture()) {
        return false;
    }
    lost = false;
    return true;
}

bool SdlDisplayDevice::Present(const Surface& back, const PaletteEntry* palette) {
    if (!texture || lost || back.GetWidth() != width || back.GetHeight() != height) {
        return false;
    }
    uint32_t colours[256];
    for (uint32_t i = 0; i < 256; ++i) {
        colours[i] = palette ? 0xFF000000u | (uint32_t{palette[i].red} << 16) |
                                   (uint32_t{palette[i].green} << 8) | palette[i].blue
                             : 0xFF000000u | (i << 16) | (i << 8) | i;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = back.Row(y);
        auto* target = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + static_cast<size_t>(y) * pitch);
        for (int x = 0; x < width; ++x) {
            target[x] = colours[source[x]];
        }
    }
    SDL_UnlockTexture(texture);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    return true;
}
