#pragma once
// The SDL scanner: turns the text of one file or one define body into tokens.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "base/check_point.h"

namespace xIo::xSdl {

enum eTokenType : int32_t {
    kTokenEnd = 0,           ///< end of the current text
    kTokenIdent = 1,         ///< identifier, also "%name" (an unreplaced parameter reference)
    kTokenString = 2,        ///< double-quoted string, text unescaped
    kTokenStringSingle = 3,  ///< single-quoted string, text unescaped
    kTokenBegin = 4,         ///< '{', or "{#..." with its suffix
    kTokenBlockEnd = 5,      ///< '}'
    kTokenOpen = 7,          ///< '('
    kTokenClose = 8,         ///< ')'
    kTokenFloat = 9,
    kTokenInt = 10,
    kTokenHex = 11,          ///< only while scanning: delivered as kTokenInt with decimal text
    kTokenOperator = 12,
    kTokenPercent = 13,      ///< a lone '%'
    kTokenInvalid = -1,
};

struct eToken {
    int32_t type = kTokenEnd;
    std::string text;
    int32_t line = 0;
    float number = 0;      ///< value of a number token (an integer converted)
    int32_t integer = 0;   ///< value of a number token (a float truncated, saturated)
    size_t offset = 0;     ///< where the token starts in the parser's text
};

/// Parameters of an include or a define use: name -> value text.
using eParameters = std::map<std::string, std::string>;

class eParser : public xDebug::xCheckPoint::eInformer {
public:
    enum class eKind { File, Define };

    /// Scans text named name (a file name or a define name). Every "%" plus a
    /// parameter's name in text is replaced by the parameter's value first;
    /// parameters that occur nowhere warn "SDL: unused parameter(s) for
    /// parser "%1%" : %2%" (io/sdl_parser). The parser describes itself on
    /// this thread's check-point stack for its lifetime.
    eParser(std::string name, std::string text, const eParameters& parameters = {}, eKind kind = eKind::File);
    ~eParser() override;
    eParser(const eParser&) = delete;
    eParser& operator=(const eParser&) = delete;

    /// Scans the next token; after the end of the text every call gives kTokenEnd.
    const eToken& Next();
    const eToken& Current() const { return token_; }
    /// The scan position: just after the current token.
    size_t Position() const { return position_; }
    const std::string& Text() const { return text_; }
    const std::string& Name() const { return name_; }
    eKind Kind() const { return kind_; }

    /// "name:\tline N, token 'T'" ("define 'name'" for a define).
    void Describe(std::string& out) const override;

private:
    void Substitute(const eParameters& parameters);
    void SkipSpaceAndComments();
    void ScanNumber(size_t start);
    void ScanString(char quote);
    void SetNumber(int32_t type, size_t start);

    std::string name_;
    std::string text_;
    eKind kind_;
    size_t position_ = 0;
    int32_t line_ = 1;
    eToken token_;
};

}  // namespace xIo::xSdl
