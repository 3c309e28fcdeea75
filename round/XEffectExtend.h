#pragma once

#include "round/XEffectSprite.h"

// A widening ring around a painter with the wide brush.
class XEffectExtend : public XEffectSprite {
public:
    XEffectExtend(XAppData* app, int x, int y);
};
