#include "round/RoundTest.h"
#include "round/XItemChara.h"

namespace {

class XItemCharaTest : public RoundTest {};

TEST_F(XItemCharaTest, AnItemLandsAnywhereOnTheFieldWithItsFootprint) {
    Start(true, true, 2, {2, 2, 2, 2});
    XItemChara* item = game->GetItem();
    Rect reach{1000, 1000, -1000, -1000};
    for (int i = 0; i < 20000; ++i) {
        item->PlaceRandomly();
        ASSERT_EQ(item->GetFootprint()->GetX(), item->GetX());
        ASSERT_EQ(item->GetFootprint()->GetY(), item->GetY());
        reach = Rect{std::min(reach.left, item->GetX()), std::min(reach.top, item->GetY()),
                     std::max(reach.right, item->GetX()), std::max(reach.bottom, item->GetY())};
    }
    EXPECT_EQ(reach.left, 1);
    EXPECT_EQ(reach.top, 1);
    EXPECT_EQ(reach.right, 594);
    EXPECT_EQ(reach.bottom, 402);
}

TEST_F(XItemCharaTest, AnItemShowsThePictureOfItsKindOverItsShadowOnlyWhilePresent) {
    InstallBlocks(158, 44, 44, 6, 140);
    InstallBlocks(164, 40, 26, 1, 150);
    Start(true, true, 2, {2, 2, 2, 2});
    XItemChara* item = game->GetItem();
    item->PlaceAt(200, 100);
    for (int kind = 0; kind <= 7; ++kind) {
        item->SetKind(kind);
        Back()->ColourFill(nullptr, 0);
        item->DrawShadow(Back());
        item->Draw(Back());
        if (kind == XItemChara::kNone) {
            EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480);
            continue;
        }
        // A kind past the sheet shows the first picture. The shadow reaches 16 pixels lower.
        ExpectCorner(200, 100, kind <= 6 ? 139 + kind : 140, "item");
        EXPECT_EQ(Back()->GetPixel(222, 149), 150) << kind;
        EXPECT_EQ(Back()->GetPixel(222, 150), 0) << kind;
    }
}

}  // namespace
