#include <algorithm>

#include "round/FieldTestArt.h"

namespace {

class XItemCharaTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        canvas = std::make_unique<XCanvasPlane>(app.get());
        item = std::make_unique<XItemChara>(app.get());
        item->SetBounds(canvas.get());
    }
};

TEST_F(XItemCharaTest, RandomPlacesStayInsideTheBoundsAndCarryTheFootprint) {
    EXPECT_EQ(item->GetMinX(), 1);
    EXPECT_EQ(item->GetMaxX(), 595);
    EXPECT_EQ(item->GetMinY(), 1);
    EXPECT_EQ(item->GetMaxY(), 403);
    int lowX = 1000, highX = -1000, lowY = 1000, highY = -1000;
    for (int i = 0; i < 20000; ++i) {
        item->PlaceRandomly();
        ASSERT_EQ(item->GetFootprint()->GetX(), item->GetX());
        ASSERT_EQ(item->GetFootprint()->GetY(), item->GetY());
        lowX = std::min(lowX, item->GetX());
        highX = std::max(highX, item->GetX());
        lowY = std::min(lowY, item->GetY());
        highY = std::max(highY, item->GetY());
    }
    EXPECT_EQ(lowX, 1);
    EXPECT_EQ(highX, 594);
    EXPECT_EQ(lowY, 1);
    EXPECT_EQ(highY, 402);
}

TEST_F(XItemCharaTest, DrawsThePictureOfItsKindAndItsShadowOnlyWhenPresent) {
    item->PlaceAt(200, 100);
    EXPECT_EQ(item->GetKind(), XItemChara::kNone);
    Back()->ColourFill(nullptr, 0);
    item->DrawShadow(Back());
    item->Draw(Back());
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480);

    for (int kind = XItemChara::kClock; kind <= XItemChara::kBrushes; ++kind) {
        item->SetKind(kind);
        Back()->ColourFill(nullptr, 0);
        item->DrawShadow(Back());
        item->Draw(Back());
        EXPECT_EQ(Back()->GetPixel(222, 122), art::kItem + kind - 1) << "kind " << kind;
        EXPECT_EQ(Back()->GetPixel(200, 100), 0) << "the rim is transparent";
        // The 40 x 26 shadow is centred 16 px below the item's centre, reaching past its bottom.
        EXPECT_EQ(Back()->GetPixel(222, 122 + 16 + 11), art::kItemShadow);
        EXPECT_EQ(Back()->GetPixel(222, 122 + 16 + 13), 0);
    }
    // An unknown kind shows the first picture rather than reading past the sheet.
    item->SetKind(9);
    item->Draw(Back());
    EXPECT_EQ(Back()->GetPixel(222, 122), art::kItem);
}

}  // namespace
