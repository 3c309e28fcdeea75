#include "round/XEffectItem.h"


XEffectItem::XEffectItem(XAppData* app, int x, int y) : XEffectSprite(app, 170, 13, 1, x, y) {}
