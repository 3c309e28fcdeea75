#pragma once

#include "round/XEffectSprite.h"

// The rings where a new item appears.
class XEffectItem : public XEffectSprite {
public:
    XEffectItem(XAppData* app, int x, int y);
};
