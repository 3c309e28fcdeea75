#include <string>

#include "gfx/Surface.h"
#include "support/TestSupport.h"

// Every pixel of its own index: 1 + x + y * width.
static std::unique_ptr<Surface> Pattern(int width, int height) {
    auto surface = Surface::Create(width, height);
    for (int i = 0; i < width * height; ++i) {
        surface->Row(i / width)[i % width] = static_cast<uint8_t>(1 + i);
    }
    return surface;
}

TEST(Surface, CopiesAreCutToTheClipRectangleOrMustLieWhollyInsideTheTarget) {
    auto source = Pattern(15, 3);
    auto target = Surface::Create(20, 10);
    const Rect partly{-10, 2, 5, 5}, onePixelOut{6, 8, 21, 11}, inside{5, 7, 20, 10}, outside{30, 30, 40, 40};
    EXPECT_FALSE(target->Blt(&partly, *source, nullptr, false) ||
                 target->Blt(&onePixelOut, *source, nullptr, false));
    EXPECT_EQ(CountPixels(*target, {0, 0, 20, 10}, 0), 200);
    EXPECT_TRUE(target->Blt(&inside, *source, nullptr, false));
    EXPECT_EQ(std::tuple(target->GetPixel(5, 7), target->GetPixel(19, 9)), std::tuple(1, 45));
    target = Surface::Create(20, 10);
    target->SetClipRect({-5, -5, 50, 50});  // a clip rectangle never reaches past its surface
    ASSERT_TRUE(target->Blt(&partly, *source, nullptr, false));
    EXPECT_EQ(std::tuple(target->GetPixel(0, 2), target->GetPixel(4, 4)), std::tuple(11, 45))
        << "the source's 11th column lands on x = 0";
    EXPECT_EQ(CountPixels(*target, {0, 0, 20, 10}, 0), 200 - 15);
    EXPECT_TRUE(target->Blt(&outside, *source, nullptr, false))
        << "wholly outside the clip: nothing, no error";
    for (const Rect& bad : {Rect{0, 2, 4, 4}, Rect{-1, 0, 3, 2}, Rect{3, 0, 1, 2}, Rect{0, 0, 16, 1}}) {
        EXPECT_FALSE(target->Blt(&inside, *source, &bad, false)) << "a source rectangle outside the source";
    }
    Rect empty{4, 4, 4, 9}, clipped{2, 2, 8, 8};
    EXPECT_FALSE(target->Blt(&empty, *source, nullptr, false) || target->ColourFill(&empty, 9));
    EXPECT_EQ(CountPixels(*target, {0, 0, 20, 10}, 0), 200 - 15);
    target->SetClipRect(clipped);
    EXPECT_TRUE(target->ColourFill(nullptr, 9) && CountPixels(*target, {0, 0, 20, 10}, 9) == 36);
    target->ClearClipRect();
    EXPECT_TRUE(target->ColourFill(nullptr, 9) && CountPixels(*target, {0, 0, 20, 10}, 9) == 200);
}

TEST(Surface, KeyedCopiesSkipTheSourceKeyAndStretchesKeepTheVisiblePartInPlace) {
    auto source = Surface::Create(4, 1), target = Surface::Create(8, 1);
    std::copy_n("\x05\x01\x05\x02", 4, source->Row(0));
    const Rect half{0, 0, 4, 1}, doubled{0, 0, 8, 1};
    target->ColourFill(nullptr, 9);
    ASSERT_TRUE(target->Blt(&half, *source, nullptr, true));
    EXPECT_EQ(std::string(target->Row(0), target->Row(0) + 8), "\x05\x01\x05\x02\x09\x09\x09\x09")
        << "no key, all copied";
    source->SetColourKey(5);
    target->ColourFill(nullptr, 9);
    ASSERT_TRUE(target->Blt(&doubled, *source, nullptr, true));
    EXPECT_EQ(std::string(target->Row(0), target->Row(0) + 8), "\x09\x09\x01\x01\x09\x09\x02\x02");
    auto pattern = Pattern(2, 2), big = Pattern(8, 8), small = Surface::Create(2, 2);
    target = Surface::Create(8, 8);
    target->SetClipRect({0, 0, 8, 8});
    Rect cut{-2, -2, 2, 2};  // 4 x 4 from 2 x 2, three quarters cut away
    ASSERT_TRUE(target->Blt(&cut, *pattern, nullptr, false));
    EXPECT_EQ(
        std::tuple(target->GetPixel(0, 0), target->GetPixel(1, 1), CountPixels(*target, {0, 0, 8, 8}, 0)),
        std::tuple(4, 4, 60));
    ASSERT_TRUE(small->Blt(nullptr, *big, nullptr, false));
    EXPECT_EQ(std::tuple(small->GetPixel(0, 0), small->GetPixel(1, 1)), std::tuple(1, 37));
}
