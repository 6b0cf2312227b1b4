#include "sim/json_cursor.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace sim {

namespace {

// Character classes, one table lookup per byte in the scanning loops.
enum : uint8_t { kSpace = 1, kNumber = 2, kPlain = 4 };

constexpr std::array<uint8_t, 256> MakeClasses() {
    std::array<uint8_t, 256> classes{};
    for (int c = 0x20; c < 0x80; ++c) classes[size_t(c)] = kPlain;  // string bytes needing no attention
    classes['"'] = classes['\\'] = 0;
    for (char c : {' ', '\t', '\n', '\r'}) classes[uint8_t(c)] |= kSpace;
    for (char c : {'-', '+', '.', 'e', 'E', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}) classes[uint8_t(c)] |= kNumber;
    return classes;
}
constexpr std::array<uint8_t, 256> kClasses = MakeClasses();

inline bool Is(char c, uint8_t cls) { return (kClasses[uint8_t(c)] & cls) != 0; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Describe(char c) {
    if (c > 0x20 && c < 0x7F) return std::string("'") + c + "'";
    static const char kHex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + kHex[uint8_t(c) >> 4] + kHex[uint8_t(c) & 15];
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at text (size bytes
// available), or 0 (Unicode's table of well-formed byte sequences).
size_t Utf8Length(const unsigned char* text, size_t size) {
    const unsigned char c = text[0];
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) length = 2;
    else if (c == 0xE0) length = 3, low = 0xA0;
    else if (c >= 0xE1 && c <= 0xEC) length = 3;
    else if (c == 0xED) length = 3, high = 0x9F;
    else if (c >= 0xEE && c <= 0xEF) length = 3;
    else if (c == 0xF0) length = 4, low = 0x90;
    else if (c >= 0xF1 && c <= 0xF3) length = 4;
    else if (c == 0xF4) length = 4, high = 0x8F;
    else return 0;
    if (size < length || text[1] < low || text[1] > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (text[i] < 0x80 || text[i] > 0xBF) return 0;
    return length;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The four hex digits at text as a number, or -1.
int32_t Hex4(const char* text) {
    int32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

// The decimal order of magnitude of a well-formed number token whose value
// is not zero, roughly: enough to tell an overflow from an underflow.
long Magnitude(std::string_view token) {
    size_t i = token[0] == '-' ? 1 : 0;
    long integer_digits = 0, leading_fraction_zeros = 0;
    bool seen_nonzero = false;
    for (; i < token.size() && IsDigit(token[i]); ++i) {
        seen_nonzero = seen_nonzero || token[i] != '0';
        if (seen_nonzero) ++integer_digits;
    }
    if (i < token.size() && token[i] == '.') {
        for (++i; i < token.size() && IsDigit(token[i]); ++i)
            if (!seen_nonzero && token[i] == '0') ++leading_fraction_zeros;
            else seen_nonzero = true;
    }
    long exponent = 0;
    if (i < token.size()) {  // 'e' or 'E'
        const bool negative = token[++i] == '-';
        if (token[i] == '-' || token[i] == '+') ++i;
        for (; i < token.size(); ++i) exponent = std::min(exponent * 10 + (token[i] - '0'), 100000000L);
        if (negative) exponent = -exponent;
    }
    return (integer_digits > 0 ? integer_digits - 1 : -leading_fraction_zeros - 1) + exponent;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

// One pass over a number token: its grammar, its end and, in the common case
// (up to 19 digits making at most 2^53, a power of ten that a double holds
// exactly), its value, exactly rounded: one multiplication or division of two
// exact doubles is. Any other number goes through std::from_chars.
JsonCursor::NumberToken JsonCursor::ScanNumber(const char* p) {
    NumberToken token;
    const bool negative = *p == '-';
    if (negative) ++p;
    uint64_t mantissa = 0;  // meaningful while there are at most 19 digits
    int digits = 0;
    int exponent = 0;  // of ten, applied to the mantissa
    if (*p == '0') {
        ++p;
    } else if (IsDigit(*p)) {
        for (; IsDigit(*p); ++p, ++digits) mantissa = mantissa * 10 + uint64_t(*p - '0');
    } else {
        token.end = p;
        return token;
    }
    bool whole = true;
    if (*p == '.') {
        whole = false;
        if (!IsDigit(*++p)) {
            token.end = p;
            return token;
        }
        for (; IsDigit(*p); ++p, ++digits, --exponent) mantissa = mantissa * 10 + uint64_t(*p - '0');
    }
    if (*p == 'e' || *p == 'E') {
        whole = false;
        const bool negative_exponent = *++p == '-';
        if (*p == '-' || *p == '+') ++p;
        if (!IsDigit(*p)) {
            token.end = p;
            return token;
        }
        int written = 0;
        while (IsDigit(*p)) written = std::min(written * 10 + (*p++ - '0'), 100000);
        exponent += negative_exponent ? -written : written;
    }
    token.end = p;
    token.valid = !Is(*p, kNumber);  // not "01", "1.2.3" or "1-2"
    if (!token.valid || digits > 19) return token;
    if (whole) {
        // Exact; "-0" is 0, as a whole number.
        token.value = mantissa == 0 ? 0.0 : negative ? -double(mantissa) : double(mantissa);
        token.fast = true;
    } else if (mantissa <= (uint64_t(1) << 53) && exponent >= -22 && exponent <= 22) {
        const double magnitude = exponent < 0 ? double(mantissa) / kExactPowers[-exponent] : double(mantissa) * kExactPowers[exponent];
        token.value = negative ? -magnitude : magnitude;
        token.fast = true;
    }
    return token;
}

const char* KindName(JsonKind kind) {
    switch (kind) {
        case JsonKind::kNull: return "null";
        case JsonKind::kBool: return "a boolean";
        case JsonKind::kNumber: return "a number";
        case JsonKind::kString: return "a string";
        case JsonKind::kArray: return "an array";
        case JsonKind::kObject: return "an object";
    }
    return "a value";
}

size_t TextSource::Read(char* buffer, size_t size) {
    const size_t count = std::min(size, rest_.size());
    std::memcpy(buffer, rest_.data(), count);
    rest_.remove_prefix(count);
    return count;
}

bool TextSource::Rewind() {
    rest_ = text_;
    return true;
}

bool FileSource::Rewind() { return std::fseek(file_, 0, SEEK_SET) == 0; }

size_t FileSource::Read(char* buffer, size_t size) {
    const size_t count = std::fread(buffer, 1, size, file_);
    if (count == 0 && std::ferror(file_)) throw LoadError("", "cannot read the scene file " + path_);
    return count;
}

bool JsonCursor::KeySet::Insert(const std::string& key) {
    // Objects of a scene file mostly have a handful of keys: a short list
    // is searched; a long one (a table of materials) also gets a hash set.
    constexpr size_t kSmall = 16;
    if (small.size() < kSmall) {
        if (std::find(small.begin(), small.end(), key) != small.end()) return false;
        small.push_back(key);
        if (small.size() == kSmall) large.insert(small.begin(), small.end());
        return true;
    }
    return large.insert(key).second;
}

void JsonCursor::KeySet::Clear() {
    small.clear();
    large.clear();
}

JsonCursor::JsonCursor(ByteSource& source, size_t chunk_size) : source_(source), buffer_(std::max<size_t>(chunk_size, 16) + 1) {
    pos_ = end_ = buffer_.data();
    buffer_[0] = '\0';
    while (end_ - pos_ < 3 && Refill()) {
    }
    if (end_ - pos_ >= 3 && std::memcmp(pos_, "\xEF\xBB\xBF", 3) == 0) pos_ += 3;
}

bool JsonCursor::Refill() {
    if (eof_) return false;
    char* base = buffer_.data();
    const char* keep = mark_ ? mark_ : pos_;
    buffer_offset_ += size_t(keep - base);
    const size_t kept = size_t(end_ - keep);
    std::memmove(base, keep, kept);
    const size_t pos_offset = size_t(pos_ - keep);
    const size_t mark_offset = mark_ ? size_t(mark_ - keep) : 0;
    if (kept + 1 == buffer_.size()) {  // one token fills the buffer: grow it
        buffer_.resize(2 * buffer_.size() - 1);
        base = buffer_.data();
    }
    const size_t got = source_.Read(base + kept, buffer_.size() - 1 - kept);
    pos_ = base + pos_offset;
    mark_ = mark_ ? base + mark_offset : nullptr;
    end_ = base + kept + got;
    base[kept + got] = '\0';  // stops every scanning loop at the end
    eof_ = got == 0;
    return !eof_;
}

void JsonCursor::SyntaxError(const std::string& what) const {
    // Lines are counted only now, reading the text again from its start.
    const size_t offset = buffer_offset_ + size_t(pos_ - buffer_.data());
    std::string where = "byte " + std::to_string(offset + 1);
    if (source_.Rewind()) {
        std::vector<char> chunk(size_t(1) << 16);
        size_t line = 1, column = 1, done = 0;
        while (done < offset) {
            const size_t got = source_.Read(chunk.data(), std::min(chunk.size(), offset - done));
            if (got == 0) break;
            for (size_t i = 0; i < got; ++i) {
                if (chunk[i] == '\n') ++line, column = 1;
                else ++column;
            }
            done += got;
        }
        if (done == offset) where = "line " + std::to_string(line) + ", column " + std::to_string(column);
    }
    throw LoadError("", "malformed JSON: " + where + ": " + what);
}

bool JsonCursor::SkipSpaceSlow() {
    for (;;) {
        while (Is(*pos_, kSpace)) ++pos_;
        if (pos_ != end_) return true;
        if (!Refill()) return false;
    }
}

char JsonCursor::NextChar(const char* expecting) {
    if (!SkipSpace()) SyntaxError(std::string("unexpected end of input; expected ") + expecting);
    return *pos_;
}

JsonKind JsonCursor::Peek() {
    const char c = NextChar("a value");
    switch (c) {
        case '{': return JsonKind::kObject;
        case '[': return JsonKind::kArray;
        case '"': return JsonKind::kString;
        case 't':
        case 'f': return JsonKind::kBool;
        case 'n': return JsonKind::kNull;
        default:
            if (c == '-' || IsDigit(c)) return JsonKind::kNumber;
            SyntaxError("unexpected " + Describe(c) + "; expected a value");
    }
}

std::string JsonCursor::Pointer() const {
    std::string pointer;
    for (int i = 0; i < depth_ && levels_[size_t(i)].count > 0; ++i) {
        const Level& level = levels_[size_t(i)];
        pointer = level.object ? Child(pointer, level.key) : Child(pointer, level.count - 1);
    }
    return pointer;
}

void JsonCursor::Fail(const std::string& reason) const { throw LoadError(Pointer(), reason); }

void JsonCursor::Expect(JsonKind kind) {
    const JsonKind found = Peek();
    if (found != kind) Fail(std::string("expected ") + KindName(kind) + ", found " + KindName(found));
}

void JsonCursor::Push(bool object) {
    if (depth_ >= kMaxDepth) Fail("nesting is too deep");
    if (levels_.size() == size_t(depth_)) levels_.emplace_back();
    Level& level = levels_[size_t(depth_++)];
    level.object = object;
    level.count = 0;
    if (object) level.keys.Clear();
    ++pos_;
}

void JsonCursor::BeginObject() {
    Expect(JsonKind::kObject);
    Push(true);
}

bool JsonCursor::NextKey() {
    Level& level = levels_[size_t(depth_ - 1)];
    char c = NextChar(level.count ? "',' or '}'" : "a key or '}'");
    if (c == '}') {
        ++pos_;
        Pop();
        return false;
    }
    if (level.count) {
        if (c != ',') SyntaxError("unexpected " + Describe(c) + "; expected ',' or '}'");
        ++pos_;
        c = NextChar("a key");
    }
    if (c != '"') SyntaxError("unexpected " + Describe(c) + "; expected a key");
    ++level.count;
    ReadStringToken(level.key);
    if (!level.keys.Insert(level.key)) Fail("duplicate key");
    c = NextChar("':'");
    if (c != ':') SyntaxError("unexpected " + Describe(c) + "; expected ':'");
    ++pos_;
    return true;
}

void JsonCursor::BeginArray() {
    Expect(JsonKind::kArray);
    Push(false);
}

bool JsonCursor::NextElement() {
    Level& level = levels_[size_t(depth_ - 1)];
    const char c = NextChar(level.count ? "',' or ']'" : "a value or ']'");
    if (c == ']') {
        ++pos_;
        Pop();
        return false;
    }
    if (level.count) {
        if (c != ',') SyntaxError("unexpected " + Describe(c) + "; expected ',' or ']'");
        ++pos_;
    }
    ++level.count;
    return true;
}

void JsonCursor::ReadLiteral(std::string_view word) {
    while (size_t(end_ - pos_) < word.size() && Refill()) {
    }
    if (size_t(end_ - pos_) < word.size() || std::memcmp(pos_, word.data(), word.size()) != 0)
        SyntaxError("invalid literal; expected " + std::string(word));
    pos_ += word.size();
}

bool JsonCursor::ReadBool() {
    Expect(JsonKind::kBool);
    const bool value = *pos_ == 't';
    ReadLiteral(value ? "true" : "false");
    return value;
}

size_t JsonCursor::ParseNumber(double& value, bool& overflow) {
    for (;;) {
        const NumberToken token = ScanNumber(pos_);
        // A token that reaches the end of the buffer may go on in the next
        // chunk; the buffer moves on a refill, so the token is scanned again.
        if (token.end == end_ && !eof_) {
            Refill();
            continue;
        }
        if (!token.valid) return 0;
        const size_t length = size_t(token.end - pos_);
        value = token.value;
        overflow = !token.fast && !ConvertNumber(length, value);
        return length;
    }
}

bool JsonCursor::ConvertNumber(size_t length, double& value) const {
    const char* p = pos_;
    const auto result = std::from_chars(p, p + length, value);
    if (result.ec == std::errc::result_out_of_range) {
        if (Magnitude({p, length}) > 0) return false;
        value = *p == '-' ? -0.0 : 0.0;  // too small for a double: zero, as the nearest double
        return true;
    }
    return result.ec == std::errc() && result.ptr == p + length;
}

double JsonCursor::ReadNumber() {
    Expect(JsonKind::kNumber);
    double value = 0;
    bool overflow = false;
    const size_t length = ParseNumber(value, overflow);
    if (!length) SyntaxError("invalid number");
    if (overflow) {
        const std::string text(pos_, std::min<size_t>(length, 40));
        Fail("number overflow: " + text + (length > 40 ? "..." : "") + " does not fit a double");
    }
    pos_ += length;
    return value;
}

void JsonCursor::ReadStringToken(std::string& out) {
    out.clear();
    ++pos_;  // the opening quote
    for (;;) {
        const char* p = pos_;
        while (Is(*p, kPlain)) ++p;
        out.append(pos_, p);
        pos_ = p;
        if (p == end_) {
            if (!Refill()) SyntaxError("unexpected end of input in a string");
            continue;
        }
        const char c = *p;
        if (c == '"') {
            ++pos_;
            return;
        }
        if (c == '\\') {
            while (end_ - pos_ < 12 && Refill()) {  // the longest escape: a surrogate pair
            }
            if (end_ - pos_ < 2) SyntaxError("unexpected end of input in a string");
            const char e = pos_[1];
            static const char kFrom[] = "\"\\/bfnrt", kTo[] = "\"\\/\b\f\n\r\t";
            if (const char* found = e ? std::strchr(kFrom, e) : nullptr) {
                out += kTo[found - kFrom];
                pos_ += 2;
                continue;
            }
            if (e != 'u') SyntaxError("invalid escape \\" + std::string(1, e));
            int32_t cp = end_ - pos_ >= 6 ? Hex4(pos_ + 2) : -1;
            if (cp < 0) SyntaxError("invalid \\u escape: expected four hex digits");
            if (cp >= 0xDC00 && cp <= 0xDFFF) SyntaxError("a low surrogate \\u escape without a high one");
            size_t length = 6;
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                const char* next = pos_ + 6;
                const int32_t low = end_ - next >= 6 && next[0] == '\\' && next[1] == 'u' ? Hex4(next + 2) : -1;
                if (low < 0xDC00 || low > 0xDFFF) SyntaxError("a high surrogate \\u escape without a low one");
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                length = 12;
            }
            AppendUtf8(out, uint32_t(cp));
            pos_ += length;
            continue;
        }
        if (uint8_t(c) < 0x20) SyntaxError("control character " + Describe(c) + " in a string (it must be escaped)");
        while (end_ - pos_ < 4 && Refill()) {
        }
        const size_t length = Utf8Length(reinterpret_cast<const unsigned char*>(pos_), size_t(end_ - pos_));
        if (!length) SyntaxError("invalid UTF-8 in a string");
        out.append(pos_, length);
        pos_ += length;
    }
}

void JsonCursor::ReadString(std::string& out) {
    Expect(JsonKind::kString);
    ReadStringToken(out);
}

Json JsonCursor::ReadJson() {
    switch (Peek()) {
        case JsonKind::kObject: {
            Json object = Json::object();
            BeginObject();
            while (NextKey()) {
                std::string key = Key();
                object.emplace(std::move(key), ReadJson());
            }
            return object;
        }
        case JsonKind::kArray: {
            Json array = Json::array();
            BeginArray();
            while (NextElement()) array.push_back(ReadJson());
            return array;
        }
        case JsonKind::kString: {
            std::string text;
            ReadStringToken(text);
            return Json(std::move(text));
        }
        case JsonKind::kNumber: return Json(ReadNumber());
        case JsonKind::kBool: return Json(ReadBool());
        case JsonKind::kNull: ReadLiteral("null"); return Json();
    }
    return Json();
}

void JsonCursor::Skip() {
    std::string text;
    switch (Peek()) {
        case JsonKind::kObject:
            BeginObject();
            while (NextKey()) Skip();
            break;
        case JsonKind::kArray:
            BeginArray();
            while (NextElement()) Skip();
            break;
        case JsonKind::kString: ReadStringToken(text); break;
        case JsonKind::kNumber: ReadNumber(); break;
        case JsonKind::kBool: ReadBool(); break;
        case JsonKind::kNull: ReadLiteral("null"); break;
    }
}

void JsonCursor::ExpectEnd() {
    if (SkipSpace()) SyntaxError("unexpected " + Describe(*pos_) + " after the end of the document");
}

bool JsonCursor::TryReadNumbers(double* values, int count) {
    if (depth_ >= kMaxDepth || !SkipSpace() || *pos_ != '[') return false;
    mark_ = pos_++;
    for (int i = 0; i < count; ++i) {
        bool overflow = false;
        const size_t length = SkipSpace() ? ParseNumber(values[i], overflow) : 0;
        if (!length || overflow) break;
        pos_ += length;
        if (!SkipSpace() || *pos_ != (i + 1 < count ? ',' : ']')) break;
        ++pos_;
        if (i + 1 == count) {
            mark_ = nullptr;
            return true;
        }
    }
    if (count == 0 && SkipSpace() && *pos_ == ']') {
        ++pos_;
        mark_ = nullptr;
        return true;
    }
    pos_ = mark_;
    mark_ = nullptr;
    return false;
}

}  // namespace sim
