#pragma once
// The SDL text writer. The document is assembled in memory and handed to the
// target stream in one piece on Close, which lets a block that turned out
// empty be taken back (the erase mark).
//
// Tokens are separated by single spaces; line breaks (CR LF) and tab
// indentation appear only where the caller asks for a newline.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/stream_file.h"
#include "io/stream_memory.h"

namespace xIo::xSdl {

/// A bare word: written as it is, without quotes or checks.
struct Ident {
    const char* text;
};

/// Manipulators, applied with operator<< like tokens.
enum class eManip {
    Begin,     ///< block open: '{'
    End,       ///< block close: '}'
    EndLine,   ///< block close, then newline
    NewLine,   ///< the next token starts a new line
    Hex,       ///< the next integer only is written in hexadecimal
    Dec,       ///< cancels Hex
    EraseMark, ///< the innermost block is removed on close if nothing follows the mark
};
inline constexpr eManip begin = eManip::Begin;
inline constexpr eManip end = eManip::End;
inline constexpr eManip endl = eManip::EndLine;
inline constexpr eManip newline = eManip::NewLine;
inline constexpr eManip hex = eManip::Hex;
inline constexpr eManip dec = eManip::Dec;
inline constexpr eManip mark = eManip::EraseMark;

class eWriter {
public:
    eWriter() = default;
    /// Closes the writer. A failure to commit an owned file cannot leave a
    /// destructor: call Close to see it.
    ~eWriter();
    eWriter(const eWriter&) = delete;
    eWriter& operator=(const eWriter&) = delete;

    /// Opens on a stream that the caller keeps; true when target is not null.
    bool Open(eStream* target);
    /// Opens a file of its own (write, truncate, interactive, 32768-byte window).
    bool Open(const std::string& file_name);
    /// Finishes the text and copies it to the target in one piece; an owned
    /// file is closed and committed. Closing a closed writer does nothing.
    void Close();
    /// Drops the text without writing it; an owned file is discarded and its
    /// target keeps its previous content.
    void Discard();
    bool IsOpen() const { return state_ != nullptr; }

    eWriter& operator<<(Ident id);
    eWriter& operator<<(const char* text);
    eWriter& operator<<(const std::string& text);
    eWriter& operator<<(int32_t value);
    eWriter& operator<<(uint32_t value);
    eWriter& operator<<(float value);
    eWriter& operator<<(eManip manip);

private:
    struct State {
        uint16_t depth = 0;
        bool spacePending = false;
        std::vector<int32_t> blockStack;
        eMemoryStream buffer{1024, 1024};
        bool hexNext = false;
        bool newlinePending = false;
    };

    void Separators();
    void Raw(const char* data, size_t size);
    void Token(const char* data, size_t size);
    void Integer(uint32_t bits, bool is_signed);
    void OpenBlock();
    void CloseBlock();

    eStream* target_ = nullptr;
    std::unique_ptr<State> state_;
    std::unique_ptr<eFileStream> ownedTarget_;
};

}  // namespace xIo::xSdl
