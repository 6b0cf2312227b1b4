#include "io/sdl_writer.h"

#include <cmath>
#include <cstring>

#include "base/debug.h"
#include "base/format.h"
#include "io/sdl_escape.h"
#include "io/stream_file.h"

namespace xIo::xSdl {

eWriter::~eWriter() {
    try {
        Close();
    } catch (const xDebug::eException&) {
        // Already reported through the error channel.
    }
}

bool eWriter::Open(eStream* target) {
    Close();
    target_ = target;
    state_ = std::make_unique<State>();
    return target != nullptr;
}

bool eWriter::Open(const std::string& file_name) {
    Close();
    ownedTarget_ = std::make_unique<eFileStream>();
    ownedTarget_->Open(file_name, kModeWrite | kModeTruncate | kModeInteractive, eFileStream::kOutputBufferSize);
    target_ = ownedTarget_.get();
    state_ = std::make_unique<State>();
    return true;
}

void eWriter::Close() {
    if (state_ && target_) {
        State& s = *state_;
        s.spacePending = false;
        if (s.buffer.Size() > 0) Separators();
        s.buffer.Seek(0, 0);
        target_->WriteFrom(s.buffer, -1);
    }
    state_.reset();
    target_ = nullptr;
    if (ownedTarget_) {
        std::unique_ptr<eFileStream> file = std::move(ownedTarget_);
        file->Close();
    }
}

void eWriter::Discard() {
    state_.reset();
    target_ = nullptr;
    if (ownedTarget_) {
        ownedTarget_->Discard();
        ownedTarget_.reset();
    }
}

void eWriter::Raw(const char* data, size_t size) { state_->buffer.Write(data, static_cast<int32_t>(size)); }

void eWriter::Separators() {
    State& s = *state_;
    if (s.newlinePending) {
        if (s.buffer.Size() > 0) Raw("\r\n", 2);
        s.spacePending = false;
        for (uint16_t i = 0; i < s.depth; ++i) Raw("\t", 1);
        s.newlinePending = false;
    }
    if (s.spacePending) {
        s.spacePending = false;
        Raw(" ", 1);
    }
}

void eWriter::Token(const char* data, size_t size) {
    if (!state_) return;
    Separators();
    Raw(data, size);
    state_->spacePending = true;
}

eWriter& eWriter::operator<<(Ident id) {
    const char* text = id.text ? id.text : "";
    Token(text, std::strlen(text));
    return *this;
}

eWriter& eWriter::operator<<(const char* text) { return *this << std::string(text ? text : ""); }

eWriter& eWriter::operator<<(const std::string& text) {
    std::string quoted = "\"";
    quoted += Escape(text);
    quoted += '"';
    Token(quoted.data(), quoted.size());
    return *this;
}

void eWriter::Integer(uint32_t bits, bool is_signed) {
    if (!state_) return;
    char text[16];
    if (state_->hexNext) std::snprintf(text, sizeof text, "0x%x", bits);
    else if (is_signed) std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(bits));
    else std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(bits));
    Token(text, std::strlen(text));
    state_->hexNext = false;
}

eWriter& eWriter::operator<<(int32_t value) {
    Integer(static_cast<uint32_t>(value), true);
    return *this;
}

eWriter& eWriter::operator<<(uint32_t value) {
    // Unsigned values take the signed conversion: above 2147483647 they come
    // out as the negative number with the same bits, as the engine expects.
    Integer(value, false);
    return *this;
}

eWriter& eWriter::operator<<(float value) {
    if (!state_) return *this;
    double v = value;
    if (!std::isfinite(v)) {
        xDebug::Warning("io/sdl_writer", __LINE__, format("Saving invalid floating number %1%. It was truncated to 0") % v);
        v = 0;
    }
    const char* text = ToS(v);
    Token(text, std::strlen(text));
    return *this;
}

void eWriter::OpenBlock() {
    State& s = *state_;
    s.blockStack.push_back(s.buffer.Position());
    Separators();
    ++s.depth;
    Raw("{", 1);
}

void eWriter::CloseBlock() {
    State& s = *state_;
    if (s.depth > 0) --s.depth;
    if (s.blockStack.empty()) {  // unbalanced: write the brace and no more
        s.spacePending = false;
        Separators();
        Raw("}", 1);
        return;
    }
    int32_t top = s.blockStack.back();
    s.blockStack.pop_back();
    if (top < 0) {
        int32_t mark_pos = -top;
        int32_t block_start = s.blockStack.empty() ? 0 : s.blockStack.back();
        if (!s.blockStack.empty()) s.blockStack.pop_back();
        if (s.buffer.Position() == mark_pos) {
            s.buffer.Seek(block_start, 0);
            s.buffer.Truncate();
            return;
        }
    }
    s.spacePending = false;
    Separators();
    Raw("}", 1);
}

eWriter& eWriter::operator<<(eManip manip) {
    if (!state_) return *this;
    State& s = *state_;
    switch (manip) {
        case eManip::Begin: OpenBlock(); break;
        case eManip::End: CloseBlock(); break;
        case eManip::EndLine:
            CloseBlock();
            s.newlinePending = true;
            break;
        case eManip::NewLine: s.newlinePending = true; break;
        case eManip::Hex: s.hexNext = true; break;
        case eManip::Dec: s.hexNext = false; break;
        case eManip::EraseMark: s.blockStack.push_back(-s.buffer.Position()); break;
    }
    return *this;
}

}  // namespace xIo::xSdl
