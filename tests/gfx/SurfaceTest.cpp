#include <gtest/gtest.h>

#include "gfx/Surface.h"
#include "support/TestSupport.h"

namespace {

std::unique_ptr<Surface> Pattern(int width, int height) {
    auto surface = Surface::Create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface->Row(y)[x] = static_cast<uint8_t>(1 + x + y * width);
        }
    }
    return surface;
}

}  // namespace

TEST(Surface, CreationRefusesSizesThatCannotBeHeld) {
    EXPECT_EQ(Surface::Create(0, 10), nullptr);
    EXPECT_EQ(Surface::Create(10, -1), nullptr);
    EXPECT_EQ(Surface::Create(1 << 20, 1 << 20), nullptr);
    auto surface = Surface::Create(11, 2);
    ASSERT_NE(surface, nullptr);
    EXPECT_GE(surface->GetPitch(), 11);
    EXPECT_EQ(surface->GetPixel(10, 1), 0);
}

TEST(Surface, CopyOntoClippedTargetShowsThePartInside) {
    auto target = Surface::Create(20, 10);
    target->SetClipRect(Rect{0, 0, 20, 10});
    auto source = Pattern(15, 3);
    Rect destination{-10, 2, 5, 5};
    ASSERT_TRUE(target->Blt(&destination, *source, nullptr, false));
    // The source's 11th column lands on x = 0.
    EXPECT_EQ(target->GetPixel(0, 2), source->GetPixel(10, 0));
    EXPECT_EQ(target->GetPixel(4, 4), source->GetPixel(14, 2));
    EXPECT_EQ(target->GetPixel(5, 2), 0);
    EXPECT_EQ(target->GetPixel(0, 1), 0);
    Rect outside{30, 30, 40, 40};
    EXPECT_TRUE(target->Blt(&outside, *source, nullptr, false));  // wholly outside the clip: nothing, no error
}

TEST(Surface, CopyOntoUnclippedTargetMustLieWhollyInside) {
    auto target = Surface::Create(20, 10);
    auto source = Pattern(15, 3);
    Rect partly{-10, 2, 5, 5};
    EXPECT_FALSE(target->Blt(&partly, *source, nullptr, false));
    Rect onePixelOut{6, 8, 21, 11};
    EXPECT_FALSE(target->Blt(&onePixelOut, *source, nullptr, false));
    EXPECT_EQ(CountPixels(*target, Rect{0, 0, 20, 10}, 0), 200);
    Rect inside{5, 7, 20, 10};
    EXPECT_TRUE(target->Blt(&inside, *source, nullptr, false));
    EXPECT_EQ(target->GetPixel(19, 9), source->GetPixel(14, 2));
}

TEST(Surface, SourceRectangleOutsideTheSourceFailsAndDrawsNothing) {
    auto target = Surface::Create(20, 10);
    auto source = Pattern(4, 4);
    Rect destination{0, 0, 4, 4};
    Rect below{0, 2, 4, 6};
    EXPECT_FALSE(target->Blt(&destination, *source, &below, false));
    Rect negative{-1, 0, 3, 4};
    EXPECT_FALSE(target->Blt(&destination, *source, &negative, false));
    Rect inverted{3, 0, 1, 4};
    EXPECT_FALSE(target->Blt(&destination, *source, &inverted, false));
    EXPECT_EQ(CountPixels(*target, Rect{0, 0, 20, 10}, 0), 200);
}

TEST(Surface, KeyedCopySkipsTheSourceKeyOnly) {
    auto target = Surface::Create(4, 1);
    target->ColourFill(nullptr, 9);
    auto source = Surface::Create(4, 1);
    const uint8_t row[4] = {5, 1, 5, 2};
    std::copy(row, row + 4, source->Row(0));
    source->SetColourKey(5);
    ASSERT_TRUE(target->Blt(nullptr, *source, nullptr, true));
    EXPECT_EQ(target->GetPixel(0, 0), 9);
    EXPECT_EQ(target->GetPixel(1, 0), 1);
    EXPECT_EQ(target->GetPixel(2, 0), 9);
    EXPECT_EQ(target->GetPixel(3, 0), 2);
    ASSERT_TRUE(target->Blt(nullptr, *source, nullptr, false));
    EXPECT_EQ(target->GetPixel(0, 0), 5);  // unkeyed copies everything
}

TEST(Surface, StretchScalesAndClipsWithoutShiftingTheVisiblePart) {
    auto source = Pattern(2, 2);
    auto target = Surface::Create(8, 8);
    target->SetClipRect(Rect{0, 0, 8, 8});
    Rect doubled{-2, -2, 2, 2};  // 4 x 4 from 2 x 2, half of it cut away
    ASSERT_TRUE(target->Blt(&doubled, *source, nullptr, false));
    EXPECT_EQ(target->GetPixel(0, 0), source->GetPixel(1, 1));
    EXPECT_EQ(target->GetPixel(1, 1), source->GetPixel(1, 1));
    EXPECT_EQ(target->GetPixel(2, 0), 0);
    auto big = Pattern(8, 8);
    auto small = Surface::Create(2, 2);
    ASSERT_TRUE(small->Blt(nullptr, *big, nullptr, false));
    EXPECT_EQ(small->GetPixel(0, 0), big->GetPixel(0, 0));
    EXPECT_EQ(small->GetPixel(1, 1), big->GetPixel(4, 4));
}

TEST(Surface, FillsFollowTheClipRulesAndHugeRectanglesStayOutside) {
    auto surface = Surface::Create(10, 10);
    Rect huge = MakeRect(-5000000000LL, 0, 5000000000LL, 5);
    EXPECT_FALSE(surface->ColourFill(&huge, 3));
    surface->SetClipRect(Rect{2, 2, 8, 8});
    EXPECT_TRUE(surface->ColourFill(&huge, 3));
    EXPECT_EQ(CountPixels(*surface, Rect{0, 0, 10, 10}, 3), 6 * 3);
    EXPECT_EQ(surface->GetPixel(1, 2), 0);
    Rect empty{4, 4, 4, 9};
    EXPECT_FALSE(surface->ColourFill(&empty, 4));
    surface->SetClipRect(Rect{-5, -5, 50, 50});  // a clip list never reaches past its surface
    EXPECT_TRUE(surface->ColourFill(nullptr, 6));
    EXPECT_EQ(CountPixels(*surface, Rect{0, 0, 10, 10}, 6), 100);
}
