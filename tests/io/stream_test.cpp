#include <gtest/gtest.h>
#include <sys/resource.h>

#include "base/debug.h"
#include "io/stream.h"
#include "io/stream_memory.h"

namespace {

using xIo::eMemoryStream;

std::string Bytes(const eMemoryStream& s) { return std::string(s.Data()); }

// Runs f with errors thrown, and returns the error message ("" when none).
template <class F>
std::string ErrorOf(F f) {
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        f();
    } catch (const xDebug::eEx_Custom& e) {
        return e.message;
    }
    return "";
}

TEST(MemoryStream, FixedValuesRoundTripThroughReserveAndPeek) {
    eMemoryStream s(256);
    s.Put<uint32_t>(0x48534D50).Put<float>(1.5f).Put<int16_t>(-2);
    EXPECT_EQ(s.Size(), 10);
    EXPECT_EQ(Bytes(s).substr(0, 4), "PMSH");
    s.Seek(0, 0);
    EXPECT_EQ(s.Get<uint32_t>(), 0x48534D50u);
    EXPECT_EQ(s.Get<float>(), 1.5f);
    EXPECT_EQ(s.Get<int16_t>(), -2);
}

TEST(MemoryStream, GrowsByTheFixedStep) {
    eMemoryStream s(256);
    EXPECT_EQ(s.GrowthStep(), 256);
    std::string data(300, 'x');
    s.Write(data.data(), 300);
    EXPECT_EQ(s.Capacity(), 512);
    EXPECT_EQ(Bytes(s), data);
    eMemoryStream t(1024, 1024);
    for (int i = 0; i < 3000; ++i) t.PutByte(static_cast<uint8_t>(i));
    EXPECT_EQ(t.Capacity(), 3072);
    EXPECT_EQ(static_cast<uint8_t>(t.Data()[2999]), static_cast<uint8_t>(2999));
}

TEST(MemoryStream, WriteStringLengthPrefix) {
    struct Case {
        size_t length;
        std::string prefix;
    } cases[] = {
        {0, std::string("\x00", 1)},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00\x00", 4)},
        {70000, std::string("\xFF\x70\x11\x01", 4)},
    };
    for (const Case& c : cases) {
        eMemoryStream s(256);
        std::string text(c.length, 'q');
        s.WriteString(text);
        EXPECT_EQ(Bytes(s), c.prefix + text) << c.length;
    }
}

TEST(MemoryStream, SeekOrigins) {
    eMemoryStream s(16);
    std::string ten(10, 'a');
    s.Write(ten.data(), 10);
    EXPECT_EQ(s.Seek(4, 2).Position(), 6);
    EXPECT_EQ(s.Seek(2, 1).Position(), 8);
    EXPECT_EQ(s.Seek(1, 0).Position(), 1);
    EXPECT_EQ(s.Seek(0, 2).Position(), 10);
}

TEST(MemoryStream, PatchingASizeAfterTheFact) {
    eMemoryStream s(8);
    s.Put<uint32_t>(0);
    std::string body(20, 'b');
    s.Write(body.data(), 20);
    int32_t end = s.Position();
    s.Seek(0, 0).Put<uint32_t>(20);
    s.Seek(end, 0);
    EXPECT_EQ(s.Size(), 24);
    EXPECT_EQ(Bytes(s), std::string("\x14\0\0\0", 4) + body);
}

TEST(StreamBadInput, ReadsAndSeeksOutsideAreErrors) {
    eMemoryStream s(16);
    s.Put<uint32_t>(7);
    s.Seek(0, 0);
    char buf[8];
    EXPECT_EQ(ErrorOf([&] { s.Read(buf, 8); }), "Stream error: read past the end of the stream (position 0, size 4)");
    EXPECT_EQ(ErrorOf([&] { s.Peek(5); }), "Stream error: read past the end of the stream (position 0, size 4)");
    EXPECT_EQ(ErrorOf([&] { s.Seek(5, 0); }), "Stream error: seek outside the stream (position 0, size 4)");
    EXPECT_EQ(ErrorOf([&] { s.Seek(-1, 1); }), "Stream error: seek outside the stream (position 0, size 4)");
    EXPECT_EQ(ErrorOf([&] { s.Seek(5, 2); }), "Stream error: seek outside the stream (position 0, size 4)");
    EXPECT_EQ(ErrorOf([&] { s.Read(buf, 4); }), "");
    EXPECT_EQ(ErrorOf([&] { s.Read(buf, -1); }), "Stream error: read past the end of the stream (position 4, size 4)");
}

TEST(StreamBadInput, AStreamWithoutWindowRefusesWrites) {
    xIo::eStream bare;
    EXPECT_EQ(ErrorOf([&] { bare.PutByte(1); }),
              "Stream error: write to a stream without room in its window (position 0, size 0)");
}

TEST(StreamBadInput, ReadOnlyBufferRefusesWrites) {
    xIo::eBufferStream s(std::string_view("abc"));
    EXPECT_EQ(s.Get<char>(), 'a');
    s.Seek(0, 2);
    EXPECT_NE(ErrorOf([&] { s.PutByte(1); }), "");
}

TEST(StreamBadInput, ReserveBeyondTwoGigabytesIsAnError) {
    eMemoryStream s(16);
    s.PutByte(1);
    EXPECT_EQ(ErrorOf([&] { s.Reserve(INT32_MAX); }), "Stream error: stream larger than 2 GiB (position 1, size 1)");
}

#if !defined(__SANITIZE_ADDRESS__)
void AllocateUnderAnAddressSpaceLimit() {
    rlimit limit{512u << 20, 512u << 20};
    setrlimit(RLIMIT_AS, &limit);
    eMemoryStream s(INT32_MAX - 1);
}

TEST(StreamBadInputDeathTest, FailedWindowAllocationIsReportedNotACrash) {
    EXPECT_EXIT(AllocateUnderAnAddressSpaceLimit(), testing::ExitedWithCode(1), "Exception: Cannot allocate a stream window of 2147483646 bytes \\(io/stream_file, ");
}
#endif

TEST(Stream, WriteFromCopiesTheRestOfTheSource) {
    eMemoryStream source(64);
    std::string text = "0123456789abcdefghij";
    source.Write(text.data(), static_cast<int32_t>(text.size()));
    source.Seek(5, 0);
    eMemoryStream target(4, 4);
    target.WriteFrom(source, -1);
    EXPECT_EQ(Bytes(target), text.substr(5));
    source.Seek(0, 0);
    target.WriteFrom(source, 3);
    EXPECT_EQ(Bytes(target), text.substr(5) + "012");
    EXPECT_NE(ErrorOf([&] { target.WriteFrom(source, 100); }), "");
}

}  // namespace
