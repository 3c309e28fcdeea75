#include "round/XEffectItem.h"

#include "shell/XAppData.h"

XEffectItem::XEffectItem(XAppData* app, int x, int y) : XEffectSprite(app, 170, 13, 1, x, y) {
    if (app) {
        app->PlaySoundEffect(174, 0);
    }
}
