#pragma once

// Game controllers beyond joystick 0. The platform reports each connected controller by an id of its
// own choosing and its buttons and left stick; the layer hands players 2 to 4 (indices 1 to 3) a
// controller each, in order of connection, and UpdateInput samples them beside the keys.
// Joystick 0 stays player 1's and is never reported here.

enum class PadButton { A, B, Up, Down, Left, Right };
enum class PadAxis { LeftX, LeftY };

// The stick must leave the middle this far (of +-32767) to count as a direction.
constexpr int kPadDeadZone = 16000;
// Connected controllers beyond this are ignored altogether.
constexpr int kMaxControllers = 16;

// Platform side. Events for ids that are not connected are ignored. While the keyboard is not acquired
// the controllers are tracked but read as released, as the keys are.
void ControllerAdded(int id);
void ControllerRemoved(int id);
void ControllerButtonEvent(int id, PadButton button, bool pressed);
void ControllerAxisEvent(int id, PadAxis axis, int value);

// The player index (1 to 3) the controller steers, or -1 for none or an unknown id.
int GetControllerPlayer(int id);

// Game side, on the snapshots UpdateInput takes.
// The controller of the player (index): 0 right alone, 16 left alone, -1 none, both or no controller.
int GetControllerHorizontal(int playerIndex);
// Any controller's button newly down since the previous update.
bool IsControllerButtonPressed(PadButton button);
// Any controller's d-pad or stick newly pointing that way (kJoyUp, kJoyDown, kJoyLeft, kJoyRight).
bool IsControllerDirectionEntered(int code);

// Input module side.
// Moves each controller's current snapshot into its previous one and reads a new one: what is held, and
// buttons pressed since the last one; everything reads released when not delivering.
void SampleControllers(bool delivering);
// Disconnects every controller.
void ResetControllers();
