#include "round/XEffectExtend.h"

XEffectExtend::XEffectExtend(XAppData* app, int x, int y) : XEffectSprite(app, 250, 7, 2, x, y) {}
