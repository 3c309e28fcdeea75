#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "round/FieldTestArt.h"

namespace {

class XCanvasPlaneTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        canvas = std::make_unique<XCanvasPlane>(app.get());
    }
    Surface* Field() { return canvas->GetFieldSurface(); }
};

TEST_F(XCanvasPlaneTest, CleanFieldCountsNobodyAndTheWholeCountedRectangle) {
    XCanvasPlane::AreaCount before = canvas->CountArea(art::kColours);
    EXPECT_EQ(before.total, 0) << "no field yet: nothing to count, and nothing to divide by";
    EXPECT_EQ(before.counts, (std::array<int32_t, 4>{0, 0, 0, 0}));

    canvas->Reset();
    ASSERT_NE(Field(), nullptr);
    EXPECT_EQ(Field()->GetWidth(), 640);
    EXPECT_EQ(Field()->GetHeight(), 448);
    XCanvasPlane::AreaCount clean = canvas->CountArea(art::kColours);
    EXPECT_EQ(clean.total, 284548);
    EXPECT_EQ(clean.counts, (std::array<int32_t, 4>{0, 0, 0, 0}));
}

TEST_F(XCanvasPlaneTest, FullPaintOfOneColourIsNinetySevenPerCentAndTheRimIsNeverCounted) {
    canvas->Reset();
    // Fill through the clip, as any stamp would.
    Rect whole{0, 0, 640, 448};
    ASSERT_TRUE(Field()->ColourFill(&whole, art::kColours[2]));
    XCanvasPlane::AreaCount count = canvas->CountArea(art::kColours);
    EXPECT_EQ(count.counts[2], 630 * 438);
    EXPECT_EQ(count.counts[0] + count.counts[1] + count.counts[3], 0);
    EXPECT_EQ(RoundToInt(100.0 * count.counts[2] / count.total), 97);

    // Paint in the outermost row and column is outside the counted rectangle; the 4-pixel strip inside it
    // counts.
    Field()->ClearClipRect();
    Field()->Row(0)[100] = art::kColours[0];
    Field()->Row(200)[639] = art::kColours[0];
    Field()->Row(447)[5] = art::kColours[0];
    Field()->Row(1)[1] = art::kColours[1];
    Field()->Row(446)[638] = art::kColours[1];
    count = canvas->CountArea(art::kColours);
    EXPECT_EQ(count.counts[0], 0);
    EXPECT_EQ(count.counts[1], 2);
}

TEST_F(XCanvasPlaneTest, CountsEachColourSeparatelyAndPlayersSharingAnIndexBothCountIt) {
    canvas->Reset();
    Field()->ClearClipRect();
    for (int x = 10; x < 20; ++x) {
        Field()->Row(50)[x] = art::kColours[0];
        Field()->Row(60)[x] = art::kColours[3];
    }
    Field()->Row(70)[70] = art::kColours[3];
    XCanvasPlane::AreaCount count = canvas->CountArea(art::kColours);
    EXPECT_EQ(count.counts, (std::array<int32_t, 4>{10, 0, 0, 11}));
    count = canvas->CountArea({art::kColours[0], art::kColours[3], art::kColours[3], 99});
    EXPECT_EQ(count.counts, (std::array<int32_t, 4>{10, 11, 11, 0}));
}

TEST_F(XCanvasPlaneTest, StampAcrossThePaintEdgeChangesOnlyPixelsInside) {
    canvas->Reset();
    ASSERT_TRUE(Field()->GetClipRect().has_value());
    EXPECT_EQ(Field()->GetClipRect()->left, 5);
    EXPECT_EQ(Field()->GetClipRect()->top, 5);
    EXPECT_EQ(Field()->GetClipRect()->right, 635);
    EXPECT_EQ(Field()->GetClipRect()->bottom, 443);

    ZSprite256 brush(110, 1);
    // Half of the disc hangs over the top-left corner of the paint rectangle.
    brush.SetCentre(5, 5);
    brush.Draw(Field());
    brush.SetCentre(634, 442);
    brush.Draw(Field());
    Rect paint = canvas->GetPaintRect();
    int inside = CountPixels(*Field(), paint, art::kColours[0]);
    int everywhere = CountPixels(*Field(), Rect{0, 0, 640, 448}, art::kColours[0]);
    EXPECT_GT(inside, 2 * 150);
    EXPECT_LT(inside, 2 * 350);
    EXPECT_EQ(everywhere, inside);
    EXPECT_EQ(Field()->GetPixel(4, 5), art::kField);
    EXPECT_EQ(Field()->GetPixel(5, 5), art::kColours[0]);
    EXPECT_EQ(Field()->GetPixel(635, 442), art::kField);
    EXPECT_EQ(Field()->GetPixel(634, 442), art::kColours[0]);
}

TEST_F(XCanvasPlaneTest, ResetForgetsThePreviousRoundAndDrawsOpaque) {
    canvas->Reset();
    Rect block{100, 100, 200, 200};
    Field()->ColourFill(&block, art::kColours[1]);
    EXPECT_EQ(canvas->CountArea(art::kColours).counts[1], 10000);
    canvas->Reset();
    EXPECT_EQ(canvas->CountArea(art::kColours).counts[1], 0);
    EXPECT_FALSE(canvas->GetFieldSprite()->IsTransparent());

    // The field's own colour equals its top-left pixel; drawn opaque it still covers the whole top.
    Back()->ColourFill(nullptr, 0);
    canvas->Draw(0, 0, Back());
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 448}, art::kField), 640 * 448);
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 448, 640, 480}, 0), 640 * 32);
}

TEST_F(XCanvasPlaneTest, WithoutADisplayThereIsNoClipAndEdgeStampsDrawNothing) {
    app->displayDevice = nullptr;
    canvas->Reset();
    EXPECT_FALSE(Field()->GetClipRect().has_value());
    ZSprite256 brush(110, 1);
    brush.SetCentre(2, 100);
    brush.Draw(Field());
    EXPECT_EQ(CountPixels(*Field(), Rect{0, 0, 640, 448}, art::kColours[0]), 0);
    brush.SetCentre(200, 100);
    brush.Draw(Field());
    EXPECT_GT(CountPixels(*Field(), Rect{0, 0, 640, 448}, art::kColours[0]), 700);
}

TEST_F(XCanvasPlaneTest, MarginsAndSizeDescribeTheField) {
    XCanvasPlane::Margins m = canvas->GetMargins();
    EXPECT_EQ(m.left + m.top + m.right + m.bottom, 4);
    EXPECT_EQ(canvas->GetWidth(), 640);
    EXPECT_EQ(canvas->GetHeight(), 448);
    EXPECT_EQ(canvas->GetFieldSprite(), nullptr);
    canvas->Draw(0, 0, Back());  // nothing to draw yet, and no crash
}

}  // namespace
