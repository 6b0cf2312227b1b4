#pragma once
// JSON text in the layout of scene files: an object's members one per line,
// indented by two spaces; an array either one element per line (lists of
// nodes, vertices, faces) or on one line (a point, a colour, a matrix).
// Numbers are written in their shortest form that reads back to the same
// value (std::to_chars), never depending on the locale. The text goes to a
// sink in pieces of 64 KiB.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>


namespace sim {

/// A value the scene file cannot hold (a number that is not finite, an
/// object or material of a class without a scene file form).
class WriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Where written text goes.
class TextSink {
public:
    virtual ~TextSink() = default;
    virtual void Write(std::string_view text) = 0;
};

/// Appends to a string.
class StringSink : public TextSink {
public:
    explicit StringSink(std::string& text) : text_(text) {}
    void Write(std::string_view text) override { text_ += text; }

private:
    std::string& text_;
};

class JsonWriter {
public:
    explicit JsonWriter(TextSink& out) : out_(out) {}
    /// Writes what is left; call after the last value.
    void Finish();

    void BeginObject();
    void EndObject();
    /// The key of the next member (UTF-8).
    void Key(std::string_view key);
    /// An array whose elements go one per line, or all on one line.
    void BeginArray(bool one_line = false);
    void EndArray();

    void String(std::string_view utf8);
    void Bool(bool value);
    void Null();
    void Integer(int64_t value);
    /// The shortest text that reads back as value. A whole number is written
    /// without a fraction, except -0, which is "-0.0": the reader takes a
    /// whole "-0" as 0.
    void Number(double value);
    /// The shortest text that reads back (as a double, then rounded to a
    /// float, as the loader reads) as value.
    void Number(float value);

    /// The text Number writes, for keys that are numbers (frames).
    static std::string NumberText(double value);

private:
    struct Level {
        bool object;
        bool one_line;
        size_t count = 0;
    };
    void BeforeValue();
    void NewLine();
    void Raw(std::string_view text);
    void Quoted(std::string_view utf8);

    TextSink& out_;
    std::string buffer_;
    std::vector<Level> levels_;
    bool after_key_ = false;
};

}  // namespace sim
