#pragma once
// The SDL reader: delivers the tokens of SDL text to its caller and executes
// the control blocks in parentheses on the way (include, define and its use,
// mod conditions, arithmetic on defined values), which never reach the
// caller. Every error names the files and defines being read through the
// check-point trace.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "io/sdl_parser.h"
#include "io/stream.h"

namespace xIo::xSdl {

class eReader {
public:
    /// Per thread: the names of the loaded modules that "mod" blocks test.
    struct eLoadingMods {
        std::set<std::string> loaded;
    };
    /// The calling thread's modules.
    static eLoadingMods& LoadingMods();

    /// Limits that keep hostile input from exhausting the stack, memory or time.
    static constexpr size_t kMaxNesting = 64;            ///< includes and define uses in progress
    static constexpr size_t kMaxBlockDepth = 1024;       ///< open blocks
    static constexpr size_t kMaxExpandedSize = 64 << 20; ///< bytes of text read, includes and defines counted

    eReader() = default;
    ~eReader();
    eReader(const eReader&) = delete;
    eReader& operator=(const eReader&) = delete;

    /// Reads a resource opened through the repository; relative includes are
    /// resolved against its directory.
    void Open(const std::string& name, const eParameters& parameters = {});
    /// Reads text, named name in error reports; relative includes are
    /// resolved against the current directory of the thread's path stack.
    void OpenText(const std::string& name, std::string text);

    /// The next token for the caller: identifier, string (double or single
    /// quoted), integer, float, block start or block end; kTokenEnd once all
    /// input is read. Raises "SDL: unexpected token" for an operator or a
    /// lone percent sign, "SDL: invalid token" for input that is no token,
    /// "SDL: unexpected block end" for a '}' without its '{' and "SDL: block
    /// terminator expected" for input that ends inside a block.
    const eToken& Next();
    /// The token that Next will give, without taking it.
    const eToken& Peek();
    bool AtEnd() { return Peek().type == kTokenEnd; }
    /// Number of blocks open after the last token taken.
    size_t Depth() const { return blockDepth_; }

    std::string ReadIdent();    ///< else "SDL: ident expected"
    std::string ReadString();   ///< else "SDL: string expected"
    int32_t ReadInt();          ///< else "SDL: integer expected"
    float ReadNumber();         ///< an integer or a float; else "SDL: number expected"
    std::string ReadBlockStart();  ///< the token text; else "SDL: block start expected"
    void ReadBlockEnd();        ///< else "SDL: block terminator expected"
    /// Skips the rest of the current block, nested blocks included, and its
    /// block end.
    void SkipBlock();

private:
    struct Frame {
        std::unique_ptr<eParser> parser;
        std::string file;    ///< resolved resource path of a file, empty otherwise
        bool pushedPath = false;
        int32_t openMods = 0;  ///< mod blocks being read whose ')' is still to come
    };

    /// The next token after control blocks, before the caller's checks.
    eToken Fetch();
    void Push(std::unique_ptr<eParser> parser, const std::string& file);
    void PopFrame();
    eParser& Parser() { return *frames_.back().parser; }
    [[noreturn]] void Fail(int line, const char* message) const;

    void ControlBlock();
    void Include(const std::string& name, const eParameters& parameters);
    void UseDefine(const std::string& name, const eParameters& parameters);
    void Define();
    void Mod();
    void Arithmetic(const std::string& operation);
    eParameters ReadParameters();
    /// The text of the current parser up to the ')' that closes the control
    /// block, nested parentheses counted; the ')' is taken.
    std::string TextToClose();
    void ExpectClose();

    std::vector<Frame> frames_;
    std::map<std::string, std::string> defines_;
    eToken peeked_;
    bool hasPeeked_ = false;
    eToken current_;
    size_t blockDepth_ = 0;
    size_t expandedSize_ = 0;
};

}  // namespace xIo::xSdl
