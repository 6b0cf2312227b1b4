#include "base/format.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "base/thread_storage.h"

namespace {

struct ToSBuf {
    char data[kToSBufSize];
};

struct FmtBuf {
    char data[format::kFmtBufSize];
};

eThreadStorage<ToSBuf>& ToSBufStorage() {
    static eThreadStorage<ToSBuf> storage;
    return storage;
}

eThreadStorage<FmtBuf>& FmtBufStorage() {
    static eThreadStorage<FmtBuf> storage;
    return storage;
}

// Finds the next printf placeholder after cursor: a '%' that is not half of a
// doubled "%%" pair and not the text's last character. npos when none.
size_t FindPlaceholder(const std::string& text, int32_t cursor) {
    size_t i = static_cast<size_t>(cursor + 1);
    while (i < text.size()) {
        if (text[i] != '%') { ++i; continue; }
        if (i + 1 >= text.size()) return std::string::npos;
        if (text[i + 1] == '%') { i += 2; continue; }
        return i;
    }
    return std::string::npos;
}

}  // namespace

size_t FormatFloatG(double value, char* out, size_t out_size) {
    if (std::isnan(value)) {
        const char* text = std::signbit(value) ? "-nan" : "nan";
        std::snprintf(out, out_size, "%s", text);
        return std::strlen(out);
    }
    char tmp[64];
    auto result = std::to_chars(tmp, tmp + sizeof tmp, value, std::chars_format::general, 6);
    size_t len = static_cast<size_t>(result.ptr - tmp);
    tmp[len] = 0;
    // The runtime's template is "e+000": widen the exponent to three digits.
    char* e = std::strchr(tmp, 'e');
    size_t n = 0;
    if (e == nullptr) {
        n = len;
        std::memcpy(out, tmp, n + 1 <= out_size ? n + 1 : out_size);
    } else {
        char sign = e[1];
        const char* digits = e + 2;
        size_t digit_count = std::strlen(digits);
        size_t mantissa = static_cast<size_t>(e - tmp);
        std::memcpy(out, tmp, mantissa);
        n = mantissa;
        out[n++] = 'e';
        out[n++] = sign;
        for (size_t pad = digit_count; pad < 3; ++pad) out[n++] = '0';
        std::memcpy(out + n, digits, digit_count);
        n += digit_count;
        out[n] = 0;
    }
    return n;
}

const char* ToS(int32_t value) {
    char* buf = ToSBufStorage().Get().data;
    auto r = std::to_chars(buf, buf + kToSBufSize - 1, value);
    *r.ptr = 0;
    return buf;
}

const char* ToS(uint32_t value) {
    char* buf = ToSBufStorage().Get().data;
    auto r = std::to_chars(buf, buf + kToSBufSize - 1, value);
    *r.ptr = 0;
    return buf;
}

const char* ToS(double value) {
    char* buf = ToSBufStorage().Get().data;
    FormatFloatG(value, buf, kToSBufSize);
    return buf;
}

namespace {

// The conversion letter of a printf piece ("%-8.3f words" gives 'f'), or 0
// when the piece has none or asks for something this formatter never passes
// (a '*' width, "%n").
char ConversionOf(const std::string& piece) {
    for (size_t i = 1; i < piece.size(); ++i) {
        char c = piece[i];
        if (std::strchr("-+ #0123456789.hlLqjzt", c) != nullptr) continue;
        if (std::strchr("diouxXeEfFgGaAcsp", c) != nullptr) return c;
        return 0;
    }
    return 0;
}

// The argument as the piece's conversion expects it, so a piece and an
// argument of different kinds never reach printf mismatched.
int PrintPiece(char* buf, const std::string& piece, const char* arg) {
    char conv = ConversionOf(piece);
    if (conv == 's') return std::snprintf(buf, format::kFmtBufSize, piece.c_str(), arg);
    if (conv == 0) return std::snprintf(buf, format::kFmtBufSize, "%s", piece.c_str());
    std::string text_piece = piece;
    text_piece.replace(text_piece.find(conv), 1, "s");
    return std::snprintf(buf, format::kFmtBufSize, text_piece.c_str(), arg);
}

int PrintPiece(char* buf, const std::string& piece, long long arg, bool is_unsigned) {
    char conv = ConversionOf(piece);
    if (conv == 0) return std::snprintf(buf, format::kFmtBufSize, "%s", piece.c_str());
    if (std::strchr("eEfFgGaA", conv) != nullptr)
        return std::snprintf(buf, format::kFmtBufSize, piece.c_str(), static_cast<double>(arg));
    if (conv == 'c') return std::snprintf(buf, format::kFmtBufSize, piece.c_str(), static_cast<int>(arg));
    if (conv == 's' || conv == 'p')
        return PrintPiece(buf, piece, is_unsigned ? ToS(static_cast<uint32_t>(arg)) : ToS(static_cast<int32_t>(arg)));
    // Integer conversions: print through the widest length so a length
    // modifier in the piece can never read past the argument.
    std::string wide = piece;
    size_t at = wide.find(conv);
    size_t len_start = at;
    while (len_start > 1 && std::strchr("hlLqjzt", wide[len_start - 1]) != nullptr) --len_start;
    wide.replace(len_start, at - len_start, "ll");
    return std::snprintf(buf, format::kFmtBufSize, wide.c_str(), arg);
}

int PrintPiece(char* buf, const std::string& piece, double arg) {
    char conv = ConversionOf(piece);
    if (conv == 0) return std::snprintf(buf, format::kFmtBufSize, "%s", piece.c_str());
    if (std::strchr("eEfFgGaA", conv) != nullptr) {
        std::string plain = piece;  // drop a length modifier: the argument is a double
        size_t at = plain.find(conv);
        size_t len_start = at;
        while (len_start > 1 && std::strchr("hlLqjzt", plain[len_start - 1]) != nullptr) --len_start;
        plain.erase(len_start, at - len_start);
        return std::snprintf(buf, format::kFmtBufSize, plain.c_str(), arg);
    }
    if (conv == 's' || conv == 'p') return PrintPiece(buf, piece, ToS(arg));
    return PrintPiece(buf, piece, static_cast<long long>(arg), false);
}

}  // namespace

