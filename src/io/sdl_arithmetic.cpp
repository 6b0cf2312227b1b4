// Arithmetic control blocks: (OP "name" operand) applies OP to the value of
// the define "name" and stores the result back as the define's text. The
// operand is a number or the name of another define holding one.
#include <cmath>
#include <cstdint>

#include "base/debug.h"
#include "base/format.h"
#include "io/sdl_reader.h"

namespace xIo::xSdl {

namespace {
const char* const kSource = "io/sdl_reader";

// The number that a define's text holds: one integer or float token.
eToken NumberOf(const std::string& name, const std::string& text) {
    eParser parser(name, text, {}, eParser::eKind::Define);
    eToken number = parser.Next();
    if ((number.type != kTokenInt && number.type != kTokenFloat) || parser.Next().type != kTokenEnd)
        xDebug::Error(kSource, __LINE__, "SDL: number expected");
    return number;
}

template <class T>
T Compute(char operation, T a, T b) {
    switch (operation) {
        case '+': return a + b;
        case '-': return a - b;
        case '*': return a * b;
        default:
            if (b == 0) xDebug::Error(kSource, __LINE__, "SDL: division by zero");
            return a / b;  // integers truncate
    }
}

std::string Apply(char operation, const eToken& left, const eToken& right) {
    if (left.type == kTokenInt && right.type == kTokenInt) {
        // Computed wide, then wrapped at 32 bits like every integer of the language.
        int64_t result = Compute<int64_t>(operation, left.integer, right.integer);
        return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(result))));
    }
    double a = left.type == kTokenInt ? left.integer : left.number;
    double b = right.type == kTokenInt ? right.integer : right.number;
    float value = static_cast<float>(Compute(operation, a, b));
    if (!std::isfinite(value)) xDebug::Error(kSource, __LINE__, "SDL: number out of range");
    return ToS(static_cast<double>(value));
}
}  // namespace

void eReader::Arithmetic(const std::string& operation) {
    // The scanner makes no operator of ',' or '.', so the four below are all
    // that can arrive here.
    char op = operation[0];
    if (op != '+' && op != '-' && op != '*' && op != '/') Fail(__LINE__, "SDL: Unsupported operation");
    const eToken& name_token = Parser().Next();
    if (name_token.type != kTokenString && name_token.type != kTokenStringSingle) Fail(__LINE__, "SDL: string expected");
    std::string name = name_token.text;
    if (!defines_.count(name)) Fail(__LINE__, "SDL: define not found");
    eToken right = Parser().Next();
    if (right.type == kTokenString || right.type == kTokenStringSingle) {
        auto other = defines_.find(right.text);
        if (other == defines_.end()) Fail(__LINE__, "SDL: define not found");
        right = NumberOf(other->first, other->second);
    } else if (right.type != kTokenInt && right.type != kTokenFloat) {
        Fail(__LINE__, "SDL: number expected");
    }
    ExpectClose();
    defines_[name] = Apply(op, NumberOf(name, defines_[name]), right);
}

}  // namespace xIo::xSdl
