#include "io/sdl_reader.h"

#include <cstdlib>

#include "base/debug.h"
#include "base/format.h"
#include "base/thread_storage.h"
#include "io/name.h"
#include "io/repository.h"
#include "io/sdl_escape.h"

namespace xIo::xSdl {

namespace {
const char* const kSource = "io/sdl_reader";

bool IsString(const eToken& token) { return token.type == kTokenString || token.type == kTokenStringSingle; }
// A string as it is written in SDL text, quotes included.
std::string Quote(const std::string& raw) {
    std::string quoted(1, '"');
    quoted.append(Escape(raw));
    quoted.push_back('"');
    return quoted;
}
bool IsNumber(const eToken& token) { return token.type == kTokenInt || token.type == kTokenFloat; }
}  // namespace

eReader::eLoadingMods& eReader::LoadingMods() {
    static eThreadStorage<eLoadingMods> mods;
    return mods.Get();
}

eReader::~eReader() {
    while (!frames_.empty()) PopFrame();
}

void eReader::Fail(int line, const char* message) const { xDebug::Error(kSource, line, message); }

void eReader::Push(std::unique_ptr<eParser> parser, const std::string& file) {
    expandedSize_ += parser->Text().size();
    Frame frame;
    frame.parser = std::move(parser);
    frame.file = file;
    frames_.push_back(std::move(frame));
    if (expandedSize_ > kMaxExpandedSize) Fail(__LINE__, "SDL: input expands beyond 64 MiB");
    if (!file.empty()) {
        xRepository::ePaths::Current().Push(GetPart(file, ePart::Directory));
        frames_.back().pushedPath = true;
    }
}

void eReader::PopFrame() {
    if (frames_.back().pushedPath) xRepository::ePaths::Current().Pop();
    frames_.pop_back();
}

void eReader::Open(const std::string& name, const eParameters& parameters) {
    hasPeeked_ = false;
    Include(name, parameters);
}

void eReader::OpenText(const std::string& name, std::string text) {
    hasPeeked_ = false;
    Push(std::make_unique<eParser>(name, std::move(text)), std::string());
}

void eReader::Include(const std::string& name, const eParameters& parameters) {
    std::string file = xRepository::ResolveName(name);
    for (const Frame& frame : frames_)
        if (frame.file == file) xDebug::Error(kSource, __LINE__, format("SDL: recursive include of %1%") % file);
    if (frames_.size() >= kMaxNesting) Fail(__LINE__, "SDL: includes and defines nested too deeply");
    std::unique_ptr<eStream> stream = xRepository::Open(file);
    if (stream->Size() > static_cast<int32_t>(kMaxExpandedSize)) Fail(__LINE__, "SDL: invalid file");
    std::string text(static_cast<size_t>(stream->Size()), '\0');
    if (!text.empty()) stream->Read(text.data(), stream->Size());
    // SDL is text: a zero byte means a binary file.
    if (text.find('\0') != std::string::npos) Fail(__LINE__, "SDL: invalid file");
    Push(std::make_unique<eParser>(file, std::move(text), parameters), file);
}

void eReader::UseDefine(const std::string& name, const eParameters& parameters) {
    auto found = defines_.find(name);
    if (found == defines_.end()) Fail(__LINE__, "SDL: define not found");
    for (const Frame& frame : frames_)
        if (frame.parser->Kind() == eParser::eKind::Define && frame.parser->Name() == name)
            xDebug::Error(kSource, __LINE__, format("SDL: define '%1%' uses itself") % name);
    if (frames_.size() >= kMaxNesting) Fail(__LINE__, "SDL: includes and defines nested too deeply");
    Push(std::make_unique<eParser>(name, found->second, parameters, eParser::eKind::Define), std::string());
}

eToken eReader::Fetch() {
    for (;;) {
        if (frames_.empty()) return eToken();
        Frame& frame = frames_.back();
        const eToken& token = frame.parser->Next();
        switch (token.type) {
            case kTokenEnd:
                if (frame.openMods > 0) Fail(__LINE__, "SDL: expected \")\"");
                PopFrame();
                continue;
            case kTokenOpen: ControlBlock(); continue;
            case kTokenClose:
                if (frame.openMods == 0) Fail(__LINE__, "SDL: unexpected \")\"");
                --frame.openMods;
                continue;
            case kTokenOperator:
            case kTokenPercent: Fail(__LINE__, "SDL: unexpected token");
            case kTokenInvalid: Fail(__LINE__, "SDL: invalid token");
            default: return token;
        }
    }
}

const eToken& eReader::Peek() {
    if (!hasPeeked_) {
        peeked_ = Fetch();
        hasPeeked_ = true;
    }
    return peeked_;
}

const eToken& eReader::Next() {
    Peek();
    hasPeeked_ = false;
    current_ = std::move(peeked_);
    if (current_.type == kTokenBegin) {
        if (blockDepth_ >= kMaxBlockDepth) Fail(__LINE__, "SDL: blocks nested too deeply");
        ++blockDepth_;
    } else if (current_.type == kTokenBlockEnd) {
        if (blockDepth_ == 0) Fail(__LINE__, "SDL: unexpected block end");
        --blockDepth_;
    } else if (current_.type == kTokenEnd && blockDepth_ > 0) {
        Fail(__LINE__, "SDL: block terminator expected");
    }
    return current_;
}

std::string eReader::ReadIdent() {
    if (Peek().type != kTokenIdent) Fail(__LINE__, "SDL: ident expected");
    return Next().text;
}

std::string eReader::ReadString() {
    if (!IsString(Peek())) Fail(__LINE__, "SDL: string expected");
    return Next().text;
}

int32_t eReader::ReadInt() {
    if (Peek().type != kTokenInt) Fail(__LINE__, "SDL: integer expected");
    return Next().integer;
}

float eReader::ReadNumber() {
    if (!IsNumber(Peek())) Fail(__LINE__, "SDL: number expected");
    return Next().number;
}

std::string eReader::ReadBlockStart() {
    if (Peek().type != kTokenBegin) Fail(__LINE__, "SDL: block start expected");
    return Next().text;
}

void eReader::ReadBlockEnd() {
    if (Peek().type != kTokenBlockEnd) Fail(__LINE__, "SDL: block terminator expected");
    Next();
}

void eReader::SkipBlock() {
    size_t depth = blockDepth_;
    if (depth == 0) Fail(__LINE__, "SDL: block start expected");
    while (blockDepth_ >= depth) Next();
}

// ---- control blocks ------------------------------------------------------

void eReader::ControlBlock() {
    eToken head = Parser().Next();
    if (head.type == kTokenIdent) {
        if (head.text == "include") {
            const eToken& name = Parser().Next();
            if (!IsString(name)) Fail(__LINE__, "SDL: string expected");
            std::string file = name.text;
            eParameters parameters = ReadParameters();
            Include(file, parameters);
        } else if (head.text == "define") {
            Define();
        } else if (head.text == "mod") {
            Mod();
        } else {
            Fail(__LINE__, "SDL: unknown control block");
        }
    } else if (IsString(head)) {
        eParameters parameters = ReadParameters();
        UseDefine(head.text, parameters);
    } else if (head.type == kTokenOperator) {
        Arithmetic(head.text);
    } else {
        Fail(__LINE__, "SDL: invalid control block");
    }
}

eParameters eReader::ReadParameters() {
    eParameters parameters;
    int32_t positional = 0;
    for (;;) {
        const eToken& open = Parser().Next();
        if (open.type == kTokenClose) return parameters;
        if (open.type == kTokenEnd) Fail(__LINE__, "SDL: expected \")\"");
        if (open.type != kTokenOpen) Fail(__LINE__, "SDL: invalid parameters syntax, missed \"(\"");
        const eToken& key = Parser().Next();
        if (key.type != kTokenIdent) Fail(__LINE__, "SDL: ident expected");
        std::string name = key.text;
        std::string value;
        for (;;) {
            const eToken& token = Parser().Next();
            if (token.type == kTokenClose) break;
            if (token.type == kTokenEnd || token.type == kTokenOpen)
                Fail(__LINE__, "SDL: invalid parameters syntax, missed \")\"");
            // A string keeps its quotes so that it is a string again where
            // the parameter is put in.
            std::string text = IsString(token) ? Quote(token.text) : token.text;
            // "args" lists positional values: %1, %2, ...
            if (name == "args") parameters[std::to_string(++positional)] = text;
            else {
                if (!value.empty()) value += ' ';
                value += text;
            }
        }
        if (name != "args") parameters[name] = value;
    }
}

std::string eReader::TextToClose() {
    size_t start = Parser().Position();
    int32_t depth = 1;
    for (;;) {
        const eToken& token = Parser().Next();
        if (token.type == kTokenEnd) Fail(__LINE__, "SDL: expected \")\"");
        if (token.type == kTokenOpen) ++depth;
        if (token.type == kTokenClose && --depth == 0) return Parser().Text().substr(start, token.offset - start);
    }
}

void eReader::ExpectClose() {
    if (Parser().Next().type != kTokenClose) Fail(__LINE__, "SDL: expected \")\"");
}

void eReader::Define() {
    const eToken& name = Parser().Next();
    if (!IsString(name)) Fail(__LINE__, "SDL: string expected");
    std::string key = name.text;
    // The body is kept as text and scanned only where the define is used.
    defines_[key] = TextToClose();
}

void eReader::Mod() {
    eToken token = Parser().Next();
    bool negate = false;
    if (token.type == kTokenIdent) {
        if (token.text != "not") Fail(__LINE__, "SDL: unexpected token");
        negate = true;
        token = Parser().Next();
    }
    if (!IsString(token)) Fail(__LINE__, "SDL: string expected");
    bool loaded = LoadingMods().loaded.count(token.text) != 0;
    if (loaded != negate) ++frames_.back().openMods;  // read on; the ')' closes it
    else TextToClose();
}

}  // namespace xIo::xSdl
