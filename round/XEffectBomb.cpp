#include "round/XEffectBomb.h"

XEffectBomb::XEffectBomb(XAppData* app, int x, int y) : XEffectSprite(app, 172, 8, 0, x, y) {}
