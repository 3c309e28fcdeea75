#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "gfx/Surface.h"
#include "support/TestSupport.h"

namespace {

// Every pixel of its own index: 1 + x + y * width.
std::unique_ptr<Surface> Pattern(int width, int height) {
    auto surface = Surface::Create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface->Row(y)[x] = static_cast<uint8_t>(1 + x + y * width);
        }
    }
    return surface;
}

TEST(Surface, CopiesAreCutToTheClipRectangleOrMustLieWhollyInsideTheTarget) {
    auto source = Pattern(15, 3);
    auto target = Surface::Create(20, 10);
    const Rect partly{-10, 2, 5, 5}, onePixelOut{6, 8, 21, 11}, inside{5, 7, 20, 10};
    EXPECT_FALSE(target->Blt(&partly, *source, nullptr, false));
    EXPECT_FALSE(target->Blt(&onePixelOut, *source, nullptr, false));
    EXPECT_EQ(CountPixels(*target, {0, 0, 20, 10}, 0), 200);
    EXPECT_TRUE(target->Blt(&inside, *source, nullptr, false));
    EXPECT_EQ(target->GetPixel(19, 9), source->GetPixel(14, 2));
    EXPECT_EQ(target->GetPixel(5, 7), source->GetPixel(0, 0));

    target = Surface::Create(20, 10);
    target->SetClipRect({0, 0, 20, 10});
    ASSERT_TRUE(target->Blt(&partly, *source, nullptr, false));
    EXPECT_EQ(target->GetPixel(0, 2), source->GetPixel(10, 0)) << "the source's 11th column lands on x = 0";
    EXPECT_EQ(target->GetPixel(4, 4), source->GetPixel(14, 2));
    EXPECT_EQ(CountPixels(*target, {0, 0, 20, 10}, 0), 200 - 15);
    const Rect outside{30, 30, 40, 40}, empty{4, 4, 4, 9};
    EXPECT_TRUE(target->Blt(&outside, *source, nullptr, false))
        << "wholly outside the clip: nothing, no error";
    EXPECT_FALSE(target->Blt(&empty, *source, nullptr, false));
    for (const Rect& bad : {Rect{0, 2, 4, 4}, Rect{-1, 0, 3, 2}, Rect{3, 0, 1, 2}, Rect{0, 0, 16, 1}}) {
        EXPECT_FALSE(target->Blt(&inside, *source, &bad, false)) << "a source rectangle outside the source";
    }
    EXPECT_EQ(CountPixels(*target, {0, 0, 20, 10}, 0), 200 - 15);
}

TEST(Surface, KeyedCopiesSkipTheSourceKeyAndStretchesKeepTheVisiblePartInPlace) {
    auto target = Surface::Create(4, 1);
    target->ColourFill(nullptr, 9);
    auto source = Surface::Create(4, 1);
    const uint8_t row[4] = {5, 1, 5, 2};
    std::copy(row, row + 4, source->Row(0));
    ASSERT_TRUE(target->Blt(nullptr, *source, nullptr, true));
    EXPECT_EQ(target->GetPixel(0, 0), 5) << "a source without a key copies everything";
    source->SetColourKey(5);
    target->ColourFill(nullptr, 9);
    ASSERT_TRUE(target->Blt(nullptr, *source, nullptr, true));
    EXPECT_EQ(std::string(target->Row(0), target->Row(0) + 4), std::string("\x09\x01\x09\x02", 4));
    Rect doubled{0, 0, 8, 1};
    auto wide = Surface::Create(8, 1);
    ASSERT_TRUE(wide->Blt(&doubled, *source, nullptr, true));
    EXPECT_EQ(std::string(wide->Row(0), wide->Row(0) + 8), std::string("\0\0\x01\x01\0\0\x02\x02", 8));

    auto pattern = Pattern(2, 2);
    target = Surface::Create(8, 8);
    target->SetClipRect({-5, -5, 50, 50});  // a clip rectangle never reaches past its surface
    Rect cut{-2, -2, 2, 2};                 // 4 x 4 from 2 x 2, three quarters cut away
    ASSERT_TRUE(target->Blt(&cut, *pattern, nullptr, false));
    EXPECT_EQ(target->GetPixel(0, 0), pattern->GetPixel(1, 1));
    EXPECT_EQ(target->GetPixel(1, 1), pattern->GetPixel(1, 1));
    EXPECT_EQ(CountPixels(*target, {0, 0, 8, 8}, 0), 60);
    auto big = Pattern(8, 8);
    auto small = Surface::Create(2, 2);
    ASSERT_TRUE(small->Blt(nullptr, *big, nullptr, false));
    EXPECT_EQ(small->GetPixel(0, 0) * 1000 + small->GetPixel(1, 1),
              big->GetPixel(0, 0) * 1000 + big->GetPixel(4, 4));
}

TEST(Surface, FillsFollowTheClipRulesAndSizesMustBeHoldable) {
    auto surface = Surface::Create(10, 10);
    Rect huge = MakeRect(-5000000000LL, 0, 5000000000LL, 5);
    EXPECT_FALSE(surface->ColourFill(&huge, 3));
    surface->SetClipRect({2, 2, 8, 8});
    EXPECT_TRUE(surface->ColourFill(&huge, 3));
    EXPECT_EQ(CountPixels(*surface, {0, 0, 10, 10}, 3), 6 * 3);
    EXPECT_EQ(CountPixels(*surface, {2, 2, 8, 5}, 3), 6 * 3);
    EXPECT_TRUE(surface->ColourFill(nullptr, 6));
    EXPECT_EQ(CountPixels(*surface, {0, 0, 10, 10}, 6), 36);
    surface->ClearClipRect();
    EXPECT_TRUE(surface->ColourFill(nullptr, 6));
    EXPECT_EQ(CountPixels(*surface, {0, 0, 10, 10}, 6), 100);
    const std::pair<int, int> sizes[] = {{0, 10}, {10, -1}, {1 << 20, 1 << 20}};
    for (const auto& [width, height] : sizes) {
        EXPECT_EQ(Surface::Create(width, height), nullptr) << width << " x " << height;
    }
    EXPECT_EQ(Surface::Create(11, 2)->GetPitch(), 12);
}

}  // namespace
