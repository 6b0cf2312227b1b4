#include "sim/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace sim {

namespace {

constexpr size_t kPieceSize = size_t(64) << 10;

std::string ShortestText(double value) {
    if (!std::isfinite(value)) throw WriteError("a number that is not finite has no scene file form");
    if (value == 0 && std::signbit(value)) return "-0.0";
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

std::string JsonWriter::NumberText(double value) { return ShortestText(value); }

void JsonWriter::Raw(std::string_view text) {
    buffer_ += text;
    if (buffer_.size() >= kPieceSize) {
        out_.Write(buffer_);
        buffer_.clear();
    }
}

void JsonWriter::Finish() {
    buffer_ += '\n';
    out_.Write(buffer_);
    buffer_.clear();
}

void JsonWriter::NewLine() {
    Raw("\n");
    Raw(std::string(levels_.size() * 2, ' '));
}

void JsonWriter::BeforeValue() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    if (level.count++) Raw(",");
    if (level.one_line) {
        if (level.count > 1) Raw(" ");
    } else {
        NewLine();
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    Raw("{");
    levels_.push_back({true, false});
}

void JsonWriter::EndObject() {
    const bool empty = levels_.back().count == 0;
    levels_.pop_back();
    if (!empty) NewLine();
    Raw("}");
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    Quoted(key);
    Raw(": ");
    after_key_ = true;
}

void JsonWriter::BeginArray(bool one_line) {
    // Inside a one-line array everything stays on the line.
    one_line = one_line || (!levels_.empty() && levels_.back().one_line);
    BeforeValue();
    Raw("[");
    levels_.push_back({false, one_line});
}

void JsonWriter::EndArray() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (level.count && !level.one_line) NewLine();
    Raw("]");
}

void JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    Quoted(utf8);
}

void JsonWriter::Quoted(std::string_view utf8) {
    std::string text = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"': text += "\\\""; break;
            case '\\': text += "\\\\"; break;
            case '\n': text += "\\n"; break;
            case '\r': text += "\\r"; break;
            case '\t': text += "\\t"; break;
            case '\b': text += "\\b"; break;
            case '\f': text += "\\f"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    static const char kHex[] = "0123456789abcdef";
                    text += "\\u00";
                    text += kHex[(c >> 4) & 0xF];
                    text += kHex[c & 0xF];
                } else {
                    text += c;
                }
        }
    }
    text += '"';
    Raw(text);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    Raw(value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    Raw("null");
}

void JsonWriter::Integer(int64_t value) {
    BeforeValue();
    char text[24];
    Raw({text, size_t(std::to_chars(text, text + sizeof text, value).ptr - text)});
}

void JsonWriter::Number(double value) {
    BeforeValue();
    Raw(ShortestText(value));
}

void JsonWriter::Number(float value) {
    BeforeValue();
    if (!std::isfinite(value)) throw WriteError("a number that is not finite has no scene file form");
    if (value == 0 && std::signbit(value)) {
        Raw("-0.0");
        return;
    }
    // The shortest text of the float reads back as a double that rounds to
    // the float in all but rare cases near a rounding boundary; there the
    // double's own shortest text does.
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    double read = 0;
    std::from_chars(text, end, read);
    if (float(read) != value) end = std::to_chars(text, text + sizeof text, double(value)).ptr;
    Raw({text, size_t(end - text)});
}

}  // namespace sim
