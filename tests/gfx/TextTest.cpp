#include <tuple>

#include "gfx/ZAscii.h"
#include "gfx/ZNumber.h"
#include "support/TestSupport.h"

// Glyph sheets whose cell c is filled with index c + 1 (font 1: c + 101), on a key of 249 in each cell's
// corner.
class TextTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        for (int id : {104, 105, 106}) {
            const int width = id == 104 ? 14 : 11, height = id == 104 ? 22 : 18, first = id == 105 ? 101 : 1;
            InstallBitmap(id, width, (id == 104 ? 12 : 38) * height,
                          [=](int x, int y) { return x == 0 && y % height == 0 ? 249 : y / height + first; });
        }
    }
    // The glyphs in the cells along a row from x, '_' for an empty cell.
    std::string Cells(int x, int y, size_t count, int width, const char* glyphs) const {
        std::string cells;
        for (size_t i = 0; i < count; ++i, x += width)
            cells +=
                Back()->GetPixel(x + 5, y + 5) ? glyphs[(Back()->GetPixel(x + 5, y + 5) - 1) % 100] : '_';
        return cells;
    }
};

TEST_F(TextTest, DrawStringMapsBytesToCellsOfElevenPixelsAndReturnsTheEnd) {
    ZAscii text;
    EXPECT_EQ(text.DrawString(7, 0, "ABC"), 7) << "no target";
    text.SetSurface(Back());
    EXPECT_EQ(std::tuple(text.DrawString(100, 50, "Abz-1.09 ?\xC9Z"), text.DrawString(7, 0, "")),
              std::tuple(232, 7));
    EXPECT_EQ(Cells(100, 50, 13, 11, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-."), "ABZ-1.09___Z_");
    EXPECT_EQ(std::pair(ZAscii::CountCells("Abz-1.09 ?\xC9Z"), ZAscii::CountCells("")), std::pair(12, 0));
    text.SetFont(1);
    EXPECT_EQ((std::tuple{text.DrawString(0, 100, "B"), Back()->GetPixel(5, 105)}), std::tuple(11, 102));
}

TEST_F(TextTest, DrawNumberRightAlignsTheLastDigitsWithOrWithoutLeadingZeros) {
    ZNumber number(104);
    // No target.
    EXPECT_EQ(std::tuple(number.DrawNumber(0, 0, 5, 2), number.DrawGlyph11(3, 0)), std::tuple(0, 3));
    number.SetSurface(Back());
    // value, width, zero fill, the cells drawn
    const std::tuple<int, int, bool, std::string> cases[] = {
        {5, 2, true, "05"},  {5, 2, false, "_5"},   {0, 1, false, "0"},   {120, 2, false, "20"},
        {3, 0, true, ""},    {-5, 3, false, "__5"}, {-5, 3, true, "0_5"}, {1234, 4, true, "1234"},
        {7, 3, true, "007"}, {98, -1, true, ""}};
    for (int y = 0; const auto& [value, width, zeros, cells] : cases) {
        number.SetZeroFill(zeros);
        EXPECT_EQ(number.DrawNumber(10, y, value, width), 10 + 14 * static_cast<int>(cells.size())) << value;
        EXPECT_EQ(Cells(10, y, cells.size() + 1, 14, "0123456789-."), cells + "_") << value;
        y += 30;
    }
    EXPECT_EQ((std::tuple{number.GetCellWidth(), number.DrawGlyph11(200, 0), Back()->GetPixel(205, 5)}),
              std::tuple(14, 214, 12));
}
