// What the writer produces, the reader reads back: random documents with
// nested blocks and every kind of token.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "io/sdl_reader.h"
#include "io/sdl_writer.h"
#include "io/stream_memory.h"

namespace {

using namespace xIo::xSdl;

struct Expected {
    int32_t type;
    std::string text;  // identifiers and strings
    int32_t integer = 0;
    float number = 0;
};

class Generator {
public:
    explicit Generator(uint32_t seed) : random_(seed) {}

    void Block(eWriter& w, int depth) {
        w << begin;
        expected_.push_back({kTokenBegin, "{"});
        Ident(w);
        int count = Below(8);
        for (int i = 0; i < count; ++i) {
            if (Below(5) == 0) w << newline;
            int kind = Below(depth < 5 ? 6 : 5);
            if (kind == 0) Ident(w);
            else if (kind == 1) String(w);
            else if (kind == 2) Integer(w);
            else if (kind == 3 || kind == 4) Float(w);
            else Block(w, depth + 1);
        }
        w << (Below(2) ? endl : end);
        expected_.push_back({kTokenBlockEnd, "}"});
    }

    const std::vector<Expected>& expected() const { return expected_; }

private:
    int Below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }

    void Ident(eWriter& w) {
        static const char kFirst[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
        static const char kRest[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";
        std::string name(1, kFirst[Below(sizeof kFirst - 1)]);
        for (int i = Below(10); i > 0; --i) name += kRest[Below(sizeof kRest - 1)];
        w << xIo::xSdl::Ident{name.c_str()};
        expected_.push_back({kTokenIdent, name});
    }

    void String(eWriter& w) {
        // Every byte but NUL: the escaped five, other control bytes, ASCII
        // and code page 1251 letters.
        static const char kSpecial[] = "\\\"\n\r\t'";
        std::string text;
        for (int i = Below(20); i > 0; --i) {
            int kind = Below(4);
            if (kind == 0) text += kSpecial[Below(sizeof kSpecial - 1)];
            else if (kind == 1) text += static_cast<char>(0xC0 + Below(64));  // А..я
            else if (kind == 2) text += static_cast<char>(1 + Below(255));
            else text += static_cast<char>(' ' + Below(95));
        }
        w << text;
        expected_.push_back({kTokenString, text});
    }

    void Integer(eWriter& w) {
        uint32_t bits = random_();
        if (Below(3) == 0) bits %= 1000;
        if (Below(3) == 0) w << hex;
        if (Below(2)) w << static_cast<int32_t>(bits);
        else w << bits;
        Expected e{kTokenInt, ""};
        e.integer = static_cast<int32_t>(bits);
        expected_.push_back(e);
    }

    void Float(eWriter& w) {
        float value;
        do {
            uint32_t bits = random_();
            std::memcpy(&value, &bits, sizeof value);
        } while (!std::isfinite(value));
        if (Below(4) == 0) value = static_cast<float>(Below(2000) - 1000) / 8;  // exact small values
        w << value;
        Expected e{kTokenFloat, ""};
        e.number = value;
        expected_.push_back(e);
    }

    std::mt19937 random_;
    std::vector<Expected> expected_;
};

void ExpectSameNumber(float read, float written, const std::string& where) {
    // Six significant digits are written.
    EXPECT_LE(std::fabs(read - written), std::fabs(written) * 5e-6f) << where << ": wrote " << written;
}

TEST(SdlRoundTrip, RandomDocumentsReadBackUnchanged) {
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        Generator generator(seed);
        xIo::eMemoryStream target(1024);
        eWriter writer;
        writer.Open(&target);
        for (int i = 0; i < 3; ++i) generator.Block(writer, 0);
        writer.Close();

        eReader reader;
        reader.OpenText("doc", std::string(target.Data()));
        std::string where = "seed " + std::to_string(seed);
        for (const Expected& e : generator.expected()) {
            const eToken& token = reader.Next();
            ASSERT_TRUE(token.type == e.type || (e.type == kTokenFloat && token.type == kTokenInt)) << where;
            if (e.type == kTokenIdent || e.type == kTokenString) {
                EXPECT_EQ(token.text, e.text) << where;
            } else if (e.type == kTokenInt) {
                EXPECT_EQ(token.integer, e.integer) << where;
            } else if (e.type == kTokenFloat) {
                ExpectSameNumber(token.number, e.number, where);
            }
        }
        EXPECT_EQ(reader.Next().type, kTokenEnd) << where;
    }
}

TEST(SdlRoundTrip, FloatsOfEveryMagnitude) {
    const float values[] = {0.0f, -0.0f, 1e-45f, 1.17549e-38f, 1e-5f, 0.5f, 100.0f, 1234567.0f, 3.40282e38f, -2.5e-20f, 7e30f};
    xIo::eMemoryStream target(256);
    eWriter writer;
    writer.Open(&target);
    for (float v : values) writer << v;
    writer.Close();
    eReader reader;
    reader.OpenText("floats", std::string(target.Data()));
    for (float v : values) ExpectSameNumber(reader.ReadNumber(), v, std::string(target.Data()));
}

}  // namespace
