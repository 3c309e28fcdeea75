#include "round/XItemChara.h"

#include "base/ZStateStream.h"
#include "gfx/Maths.h"
#include "round/XCanvasPlane.h"

XItemChara::XItemChara(XAppData* app)
    : ZSprite256(158, 6),
      app(app),
      footprint(std::make_unique<ZSprite256>(157, 1)),
      shadow(std::make_unique<ZSprite256>(164, 1)) {}

XItemChara::~XItemChara() = default;

void XItemChara::Draw(Surface* target) {
    if (kind == kNone) {
        return;
    }
    ZSprite256::Draw(target);
}

// The picture is chosen with the kind, not when drawn: a painter takes the item where their pictures
// overlap, also in frames that are run again unseen.
void XItemChara::SetKind(int32_t newKind) {
    kind = newKind;
    SetFrame(kind >= kClock && kind <= kBrushes ? kind - 1 : 0);
}

void XItemChara::DrawShadow(Surface* target) {
    if (kind == kNone) {
        return;
    }
    shadow->SetCentre(GetCentreX(), GetCentreY() + 16);
    shadow->Draw(target);
}

void XItemChara::SetBounds(const XCanvasPlane* canvas) {
    if (!canvas) {
        return;
    }
    XCanvasPlane::Margins margins = canvas->GetMargins();
    minX = margins.left;
    maxX = canvas->GetWidth() - margins.right - GetWidth();
    minY = margins.top;
    maxY = canvas->GetHeight() - margins.bottom - GetHeight();
}

void XItemChara::PlaceRandomly() {
    int x = Random(maxX - minX) + minX;
    int y = Random(maxY - minY) + minY;
    PlaceAt(x, y);
}

void XItemChara::PlaceAt(int x, int y) {
    SetPosition(x, y);
    footprint->SetPosition(x, y);
}

void XItemChara::SaveState(ZStateStream* out) const {
    SaveMotion(out);
    footprint->SaveMotion(out);
    out->Put(kind);
}

void XItemChara::LoadState(ZStateStream* in) {
    LoadMotion(in);
    footprint->LoadMotion(in);
    in->Get(kind);
}
