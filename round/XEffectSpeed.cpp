#include "round/XEffectSpeed.h"

XEffectSpeed::XEffectSpeed(XAppData* app, int x, int y) : XEffectSprite(app, 173, 9, 1, x, y) {}
