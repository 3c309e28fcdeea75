#pragma once

struct SDL_Window;

// Gives the window the game's icon when one was built into the executable.
void SetWindowIcon(SDL_Window* window);
