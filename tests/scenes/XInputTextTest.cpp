#include "scenes/XInputText.h"

#include <string>

#include "input/Input.h"
#include "scenes/SceneTestSupport.h"

namespace {

constexpr int kKeyA = 30;
constexpr int kKeyB = 48;
constexpr int kKeyT = 20;
constexpr int kKeySlash = 53;  // no character of the name entry

constexpr uint8_t kBoxLeft = 10;
constexpr uint8_t kBoxMiddle = 11;
constexpr uint8_t kBoxRight = 12;
constexpr uint8_t kFieldLeft = 13;
constexpr uint8_t kFieldMiddle = 14;
constexpr uint8_t kFieldRight = 15;
constexpr uint8_t kCursorColour = 16;
constexpr uint8_t kGlyphColour = 17;

class XInputTextTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        InstallBitmap(240, 20, 75, [](int, int) { return kBoxLeft; });
        InstallBitmap(236, 11, 75, [](int, int) { return kBoxMiddle; });
        InstallBitmap(242, 20, 75, [](int, int) { return kBoxRight; });
        InstallBitmap(241, 6, 25, [](int, int) { return kFieldLeft; });
        InstallBitmap(237, 11, 25, [](int, int) { return kFieldMiddle; });
        InstallBitmap(238, 6, 25, [](int, int) { return kFieldRight; });
        InstallKeyedSheet(239, 11, 18, 2, kCursorColour);
        // Font 0: 38 glyphs of 10 x 16.
        InstallBitmap(106, 10, 16 * 38, [](int x, int y) { return x == 0 && y == 0 ? 0 : kGlyphColour; });
        widget = std::make_unique<XInputText>(app.get());
        widget->SetSurface(Back());
        widget->SetPrompt(ZString("Enter Your Name  "));
        widget->SetText(ZString(""), 15);
        widget->CentreOnScreen();
    }
    void TearDown() override {
        widget.reset();
        SceneTest::TearDown();
    }
    // Key presses between two frames, then one frame of the widget.
    void Type(std::initializer_list<int> keys) {
        for (int key : keys) {
            Tap(key);
        }
        widget->Update();
    }
    std::string Text() const { return widget->GetText().GetBuffer(); }

    std::unique_ptr<XInputText> widget;
};

TEST_F(XInputTextTest, TypingRulesLengthBackspaceAndEnter) {
    Tap(kKeyA);
    widget->Update();
    EXPECT_EQ(Text(), "") << "idle: nothing is read";
    widget->Begin();
    EXPECT_FALSE(app->hotKeysEnabled) << "P must type, not pause";
    Type({kKeyT, kKeyP, kKeySlash, kKeySpace, 2, 12, 52});
    EXPECT_EQ(Text(), "TP 1-.");

    for (int i = 0; i < 3; ++i) {
        Type({kKeyA, kKeyB, kKeyA});
    }
    EXPECT_EQ(Text(), "TP 1-.ABAABAABA");
    Type({kKeyB});
    EXPECT_EQ(Text(), "TP 1-.ABAABAABA") << "the 16th character is dropped";
    Type({kKeyBackspace, kKeyB});
    EXPECT_EQ(Text(), "TP 1-.ABAABAABB") << "a full text still takes backspace";

    for (int i = 0; i < 14; ++i) {
        Type({kKeyBackspace});
    }
    EXPECT_EQ(Text(), "T");
    Type({kKeyBackspace});
    EXPECT_EQ(Text(), "");
    Type({kKeyBackspace, kKeyLeft});
    EXPECT_EQ(Text(), "") << "backspace on empty";
    EXPECT_FALSE(widget->IsDone());

    // Escape does nothing; Enter ends typing, and what follows it in the batch is lost.
    Type({kKeyEscape, kKeyA, kKeyReturn, kKeyB, kKeyReturn});
    EXPECT_EQ(Text(), "A");
    EXPECT_TRUE(widget->IsDone());
    EXPECT_TRUE(app->hotKeysEnabled);
    Type({kKeyT});
    EXPECT_EQ(Text(), "A") << "done: nothing more is read";
    if (SoundsLoaded()) {
        EXPECT_EQ(SoundLog::Get().CountPlayed(176), 1);
    }
}

