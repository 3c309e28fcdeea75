#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The next character of UTF-8 text, moving the text past it; U+FFFD for a byte that does not begin a
// well-formed character (that byte alone is passed over), 0 at the end.
uint32_t NextCodePoint(const char** text);
// A character (up to U+10FFFF) as UTF-8.
std::string Utf8(uint32_t codePoint);
// The plain capital letters a Latin-1 or Latin Extended-A letter is written with when accents cannot
// be: "E" for é, "O" for ö, "SS" for ß, "AE" for æ. Empty for any other character.
std::string_view PlainLetters(uint32_t codePoint);
