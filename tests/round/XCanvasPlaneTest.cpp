#include "round/RoundTest.h"

namespace {

class XCanvasPlaneTest : public RoundTest {};

TEST_F(XCanvasPlaneTest, PaintIsCutAtThePaintRectangleAndCountedInsideTheOnePixelRim) {
    XCanvasPlane canvas(app.get());
    const std::array<uint8_t, 4> colours = {192, 23, 203, 65};
    EXPECT_EQ(canvas.CountArea(colours).total, 0) << "no field yet: nothing counted, nothing to divide by";
    canvas.Reset();
    Surface* field = canvas.GetFieldSurface();
    ZSprite256 brush(110, 1);
    for (auto [x, y] : {std::pair{5, 5}, {634, 442}, {320, 200}}) {
        brush.SetCentre(x, y);
        brush.Draw(field);
    }
    // A quarter of each disc at a corner lands, inside the paint rectangle only.
    EXPECT_EQ(
        std::tuple(CountPixels(*field, {0, 0, 640, 448}, 192), CountPixels(*field, {5, 5, 635, 443}, 192)),
        std::tuple(439 + 812, 439 + 812));
    // The strip between the paint and the rim counts, the rim does not, and a shared colour counts for both.
    field->ClearClipRect();
    for (auto [x, y, colour] : {std::tuple{639, 200, 23}, {0, 9, 23}, {1, 1, 65}, {638, 446, 65}}) {
        field->Row(y)[x] = static_cast<uint8_t>(colour);
    }
    EXPECT_EQ(std::tuple(canvas.CountArea({192, 65, 65, 99}).counts, canvas.CountArea(colours).total),
              std::tuple(std::array<int32_t, 4>{1251, 2, 2, 0}, 638 * 446));
    canvas.Reset();
    EXPECT_EQ(canvas.CountArea(colours).counts, (std::array<int32_t, 4>{})) << "a clean field is nobody's";
    canvas.Draw(0, 0, Back());  // opaque, down to the timer bar
    EXPECT_EQ(std::tuple(CountPixels(*Back(), {0, 0, 640, 480}, 0), Back()->GetPixel(0, 0)),
              std::tuple(640 * 32, 88));
    // Without a display nothing cuts a stamp, and one reaching past the edge draws nothing.
    app->displayDevice = nullptr;
    canvas.Reset();
    brush.SetCentre(2, 100);
    brush.Draw(canvas.GetFieldSurface());
    EXPECT_EQ(canvas.CountArea(colours).counts[0], 0);
}

}  // namespace
