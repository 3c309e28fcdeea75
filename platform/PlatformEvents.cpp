#include "platform/PlatformEvents.h"

#include <SDL.h>

#include <atomic>

namespace {

std::atomic<Uint32> musicEventType{0};

} // namespace

std::uint32_t MusicEventType()
{
    // SDL_RegisterEvents is thread-safe; registering once and caching keeps the type stable.
    Uint32 type = musicEventType.load();
    if (type == 0) {
        Uint32 registered = SDL_RegisterEvents(1);
        if (registered == static_cast<Uint32>(-1))
            return 0;
        Uint32 expected = 0;
        if (!musicEventType.compare_exchange_strong(expected, registered))
            return expected;
        type = registered;
    }
    return type;
}

void PostMusicNotification(int code)
{
    Uint32 type = MusicEventType();
    if (type == 0)
        return;
    SDL_Event event{};
    event.type = type;
    event.user.code = code;
    SDL_PushEvent(&event);
}
