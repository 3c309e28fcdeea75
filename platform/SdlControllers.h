#pragma once

union SDL_Event;

// SDL game controllers beside joystick 0: opened when SDL reports them connected (at start-up and
// when plugged in), closed when unplugged, their d-pad, A, B and left stick fed to input/Controllers.
// True when the event was a controller event.
bool HandleControllerEvent(const SDL_Event& event);
void CloseControllers();
