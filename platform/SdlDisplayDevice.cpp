#include "platform/SdlDisplayDevice.h"

#include <SDL.h>
#include <glob.h>

#include <cstring>

#include "platform/SdlShell.h"

namespace {

SdlDisplayDevice* activeDevice = nullptr;

// No GPU driver, or software drawing asked for: OpenGL would only be the processor drawing (and loading
// a compiler to do so), which costs more than SDL's own software renderer.
bool OpenGlWouldBeSoftware() {
    const char* forced = SDL_getenv("LIBGL_ALWAYS_SOFTWARE");
    if (forced && *forced && std::strcmp(forced, "0") != 0) {
        return true;
    }
    glob_t devices{};
    bool none = glob("/dev/dri/renderD*", 0, nullptr, &devices) != 0 &&
                glob("/dev/dri/card*", GLOB_APPEND, nullptr, &devices) != 0;
    globfree(&devices);
    return none;
}

// An OpenGL renderer whose driver draws on the processor (a display without GPU access, such as Xvfb).
bool IsSoftwareOpenGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name ||
        std::strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned int kGlRenderer = 0x1F01;
    const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
    if (!name) {
        return false;
    }
    const char* text = reinterpret_cast<const char*>(name);
    return std::strstr(text, "llvmpipe") || std::strstr(text, "softpipe") || std::strstr(text, "swrast");
}

SDL_Renderer* CreateSoftwareRenderer(SDL_Window* window) {
    // The window surface must not itself be drawn through OpenGL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace

std::unique_ptr<DisplayDevice> SdlDisplayDevice::Create(void* window) {
    auto* sdlWindow = static_cast<SDL_Window*>(window);
    if (!sdlWindow) {
        return nullptr;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_Renderer* renderer = nullptr;
    const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (asked && *asked) {
        renderer = SDL_CreateRenderer(sdlWindow, -1, 0);
    } else if (OpenGlWouldBeSoftware()) {
        renderer = CreateSoftwareRenderer(sdlWindow);
    } else {
        renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED);
        if (renderer && IsSoftwareOpenGl(renderer)) {
            SDL_DestroyRenderer(renderer);
            renderer = CreateSoftwareRenderer(sdlWindow);
        }
    }
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

SdlDisplayDevice::SdlDisplayDevice(SDL_Window* window, SDL_Renderer* renderer)
    : window(window), renderer(renderer) {
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

bool SdlDisplayDevice::IsFullScreen() const { return IsFullScreenWindow(); }

void SdlDisplayDevice::SetFullScreen(bool on) {
    if (on != IsFullScreenWindow()) {
        ToggleFullScreen(window);
    }
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
