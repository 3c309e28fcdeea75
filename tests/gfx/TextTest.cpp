#include <string>
#include <tuple>

#include "gfx/ZAscii.h"
#include "gfx/ZNumber.h"
#include "support/TestSupport.h"

namespace {

// Glyph sheets whose cell c is filled with index c + 1 (font 1: c + 101), on a key of 249 in each cell's
// corner.
class TextTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        const std::tuple<int, int, int, int> sheets[] = {
            {106, 11, 38, 1}, {105, 11, 38, 101}, {104, 14, 12, 1}};
        for (const auto& sheet : sheets) {
            const int width = std::get<1>(sheet), first = std::get<3>(sheet), height = width == 11 ? 18 : 22;
            InstallBitmap(std::get<0>(sheet), width, std::get<2>(sheet) * height, [=](int x, int y) {
                return static_cast<uint8_t>(x == 0 && y % height == 0 ? 249 : y / height + first);
            });
        }
    }
    // The glyphs in the cells along a row from x, '_' for an empty cell.
    std::string Cells(int x, int y, int count, int width, const char* glyphs) const {
        std::string cells;
        for (int i = 0; i < count; ++i) {
            int index = Back()->GetPixel(x + i * width + 5, y + 5);
            cells += index == 0 ? '_' : glyphs[(index - 1) % 100];
        }
        return cells;
    }
};

TEST_F(TextTest, DrawStringMapsBytesToCellsOfElevenPixelsAndReturnsTheEnd) {
    const char* font = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.";
    ZAscii text;
    EXPECT_EQ(text.DrawString(7, 0, "ABC"), 7) << "no target";
    text.SetSurface(Back());
    EXPECT_EQ(text.DrawString(100, 50, "Abz-1.09 ?\xC9Z"), 100 + 11 * 12);
    EXPECT_EQ(Cells(100, 50, 13, 11, font), "ABZ-1.09___Z_");
    EXPECT_EQ(text.DrawString(7, 0, ""), 7);
    text.SetFont(1);
    EXPECT_EQ(text.DrawString(0, 100, "B"), 11);
    EXPECT_EQ(Back()->GetPixel(5, 105), 102);
    text.SetFont(2);
    EXPECT_EQ(text.DrawString(0, 200, "A"), 0);
    EXPECT_EQ(Back()->GetPixel(5, 205), 0);
}

TEST_F(TextTest, DrawNumberRightAlignsTheLastDigitsWithOrWithoutLeadingZeros) {
    ZNumber number(104);
    EXPECT_EQ(number.DrawNumber(0, 0, 5, 2), 0) << "no target";
    number.SetSurface(Back());
    EXPECT_EQ(number.GetCellWidth(), 14);
    // value, width, zero fill, the cells drawn
    const std::tuple<int, int, bool, std::string> cases[] = {
        {5, 2, true, "05"},  {5, 2, false, "_5"},   {0, 1, false, "0"},   {120, 2, false, "20"},
        {3, 0, true, ""},    {-5, 3, false, "__5"}, {-5, 3, true, "0_5"}, {1234, 4, true, "1234"},
        {7, 3, true, "007"}, {98, -1, true, ""}};
    int y = 0;
    for (const auto& [value, width, zeros, cells] : cases) {
        number.SetZeroFill(zeros);
        EXPECT_EQ(number.DrawNumber(10, y, value, width), 10 + 14 * static_cast<int>(cells.size())) << value;
        EXPECT_EQ(Cells(10, y, static_cast<int>(cells.size()) + 1, 14, "0123456789-."), cells + "_") << value;
        y += 30;
    }
    EXPECT_EQ(number.DrawGlyph11(200, 0), 214);
    EXPECT_EQ(Back()->GetPixel(205, 5), 12);
}

}  // namespace
