#pragma once

#include "round/XEffectSprite.h"

// An explosion cloud: each splash blot, and the pieces of the missile's burst.
class XEffectBomb : public XEffectSprite {
public:
    XEffectBomb(XAppData* app, int x, int y);
};
