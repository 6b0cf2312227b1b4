#pragma once
// A pull reader of JSON text for the scene loader. The loader asks for the
// value it expects next, so that large arrays go straight into their final
// containers and no document tree of the whole file is ever built; small
// parts can still be read as a tree (ReadJson) and checked through Value.
//
// The text arrives in chunks from a ByteSource, so a file is never held
// whole. Every failure throws LoadError: malformed JSON with pointer "" and
// the line and column in the reason, every other error with the JSON pointer
// of the value it concerns. The reader accepts exactly RFC 8259 JSON in UTF-8
// (a leading byte order mark is skipped); it refuses repeated keys in an
// object, nesting deeper than kMaxDepth and numbers beyond the range of a
// double.
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "sim/json_reader.h"

namespace sim {

/// Where the text comes from, chunk by chunk.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Copies up to size bytes into buffer; returns 0 only at the end of the
    /// text. A failure to read throws LoadError.
    virtual size_t Read(char* buffer, size_t size) = 0;
    /// Starts again from the beginning, if the source can (for the line
    /// number of an error).
    virtual bool Rewind() { return false; }
};

/// Text held in memory by the caller, which keeps it alive while it is read.
class TextSource : public ByteSource {
public:
    explicit TextSource(std::string_view text) : text_(text), rest_(text) {}
    size_t Read(char* buffer, size_t size) override;
    bool Rewind() override;

private:
    std::string_view text_, rest_;
};

/// An open file, read from its current position; the caller closes it.
class FileSource : public ByteSource {
public:
    FileSource(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}
    size_t Read(char* buffer, size_t size) override;
    bool Rewind() override;

private:
    std::FILE* file_;
    std::string path_;
};

enum class JsonKind { kNull, kBool, kNumber, kString, kArray, kObject };

/// "null", "a boolean", "a number", "a string", "an array", "an object".
const char* KindName(JsonKind kind);

class JsonCursor {
public:
    static constexpr size_t kChunkSize = size_t(1) << 20;
    static constexpr int kMaxDepth = 256;

    /// Reads source in chunks of chunk_size bytes (a token longer than a
    /// chunk grows the buffer).
    explicit JsonCursor(ByteSource& source, size_t chunk_size = kChunkSize);

    /// The kind of the next value, which stays unread.
    JsonKind Peek();
    /// The JSON pointer of the value about to be read ("" for the document).
    std::string Pointer() const;
    /// Throws LoadError at Pointer().
    [[noreturn]] void Fail(const std::string& reason) const;
    /// Throws "expected <kind>, found <kind>" at Pointer() unless the next
    /// value is of kind.
    void Expect(JsonKind kind);

    /// Enters the object that comes next (it must be one).
    void BeginObject();
    /// Moves to the next member of the innermost object and reads its key
    /// (Key()); its value comes next and must be read or skipped before the
    /// next call. False, with the object left, after its last member.
    bool NextKey();
    /// The key NextKey read; valid until the cursor reads on.
    const std::string& Key() const { return levels_[size_t(depth_ - 1)].key; }
    /// Enters the array that comes next (it must be one).
    void BeginArray();
    /// Moves to the next element of the innermost array, which comes next;
    /// false, with the array left, after its last element.
    bool NextElement();

    bool ReadBool();
    double ReadNumber();
    void ReadString(std::string& out);
    /// The next value as a document tree (numbers as doubles).
    Json ReadJson();
    /// Reads over the next value, checking it as ReadJson would.
    void Skip();
    /// Requires that only whitespace follows.
    void ExpectEnd();

    /// The next value when it is an array of exactly count numbers, each
    /// into values; otherwise false, with nothing read, so that the caller
    /// can read the value in full and say what is wrong with it. A fast path
    /// for the bulk of a mesh.
    bool TryReadNumbers(double* values, int count);

private:
    struct KeySet {
        std::vector<std::string> small;
        std::unordered_set<std::string> large;
        /// False when key is already in the set.
        bool Insert(const std::string& key);
        void Clear();
    };
    struct Level {
        bool object = false;
        size_t count = 0;  // members or elements entered so far
        std::string key;
        KeySet keys;
    };

    [[noreturn]] void SyntaxError(const std::string& what) const;
    /// Makes more text available after end_, keeping what lies after the
    /// mark (or pos_); false at the end of the text.
    bool Refill();
    /// Skips whitespace; false at the end of the text.
    bool SkipSpace() {
        // Inline for what the bulk of a file has between tokens: one space or
        // one line end, or none.
        if (IsSpace(*pos_)) ++pos_;
        if (pos_ != end_ && !IsSpace(*pos_)) return true;
        return SkipSpaceSlow();
    }
    static bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }
    bool SkipSpaceSlow();
    /// The next character after whitespace; a syntax error at the end.
    char NextChar(const char* expecting);
    struct NumberToken {
        const char* end = nullptr;  // where the scan stopped
        bool valid = false;
        bool fast = false;  // value holds the number
        double value = 0;
    };
    static NumberToken ScanNumber(const char* p);
    /// The length of the number token at pos_ with its value, or 0 when it is
    /// malformed; overflow tells a number beyond the range of a double.
    size_t ParseNumber(double& value, bool& overflow);
    /// Converts the well-formed number token [pos_, pos_ + length); false on overflow.
    bool ConvertNumber(size_t length, double& value) const;
    void ReadStringToken(std::string& out);
    void ReadLiteral(std::string_view word);
    void Push(bool object);
    void Pop() { --depth_; }

    ByteSource& source_;
    std::vector<char> buffer_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    const char* mark_ = nullptr;  // start of a fast-path value that may be given back
    bool eof_ = false;
    size_t buffer_offset_ = 0;  // where the buffer starts in the text
    std::vector<Level> levels_;
    int depth_ = 0;
};

}  // namespace sim
