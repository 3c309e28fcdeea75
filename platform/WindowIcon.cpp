#include "platform/WindowIcon.h"

#include <SDL.h>

#ifdef TINTORIX_HAS_ICON
extern "C" const unsigned char tintorix_icon_bmp[];
extern "C" const unsigned char tintorix_icon_bmp_end[];
#endif

void SetWindowIcon(SDL_Window* window) {
#ifdef TINTORIX_HAS_ICON
    SDL_RWops* stream = SDL_RWFromConstMem(tintorix_icon_bmp, static_cast<int>(tintorix_icon_bmp_end - tintorix_icon_bmp));
    SDL_Surface* icon = stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
    if (icon) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
#else
    (void)window;
#endif
}
