#include "io/sdl_escape.h"

namespace xIo::xSdl {

namespace {
struct Pair {
    char raw;
    char letter;  // follows the backslash in the escaped form
};
constexpr Pair kTable[] = {{'\\', '\\'}, {'"', '"'}, {'\n', 'n'}, {'\r', 'r'}, {'\t', 't'}};
}  // namespace

std::string Escape(std::string_view raw) {
    std::string escaped;
    escaped.reserve(raw.size() + 2);
    for (char c : raw) {
        const Pair* match = nullptr;
        for (const Pair& pair : kTable)
            if (pair.raw == c) match = &pair;
        if (match) {
            escaped += '\\';
            escaped += match->letter;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string Unescape(std::string_view escaped) {
    std::string raw;
    raw.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        char c = escaped[i];
        if (c == '\\' && i + 1 < escaped.size()) {
            const Pair* match = nullptr;
            for (const Pair& pair : kTable)
                if (pair.letter == escaped[i + 1]) match = &pair;
            if (match) {
                raw += match->raw;
                ++i;
                continue;
            }
        }
        raw += c;
    }
    return raw;
}

}  // namespace xIo::xSdl
