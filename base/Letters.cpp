#include "base/Letters.h"

#include <utility>

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// U+00C0 to U+017F, one letter each; '-' for a sign that is no letter, '*' for a letter of two.
constexpr std::string_view kPlain =
    "AAAAAA*CEEEEIIII"
    "DNOOOOO-OUUUUY**"
    "AAAAAA*CEEEEIIII"
    "DNOOOOO-OUUUUY*Y"
    "AAAAAACCCCCCCCDD"
    "DDEEEEEEEEEEGGGG"
    "GGGGHHHHIIIIIIII"
    "II**JJKKKLLLLLLL"
    "LLLNNNNNNNNNOOOO"
    "OO**RRRRRRSSSSSS"
    "SSTTTTTTUUUUUUUU"
    "UUUUWWYYYZZZZZZS";
constexpr uint32_t kFirstPlain = 0xC0;
constexpr std::pair<uint32_t, std::string_view> kTwoLetters[] = {{0xC6, "AE"},  {0xE6, "AE"},  {0xDE, "TH"},
                                                                 {0xFE, "TH"},  {0xDF, "SS"},  {0x132, "IJ"},
                                                                 {0x133, "IJ"}, {0x152, "OE"}, {0x153, "OE"}};

}  // namespace

uint32_t NextCodePoint(const char** text) {
    const auto* p = reinterpret_cast<const unsigned char*>(*text);
    if (*p == 0) {
        return 0;
    }
    int more = *p >= 0xF0 ? 3 : *p >= 0xE0 ? 2 : *p >= 0xC0 ? 1 : 0;
    uint32_t c = *p & (0x7F >> more);
    int i = 1;
    for (; i <= more && (p[i] & 0xC0) == 0x80; ++i) {
        c = c << 6 | (p[i] & 0x3F);
    }
    // The shortest form only, and no continuation byte or five-byte lead where a character begins.
    constexpr uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    bool wellFormed = i == more + 1 && (*p < 0x80 || *p >= 0xC0) && *p < 0xF8 && c >= kLeast[more] &&
                      c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    *text += wellFormed ? i : 1;
    return wellFormed ? c : kReplacement;
}

std::string Utf8(uint32_t c) {
    if (c < 0x80) {
        return std::string(1, static_cast<char>(c));
    }
    constexpr uint32_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
    int more = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    std::string bytes(1, static_cast<char>(kLead[more] | (c >> (6 * more))));
    for (int i = more - 1; i >= 0; --i) {
        bytes += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
    }
    return bytes;
}

std::string_view PlainLetters(uint32_t codePoint) {
    for (const auto& [letter, plain] : kTwoLetters) {
        if (codePoint == letter) {
            return plain;
        }
    }
    if (codePoint < kFirstPlain || codePoint - kFirstPlain >= kPlain.size() ||
        kPlain[codePoint - kFirstPlain] == '-') {
        return {};
    }
    return kPlain.substr(codePoint - kFirstPlain, 1);
}
