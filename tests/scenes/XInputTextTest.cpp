#include <string>

#include "gfx/ZAscii.h"
#include "scenes/ScenePicture.h"
#include "scenes/XInputText.h"

using XInputTextTest = GameTest;

TEST_F(XInputTextTest, TypesUpToFifteenNameCharactersUntilEnterInACentredBoxOnBlack) {
    XInputText entry(app.get());
    entry.SetSurface(Back());
    entry.SetPrompt(ZString("Enter Your Name  "));
    entry.SetText(ZString(""), 15);
    entry.CentreOnScreen();
    // These characters typed between two frames ('\b': backspace, '\n': Enter, '#': Escape), then the
    // widget's frame.
    auto type = [&entry](const std::string& typed) {
        size_t from = 0;
        for (size_t i = 0; i <= typed.size(); ++i) {
            char c = i < typed.size() ? typed[i] : 0;
            if (c == 0 || c == '\b' || c == '\n' || c == '#') {
                TextEvent(typed.substr(from, i - from).c_str());
                c ? Tap(c == '\b' ? kKeyBackspace : c == '\n' ? kKeyReturn : kKeyEscape) : void();
                from = i + 1;
            }
        }
        entry.Update();
        return std::string(entry.GetText().GetBuffer());
    };
    EXPECT_EQ(type("A"), "") << "idle";
    Back()->ColourFill(nullptr, 99);
    entry.Draw();
    EXPECT_EQ(Misses({}), 0) << "idle: black";

    entry.Begin();
    EXPECT_FALSE(app->hotKeysEnabled) << "P types a letter instead of pausing";
    for (const char* typed : {"AB", "", "", "", "", "", "", ""}) type(typed);
    entry.Draw();
    // A 227 x 75 box at (206, 202), 17 middles for the prompt; the field 37 lower with 16 middles; the
    // cursor after the text: shown, and hidden from the ninth frame of typing.
    auto glyph = [](char c) { return ZAscii::CellOf(static_cast<unsigned char>(c)); };  // 'A': the first cell
    std::vector<Layer> layers = {{240, 1, 0, 206, 202, false}, {242, 1, 0, 413, 202, false}};
    AddText(layers, {236, 1, 0, 226, 202, false}, std::string(17, 'A'), glyph);
    layers.insert(layers.end(), {{241, 1, 0, 226, 239, false}, {238, 1, 0, 408, 239, false}});
    AddText(layers, {237, 1, 0, 232, 239, false}, std::string(16, 'A'), glyph);
    AddText(layers, {106, 38, 0, 226, 216}, "Enter Your Name  ", glyph);
    AddText(layers, {106, 38, 0, 232, 243}, "AB", glyph);
    layers.push_back({239, 2, 0, 254, 243});
    EXPECT_EQ(Misses(layers), 0);
    // The cursor's pixels missing for nine frames, then back.
    for (int frame = 9; frame <= 18; ++frame) {
        type("");
        entry.Draw();
        EXPECT_EQ(Misses(layers), frame < 18 ? 45 : 0) << frame;
    }

    entry.SetText(ZString(""), 15);
    // '\b' is backspace, '\n' Enter. The 16th character is dropped, but a full text still takes backspace;
    // backspace on one character or none leaves none; accented letters come plain; what follows Enter is
    // lost.
    // clang-format off
    const struct {
        const char* typed;
        int times;
        const char* text;
    } steps[] = {
        {"ZP# 09-.", 1, "ZP 09-."}, {"AB", 4, "ZP 09-.ABABABAB"}, {"A", 1, "ZP 09-.ABABABAB"},
        {"\bA", 1, "ZP 09-.ABABABAA"}, {"\b", 14, "Z"}, {"\b", 2, ""},
        {"\xC3\xA9t\xC3\xA9 \xC3\xB6\xC3\xBC\xC3\x9F", 1, "ETE OUSS"}, {"\xC3\x9F", 4, "ETE OUSSSSSSSSS"},
        {"\b", 15, ""}, {"#A\nB", 1, "A"}, {"B", 1, "A"}};
    // clang-format on
    for (const auto& step : steps) {
        std::string text;
        for (int i = 0; i < step.times; ++i) text = type(step.typed);
        EXPECT_EQ(text, step.text) << &step - steps;
    }
    EXPECT_EQ(std::tuple(entry.IsDone(), app->hotKeysEnabled, Played(176), Looping()),
              std::tuple(true, true, 1, 0));
    entry.SetText(ZString("ABCDEFGHIJKLMNOPQ"), 15);
    EXPECT_STREQ(entry.GetText().GetBuffer(), "ABCDEFGHIJKLMNO");
}
