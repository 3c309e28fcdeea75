#include <gtest/gtest.h>

#include "gfx/ZAscii.h"
#include "gfx/ZNumber.h"
#include "support/TestSupport.h"

namespace {

// Glyph sheets whose cell c is filled with index c + 1, on a key of 249 in each cell's corner.
class TextTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        auto sheet = [](int cellHeight) {
            return [cellHeight](int x, int y) {
                return static_cast<uint8_t>(x == 0 && y % cellHeight == 0 ? 249 : y / cellHeight + 1);
            };
        };
        InstallBitmap(106, 11, 684, sheet(18));
        InstallBitmap(105, 11, 684, sheet(18));
        InstallBitmap(104, 14, 264, sheet(22));
    }
    // The cell drawn at a cell's top-left + (5, 5), or -1 for none.
    int CellAt(int x, int y) { return Back()->GetPixel(x + 5, y + 5) - 1; }
};

}  // namespace

TEST_F(TextTest, DrawStringMapsCellsAndAdvancesPerByte) {
    ZAscii text;
    text.SetSurface(Back());
    EXPECT_EQ(text.DrawString(100, 50, "Abc-1."), 166);
    const int cells[6] = {0, 1, 2, 36, 27, 37};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(CellAt(100 + 11 * i, 50), cells[i]) << i;
    }
    EXPECT_EQ(text.DrawString(0, 100, "A B"), 33);
    EXPECT_EQ(CellAt(11, 100), -1);  // the blank leaves its cell empty
    EXPECT_EQ(text.DrawString(7, 0, ""), 7);
    text.SetFont(5);
    EXPECT_EQ(text.DrawString(7, 0, "A"), 7);
    text.SetSurface(nullptr);
    text.SetFont(0);
    EXPECT_EQ(text.DrawString(7, 0, "ABC"), 7);
    EXPECT_EQ(ZAscii::CellOf(0xC9), -1);
}

TEST_F(TextTest, DrawNumberRightAlignsWithOrWithoutZeros) {
    ZNumber number(104);
    number.SetSurface(Back());
    EXPECT_EQ(number.GetCellWidth(), 14);
    EXPECT_EQ(number.DrawNumber(0, 0, 5, 2), 28);
    EXPECT_EQ(CellAt(0, 0), 0);
    EXPECT_EQ(CellAt(14, 0), 5);
    number.SetZeroFill(false);
    EXPECT_EQ(number.DrawNumber(0, 30, 5, 2), 28);
    EXPECT_EQ(CellAt(0, 30), -1);
    EXPECT_EQ(CellAt(14, 30), 5);
    number.DrawNumber(0, 60, 120, 2);  // the last two digits only
    EXPECT_EQ(CellAt(0, 60), 2);
    EXPECT_EQ(CellAt(14, 60), 0);
    EXPECT_EQ(number.DrawNumber(0, 90, 3, 0), 0);
    EXPECT_EQ(CellAt(0, 90), -1);
    EXPECT_EQ(number.DrawNumber(0, 120, -5, 3), 42);  // the minus sign has no cell
    EXPECT_EQ(CellAt(0, 120), -1);
    EXPECT_EQ(CellAt(14, 120), -1);
    EXPECT_EQ(CellAt(28, 120), 5);
    number.SetZeroFill(true);
    number.DrawNumber(0, 150, -5, 3);
    EXPECT_EQ(CellAt(0, 150), 0);
    EXPECT_EQ(number.DrawGlyph11(200, 0), 214);
    EXPECT_EQ(CellAt(200, 0), 11);
    number.DrawNumber(300, 0, -2147483647 - 1, 20);  // every digit of the widest value stays on the sheet
    EXPECT_EQ(CellAt(300 + 14 * 19, 0), 8);
}
