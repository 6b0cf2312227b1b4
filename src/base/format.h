#pragma once
// The message formatter: a text with placeholders into which arguments are
// fed one after the other with operator%.
//
// Numbered mode (the text holds "%1%"): every "%N%" of the N-th argument is
// replaced, so arguments may be used in any order and more than once.
// Printf mode (no "%1%"): each argument fills the next printf placeholder,
// which runs from its '%' up to the next '%'.
#include <cstdint>
#include <string>
#include <string_view>

class format {
public:
    explicit format(const char* text);
    explicit format(std::string text);

    format& operator%(const char* text);
    format& operator%(const std::string& text);
    format& operator%(int32_t value);
    format& operator%(uint32_t value);
    format& operator%(float value);
    format& operator%(double value);

    /// The current text: the finished message once every argument is fed.
    const std::string& str() const { return text_; }
    const char* c_str() const { return text_.c_str(); }
    operator const std::string&() const { return text_; }
    void clear() { text_.clear(); }

    /// Size of the per-thread buffer that one printf piece is printed into.
    static constexpr size_t kFmtBufSize = 8192;

private:
    void FeedText(std::string_view arg);
    template <class Arg> void FeedPrintf(Arg arg);

    std::string text_;
    bool numbered_ = false;
    int32_t argumentCount_ = 0;
    int32_t cursor_ = -1;
};

/// Text of a number in the calling thread's 128-byte conversion buffer; valid
/// until the next conversion on this thread.
const char* ToS(int32_t value);
const char* ToS(uint32_t value);
/// printf "%g" with a signed exponent of at least three digits ("1e-005"),
/// independent of the process locale.
const char* ToS(double value);

/// Size of the per-thread number buffer.
constexpr size_t kToSBufSize = 128;

/// Writes the "%g" form of value into out (at least 32 bytes) and returns its
/// length; the same rules as ToS(double).
size_t FormatFloatG(double value, char* out, size_t out_size);

/// Text to integer: null gives 0; "0x" (any case) reads hexadecimal to the end
/// of the text, a non-digit counting as 0 and the value wrapping at 32 bits;
/// anything else reads as a signed decimal number like strtol.
int32_t ParseInt(const char* text);
