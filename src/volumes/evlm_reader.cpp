#include "volumes/evlm_reader.h"

#include <cstring>

namespace volumes {

namespace {

std::string AtByte(size_t offset) { return "byte " + std::to_string(offset) + ": "; }

// A cursor over the image that refuses to read past its end.
class ByteCursor {
public:
    explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}

    size_t Offset() const { return offset_; }
    size_t Left() const { return bytes_.size() - offset_; }

    bool Tag(const char* tag, std::string& error) {
        if (Left() < kTagSize || bytes_.compare(offset_, kTagSize, tag) != 0) {
            error = At() + "tag " + tag + " expected";
            return false;
        }
        offset_ += kTagSize;
        return true;
    }
    bool Count(const char* what, uint32_t& count, std::string& error) {
        if (Left() < sizeof count) {
            error = At() + what + " expected";
            return false;
        }
        std::memcpy(&count, bytes_.data() + offset_, sizeof count);
        offset_ += sizeof count;
        return true;
    }
    /// Checks that count items of item_size bytes are left.
    bool Fits(uint32_t count, size_t item_size, const char* what, std::string& error) const {
        const uint64_t needed = uint64_t{count} * item_size;
        if (needed <= Left()) return true;
        error = At() + std::to_string(count) + " " + what + " need " + std::to_string(needed) + " bytes, " +
                std::to_string(Left()) + " left";
        return false;
    }
    template <class T>
    T Take() {
        T value;
        std::memcpy(&value, bytes_.data() + offset_, sizeof value);
        offset_ += sizeof value;
        return value;
    }
    std::string At() const { return AtByte(offset_); }

private:
    std::string_view bytes_;
    size_t offset_ = 0;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

bool HexToBytes(std::string_view text, std::string& bytes, std::string& error) {
    bytes.clear();
    if (text.size() % 2 != 0) {
        error = "odd number of hexadecimal digits (" + std::to_string(text.size()) + ")";
        return false;
    }
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            error = "character " + std::to_string(high < 0 ? i : i + 1) + " is not a lower-case hexadecimal digit";
            return false;
        }
        bytes += static_cast<char>(high << 4 | low);
    }
    return true;
}

bool ReadEvlmImage(std::string_view bytes, EvlmImage& image, std::string& error) {
    image = {};
    ByteCursor in(bytes);
    uint32_t vertex_count = 0, index_count = 0, side_count = 0;
    if (!in.Tag(kEvlmTag, error) || !in.Tag(kVertTag, error) || !in.Count("vertex count", vertex_count, error))
        return false;
    if (vertex_count > kEvlmMaxVertices) {
        error = in.At() + std::to_string(vertex_count) + " vertices, more than 16-bit indices reach";
        return false;
    }
    if (!in.Fits(vertex_count, 3 * sizeof(float), "vertices", error)) return false;
    image.vertices.resize(vertex_count);
    for (EvlmVertex& v : image.vertices) {
        v.x = in.Take<float>();
        v.y = in.Take<float>();
        v.z = in.Take<float>();
    }
    if (!in.Tag(kIndxTag, error) || !in.Count("index count", index_count, error)) return false;
    if (index_count % 3 != 0) {
        error = in.At() + "index count " + std::to_string(index_count) + " is not a multiple of 3";
        return false;
    }
    if (!in.Fits(index_count, sizeof(uint16_t), "indices", error)) return false;
    image.faces.resize(index_count / 3);
    for (size_t f = 0; f < image.faces.size(); ++f) {
        for (uint16_t& index : image.faces[f].index) {
            const size_t offset = in.Offset();
            index = in.Take<uint16_t>();
            if (index >= vertex_count) {
                error = AtByte(offset) + "index " + std::to_string(index) + " of face " + std::to_string(f) + " is not below the " +
                        std::to_string(vertex_count) + " vertices";
                return false;
            }
        }
    }
    if (!in.Tag(kSideTag, error) || !in.Count("face count", side_count, error)) return false;
    if (side_count != image.faces.size()) {
        error = in.At() + "face count " + std::to_string(side_count) + " differs from the " +
                std::to_string(image.faces.size()) + " faces of the indices";
        return false;
    }
    if (!in.Fits(side_count, 1, "sides", error)) return false;
    for (EvlmFace& face : image.faces) face.side = in.Take<uint8_t>();
    if (in.Left() != 0) {
        error = in.At() + std::to_string(in.Left()) + " bytes after the image";
        return false;
    }
    return true;
}

}  // namespace volumes
