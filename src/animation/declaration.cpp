#include "animation/declaration.h"

#include <charconv>
#include <limits>

namespace animation {

namespace {

// Cuts fields off the front of a text; what a field ends at is consumed.
class FieldCutter {
public:
    explicit FieldCutter(std::string_view text) : rest_(text) {}

    /// The next field ending at one of delimiters; nullopt when only
    /// delimiters (or nothing) are left.
    std::optional<std::string_view> Next(std::string_view delimiters) {
        size_t begin = rest_.find_first_not_of(delimiters);
        if (begin == std::string_view::npos) {
            rest_ = {};
            return std::nullopt;
        }
        size_t end = rest_.find_first_of(delimiters, begin);
        std::string_view field = rest_.substr(begin, end == std::string_view::npos ? end : end - begin);
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        return field;
    }

private:
    std::string_view rest_;
};

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The white space at the front skipped, and a sign read; text moves past both.
bool SkipSpaceAndSign(std::string_view& text) {
    size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    text.remove_prefix(i);
    return negative;
}

size_t CountDigits(std::string_view text, size_t from) {
    size_t i = from;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i - from;
}

std::optional<int32_t> FrameField(std::optional<std::string_view> field) {
    if (!field) return std::nullopt;
    return ReadInteger(*field);
}

}  // namespace

int32_t ReadInteger(std::string_view text) {
    bool negative = SkipSpaceAndSign(text);
    int64_t value = 0;
    const int64_t limit = negative ? -int64_t{std::numeric_limits<int32_t>::min()} : std::numeric_limits<int32_t>::max();
    for (size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) {
            value = limit;
            break;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

float ReadFloat(std::string_view text) {
    bool negative = SkipSpaceAndSign(text);
    size_t length = CountDigits(text, 0);
    size_t mantissa_digits = length;
    if (length < text.size() && text[length] == '.') {
        size_t fraction = CountDigits(text, length + 1);
        mantissa_digits += fraction;
        if (mantissa_digits > 0) length += 1 + fraction;
    }
    if (mantissa_digits == 0) return 0.0f;
    if (length < text.size() && (text[length] == 'e' || text[length] == 'E')) {
        size_t sign = length + 1 < text.size() && (text[length + 1] == '+' || text[length + 1] == '-') ? 1 : 0;
        size_t exponent = CountDigits(text, length + 1 + sign);
        if (exponent > 0) length += 1 + sign + exponent;
    }
    double value = 0.0;
    std::from_chars_result r = std::from_chars(text.data(), text.data() + length, value);
    if (r.ec == std::errc::result_out_of_range) {
        // Out of range is infinity when large and zero when small, as the C
        // library reads it: small when the exponent is negative, or, without
        // an exponent, when the whole part is zero.
        std::string_view number = text.substr(0, length);
        size_t e = number.find_first_of("eE");
        bool small = e != std::string_view::npos ? number[e + 1] == '-'
                                                 : number.substr(0, number.find('.')).find_first_not_of('0') ==
                                                       std::string_view::npos;
        value = small ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return static_cast<float>(negative ? -value : value);
}

std::string TrimSpaces(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(' ');
    return std::string(text.substr(begin, end - begin + 1));
}

Declaration ParseDeclaration(std::string_view value) {
    Declaration d;
    FieldCutter cut(value);
    d.name = TrimSpaces(cut.Next(",").value_or(""));
    d.selection = TrimSpaces(cut.Next(",").value_or(""));
    d.start = FrameField(cut.Next(" -"));
    d.end = FrameField(cut.Next(" ,-"));

    // What follows the end frame: "file, speed", a bare speed, or a file.
    std::string_view rest = cut.Next(";").value_or("");
    size_t comma = rest.find(',');
    if (comma != std::string_view::npos) {
        d.speed = ReadFloat(rest.substr(comma + 1));
        rest = rest.substr(0, comma);
    } else if (!rest.empty() && IsDigit(rest.front())) {
        d.speed = ReadFloat(rest);
        rest = {};
    }
    d.fileName = rest.empty() ? d.name : TrimSpaces(rest);
    return d;
}

}  // namespace animation
