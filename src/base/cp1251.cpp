#include "base/cp1251.h"

#include <cstdint>

namespace {

// Unicode code points of the bytes 0x80..0xBF; 0 marks the unassigned byte.
constexpr uint16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

uint32_t CodePoint(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410u + (byte - 0xC0u);
    const uint16_t code = kHigh[byte - 0x80];
    return code != 0 ? code : 0xFFFDu;
}

void AppendUtf8(uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The next code point of a UTF-8 text at pos (advanced); false when malformed.
bool NextCodePoint(std::string_view text, size_t& pos, uint32_t& code) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra;
    if (lead < 0x80) { code = lead; extra = 0; }
    else if ((lead & 0xE0) == 0xC0) { code = lead & 0x1Fu; extra = 1; }
    else if ((lead & 0xF0) == 0xE0) { code = lead & 0x0Fu; extra = 2; }
    else if ((lead & 0xF8) == 0xF0) { code = lead & 0x07u; extra = 3; }
    else return false;
    if (text.size() - pos <= static_cast<size_t>(extra)) return false;
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<size_t>(i)]);
        if ((next & 0xC0) != 0x80) return false;
        code = (code << 6) | (next & 0x3Fu);
    }
    static constexpr uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    pos += static_cast<size_t>(extra) + 1;
    return true;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) AppendUtf8(CodePoint(static_cast<unsigned char>(c)), out);
    return out;
}

bool Utf8ToCp1251(std::string_view text, std::string& out) {
    out.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        uint32_t code;
        if (!NextCodePoint(text, pos, code)) return false;
        if (code < 0x80) { out += static_cast<char>(code); continue; }
        if (code >= 0x0410 && code <= 0x044F) { out += static_cast<char>(0xC0 + (code - 0x0410)); continue; }
        bool found = false;
        for (int i = 0; i < 64 && !found; ++i) {
            if (kHigh[i] == code) {
                out += static_cast<char>(0x80 + i);
                found = true;
            }
        }
        if (!found) return false;
    }
    return true;
}
