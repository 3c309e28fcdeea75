#pragma once

#include "round/XEffectSprite.h"

// A sparkle trailing a fast painter.
class XEffectSpeed : public XEffectSprite {
public:
    XEffectSpeed(XAppData* app, int x, int y);
};
