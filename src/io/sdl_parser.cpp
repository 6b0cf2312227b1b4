#include "io/sdl_parser.h"

#include <charconv>
#include <cmath>
#include <set>

#include "base/debug.h"
#include "base/format.h"
#include "io/sdl_escape.h"

namespace xIo::xSdl {

namespace {
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int32_t Saturate(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}
}  // namespace

eParser::eParser(std::string name, std::string text, const eParameters& parameters, eKind kind)
    : name_(std::move(name)), text_(std::move(text)), kind_(kind) {
    xDebug::xCheckPoint::ThreadStack().Push(this);
    if (!parameters.empty()) Substitute(parameters);
}

eParser::~eParser() { xDebug::xCheckPoint::ThreadStack().Pop(this); }

void eParser::Describe(std::string& out) const {
    out += kind_ == eKind::Define ? "define '" + name_ + "'" : name_;
    out += ":\tline ";
    out += std::to_string(line_);
    if (token_.type == kTokenEnd) return;
    constexpr size_t kShown = 40;  // a long string would drown the trace
    out += ", token '" + token_.text.substr(0, kShown) + (token_.text.size() > kShown ? "...'" : "'");
}

void eParser::Substitute(const eParameters& parameters) {
    // One pass over the text: a value put in is never searched again, so a
    // value that mentions a parameter cannot make the text grow without end.
    std::set<std::string> used;
    std::string result;
    result.reserve(text_.size());
    size_t i = 0;
    while (i < text_.size()) {
        if (text_[i] == '%' && i + 1 < text_.size() && IsWordChar(text_[i + 1])) {
            size_t end = i + 1;
            while (end < text_.size() && IsWordChar(text_[end])) ++end;
            auto found = parameters.find(text_.substr(i + 1, end - i - 1));
            if (found != parameters.end()) {
                result += found->second;
                used.insert(found->first);
                i = end;
                continue;
            }
        }
        result += text_[i++];
    }
    text_ = std::move(result);
    std::string unused;
    for (const auto& parameter : parameters)
        if (!used.count(parameter.first)) unused += (unused.empty() ? "" : " ") + parameter.first;
    if (!unused.empty())
        xDebug::Warning("io/sdl_parser", __LINE__,
                        format("SDL: unused parameter(s) for parser \"%1%\" : %2%") % name_ % unused);
}

void eParser::SkipSpaceAndComments() {
    while (position_ < text_.size()) {
        char c = text_[position_];
        if (c == '\n') {
            ++line_;
            ++position_;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            ++position_;
        } else if (c == ';') {
            while (position_ < text_.size() && text_[position_] != '\n') ++position_;
        } else {
            return;
        }
    }
}

const eToken& eParser::Next() {
    SkipSpaceAndComments();
    token_ = eToken();
    token_.line = line_;
    token_.offset = position_;
    if (position_ >= text_.size()) return token_;
    size_t start = position_;
    char c = text_[position_++];
    auto next_is = [&](auto predicate) { return position_ < text_.size() && predicate(text_[position_]); };
    if (IsLetter(c) || c == '_') {
        while (next_is(IsWordChar)) ++position_;
        token_.type = kTokenIdent;
    } else if (c == '%') {
        while (next_is(IsWordChar)) ++position_;
        token_.type = position_ - start > 1 ? kTokenIdent : kTokenPercent;
    } else if (c == '(' || c == ')') {
        token_.type = c == '(' ? kTokenOpen : kTokenClose;
    } else if (c == '{') {
        if (next_is([](char n) { return n == '#'; }))
            while (next_is([](char n) { return n == '#' || n == '-' || n == '+' || IsLetter(n) || IsDigit(n); }))
                ++position_;
        token_.type = kTokenBegin;
    } else if (c == '}') {
        token_.type = kTokenBlockEnd;
    } else if (c == '"' || c == '\'') {
        ScanString(c);
        return token_;
    } else if (IsDigit(c)) {
        ScanNumber(start);
        return token_;
    } else if (c == '-' || c == '+') {
        if (next_is(IsDigit)) {
            ScanNumber(start);
            return token_;
        }
        if (next_is([](char n) { return n == '='; })) ++position_;
        token_.type = kTokenOperator;
    } else if (c == '*' || c == '/' || c == '=' || c == '<' || c == '>' || c == '!') {
        if (next_is([](char n) { return n == '='; })) ++position_;
        token_.type = kTokenOperator;
    } else if (c == '&' || c == '|') {
        token_.type = kTokenOperator;
    } else {
        token_.type = kTokenInvalid;
    }
    token_.text = text_.substr(start, position_ - start);
    return token_;
}

void eParser::ScanString(char quote) {
    size_t start = position_;
    while (position_ < text_.size() && text_[position_] != quote) {
        char c = text_[position_];
        if (c == '\n' || c == '\r') break;
        if (c == '\\' && position_ + 1 < text_.size() && text_[position_ + 1] != '\n' && text_[position_ + 1] != '\r')
            ++position_;
        ++position_;
    }
    if (position_ >= text_.size() || text_[position_] != quote) {
        // Unterminated: the token is invalid and ends where the line does.
        token_.type = kTokenInvalid;
        token_.text = text_.substr(start - 1, position_ - start + 1);
        return;
    }
    token_.type = quote == '"' ? kTokenString : kTokenStringSingle;
    token_.text = Unescape(std::string_view(text_).substr(start, position_ - start));
    ++position_;
}

void eParser::ScanNumber(size_t start) {
    auto digits = [&] {
        while (position_ < text_.size() && IsDigit(text_[position_])) ++position_;
    };
    if (text_[start] == '0' && position_ == start + 1 && position_ + 1 < text_.size() &&
        (text_[position_] == 'x' || text_[position_] == 'X') && IsHexDigit(text_[position_ + 1])) {
        ++position_;
        uint32_t value = 0;  // wraps at 32 bits
        while (position_ < text_.size() && IsHexDigit(text_[position_])) {
            char h = text_[position_++];
            uint32_t digit = IsDigit(h) ? h - '0' : (h | 0x20) - 'a' + 10;
            value = value * 16 + digit;
        }
        token_.type = kTokenInt;  // a hexadecimal integer is delivered as a decimal one
        token_.integer = static_cast<int32_t>(value);
        token_.number = static_cast<float>(token_.integer);
        token_.text = std::to_string(token_.integer);
        return;
    }
    digits();
    int32_t type = kTokenInt;
    if (position_ < text_.size() && text_[position_] == '.') {
        ++position_;
        digits();
        type = kTokenFloat;
    }
    if (position_ < text_.size() && (text_[position_] == 'e' || text_[position_] == 'E')) {
        ++position_;
        while (position_ < text_.size() && (IsDigit(text_[position_]) || text_[position_] == '+' || text_[position_] == '-'))
            ++position_;
        type = kTokenFloat;
    }
    SetNumber(type, start);
}

void eParser::SetNumber(int32_t type, size_t start) {
    token_.text = text_.substr(start, position_ - start);
    const char* first = token_.text.data();
    const char* last = first + token_.text.size();
    bool negative = *first == '-';
    if (*first == '-' || *first == '+') ++first;
    token_.type = type;
    if (type == kTokenInt) {
        uint64_t value = 0;  // wraps at 32 bits like a hexadecimal integer
        for (const char* p = first; p < last; ++p) value = (value * 10 + static_cast<uint64_t>(*p - '0')) & 0xFFFFFFFFu;
        uint32_t bits = static_cast<uint32_t>(negative ? 0u - value : value);
        token_.integer = static_cast<int32_t>(bits);
        token_.number = static_cast<float>(token_.integer);
        return;
    }
    double value = 0;
    std::from_chars_result result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: keep what the text means.
        const char* e = first;
        while (e < last && *e != 'e' && *e != 'E') ++e;
        value = (e + 1 < last && e[1] == '-') ? 0.0 : HUGE_VAL;
    } else if (result.ec != std::errc()) {
        token_.type = kTokenInvalid;
        return;
    }
    if (negative) value = -value;
    token_.number = static_cast<float>(value);
    token_.integer = Saturate(value);
}

}  // namespace xIo::xSdl
