#include <gtest/gtest.h>

#include <string>

#include "base/Letters.h"

TEST(LettersTest, Utf8ReadsWellFormedCharactersAndAnythingElseAsOneReplacementPerByte) {
    // The text, and the characters read from it, one byte at a time for a malformed one.
    const std::pair<const char*, std::u32string> cases[] = {
        {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", U"a\u00E9\u20AC\U0001F600"}, {"\xC3", U"\uFFFD"},
        {"\xC3x", U"\uFFFDx"}, {"\xA9\xFF", U"\uFFFD\uFFFD"},
        {"\xC1\x81", U"\uFFFD\uFFFD"},                       // 'A' overlong
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},             // a surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"}};  // past U+10FFFF
    for (const auto& [text, characters] : cases) {
        std::u32string read;
        for (const char* p = text; *p;) read += NextCodePoint(&p);
        EXPECT_EQ(read, characters) << text;
    }
    // A control character is a character too; the end is none, and is not passed.
    const char* control = "\x01";
    EXPECT_TRUE(NextCodePoint(&control) == 1 && NextCodePoint(&control) == 0 && *control == 0);
    std::string written;
    for (char32_t c : cases[0].second) written += Utf8(c);
    EXPECT_EQ(written, cases[0].first);
}

TEST(LettersTest, AccentedLatinLettersAreWrittenWithTheirPlainCapitals) {
    const std::pair<std::u32string, std::string> cases[] = {
        {U"\u00C0\u00C5\u00E7\u00E9\u00EB\u00EE\u00F1\u00F6\u00F8\u00FC\u00FD\u00FF", "AACEEINOOUYY"},
        {U"\u00DF\u00C6\u00E6\u00DE\u00FE\u0132\u0153", "SSAEAETHTHIJOE"},
        {U"\u0100\u0107\u010D\u0111\u011B\u011F\u0127\u0131\u0135\u0138\u0142\u0144\u0149\u0151",
         "ACCDEGHIJKLNNO"},
        {U"\u0159\u015B\u0161\u0163\u016F\u0171\u0175\u0177\u0178\u017A\u017E\u017F", "RSSTUUWYYZZS"},
        // Signs, and letters of other scripts and blocks.
        {U"\u00D7\u00F7\u00BF\u0180\u0410A", ""}};
    for (const auto& [letters, plain] : cases) {
        std::string written;
        for (char32_t c : letters) written += PlainLetters(c);
        EXPECT_EQ(written, plain);
    }
}