format::format(const char* text) : format(std::string(text ? text : "")) {}

format::format(std::string text) : text_(std::move(text)) {
    numbered_ = text_.find("%1%") != std::string::npos;
}

void format::FeedText(std::string_view arg) {
    ++argumentCount_;
    char key[16];
    std::snprintf(key, sizeof key, "%%%d%%", static_cast<int>(argumentCount_));
    size_t key_len = std::strlen(key);
    size_t pos = 0;
    while ((pos = text_.find(key, pos, key_len)) != std::string::npos) {
        text_.replace(pos, key_len, arg.data(), arg.size());
        pos += arg.size();
    }
}

template <class Arg>
void format::FeedPrintf(Arg arg) {
    size_t start = FindPlaceholder(text_, cursor_);
    if (start == std::string::npos) return;
    size_t end = text_.find('%', start + 1);
    if (end == std::string::npos) end = text_.size();
    std::string piece = text_.substr(start, end - start);
    char* buf = FmtBufStorage().Get().data;
    int printed = 0;
    if constexpr (std::is_same_v<Arg, const char*>) printed = PrintPiece(buf, piece, arg);
    else if constexpr (std::is_same_v<Arg, double>) printed = PrintPiece(buf, piece, arg);
    else printed = PrintPiece(buf, piece, static_cast<long long>(arg), std::is_unsigned_v<Arg>);
    if (printed < 0) printed = 0;
    size_t len = std::min(static_cast<size_t>(printed), kFmtBufSize - 1);
    text_.replace(start, end - start, buf, len);
    cursor_ = static_cast<int32_t>(start + len) - 1;
}

format& format::operator%(const char* text) {
    if (text == nullptr) text = "";
    if (numbered_) FeedText(text);
    else FeedPrintf(text);
    return *this;
}

format& format::operator%(const std::string& text) {
    if (numbered_) FeedText(text);
    else FeedPrintf(text.c_str());
    return *this;
}

format& format::operator%(int32_t value) {
    if (numbered_) FeedText(ToS(value));
    else FeedPrintf(static_cast<int>(value));
    return *this;
}

format& format::operator%(uint32_t value) {
    if (numbered_) FeedText(ToS(value));
    else FeedPrintf(static_cast<unsigned>(value));
    return *this;
}

format& format::operator%(float value) { return *this % static_cast<double>(value); }

format& format::operator%(double value) {
    if (numbered_) FeedText(ToS(value));
    else FeedPrintf(value);
    return *this;
}

int32_t ParseInt(const char* text) {
    if (text == nullptr) return 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint32_t value = 0;
        for (const char* p = text + 2; *p; ++p) {
            uint32_t digit = 0;
            if (*p >= '0' && *p <= '9') digit = static_cast<uint32_t>(*p - '0');
            else if (*p >= 'A' && *p <= 'F') digit = static_cast<uint32_t>(*p - 'A' + 10);
            else if (*p >= 'a' && *p <= 'f') digit = static_cast<uint32_t>(*p - 'a' + 10);
            value = value * 16 + digit;
        }
        return static_cast<int32_t>(value);
    }
    // The runtime's conversion of a 32-bit long: out-of-range values saturate.
    long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}