TEST_F(XInputTextTest, AtMostTenCharactersPerFrameAndNoneFromBeforeBegin) {
    Tap(kKeyB);
    widget->Begin();
    Type({kKeyA, kKeyA, kKeyA, kKeyA, kKeyA, kKeyA, kKeyA, kKeyA, kKeyA, kKeyT, kKeyB, kKeyB});
    EXPECT_EQ(Text(), "AAAAAAAAAT");
    widget->Update();
    EXPECT_EQ(Text(), "AAAAAAAAAT") << "the presses behind the tenth are lost";
    Type({kKeyReturn});
    EXPECT_TRUE(widget->IsDone());
}

TEST_F(XInputTextTest, SetTextCutsToTheLimit) {
    widget->SetText(ZString("ABCDEFGHIJKLMNOPQ"), 15);
    EXPECT_EQ(Text(), "ABCDEFGHIJKLMNO");
    widget->SetText(ZString("XY"), 4);
    EXPECT_EQ(Text(), "XY");
    EXPECT_EQ(widget->GetMaxLength(), 4);
    widget->SetText(ZString("XY"), -3);
    EXPECT_EQ(Text(), "");
}

TEST_F(XInputTextTest, DrawsBoxFieldPromptTextAndCursorCentred) {
    EXPECT_EQ(widget->GetBoxX(), 206);
    EXPECT_EQ(widget->GetBoxY(), 202);
    Back()->ColourFill(nullptr, 99);
    widget->Draw();
    EXPECT_EQ(CountPixels(*Back(), Rect{0, 0, 640, 480}, 0), 640 * 480) << "idle: a black screen";

    widget->Begin();
    Type({kKeyA, kKeyB});
    widget->Draw();
    Surface& back = *Back();
    // Box: 20 + 17 x 11 + 20 = 227 wide at (206, 202).
    EXPECT_EQ(back.GetPixel(206, 202), kBoxLeft);
    EXPECT_EQ(back.GetPixel(226, 202), kBoxMiddle);
    EXPECT_EQ(back.GetPixel(412, 276), kBoxMiddle);
    EXPECT_EQ(back.GetPixel(413, 202), kBoxRight);
    EXPECT_EQ(back.GetPixel(432, 276), kBoxRight);
    EXPECT_EQ(back.GetPixel(433, 240), 0);
    EXPECT_EQ(back.GetPixel(206, 277), 0);
    // Field 37 below the box top: 6 + 16 x 11 + 6 = 188 wide from x 226.
    EXPECT_EQ(back.GetPixel(226, 239 + 24), kFieldLeft);
    EXPECT_EQ(back.GetPixel(232 + 16 * 11 - 1, 239 + 24), kFieldMiddle);
    EXPECT_EQ(back.GetPixel(408, 239 + 24), kFieldRight);
    EXPECT_EQ(back.GetPixel(413, 239 + 24), kFieldRight);
    EXPECT_EQ(back.GetPixel(414, 239 + 24), kBoxRight);
    // The prompt from (226, 216); the text from (232, 243), the cursor behind it.
    EXPECT_EQ(back.GetPixel(226 + 5, 216 + 5), kGlyphColour);
    EXPECT_EQ(back.GetPixel(226 + 5 * 10 + 5, 216 + 5), kBoxMiddle) << "a space leaves its cell empty";
    EXPECT_EQ(back.GetPixel(232 + 15, 243 + 8), kGlyphColour);
    EXPECT_EQ(back.GetPixel(252 + 5, 243 + 8), kCursorColour);
    EXPECT_EQ(back.GetPixel(252 + 12, 243 + 8), kFieldMiddle);

    // Without a target nothing is drawn.
    XInputText loose(app.get());
    back.ColourFill(nullptr, 99);
    loose.Draw();
    EXPECT_EQ(CountPixels(back, Rect{0, 0, 640, 480}, 99), 640 * 480);
}

}  // namespace
