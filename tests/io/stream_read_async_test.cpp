#include "io/stream_read_async.h"

#include <gtest/gtest.h>

#include "base/log.h"
#include "support/raised.h"
#include "support/recording_handler.h"
#include "support/temp_dir.h"

namespace {

using xIo::xRepository::eFileStreamReadAsync;

std::string Pattern(size_t size) {
    std::string text;
    for (size_t i = 0; i < size; ++i) text += static_cast<char>(i * 31 + i / 256);
    return text;
}

class ReadAsync : public ::testing::Test {
protected:
    void SetUp() override { xLog::OpenLog(); }
    void TearDown() override { xLog::ResetForTests(); }
    qeltest::TempDir dir;
};

TEST_F(ReadAsync, SequentialReadsNeedNoSeek) {
    std::string content = Pattern(10000);
    qeltest::WriteFile(dir / "f.bin", content);
    qeltest::LogCapture log;
    eFileStreamReadAsync stream;
    ASSERT_TRUE(stream.Open(dir / "f.bin", 3000));
    EXPECT_EQ(stream.WindowLength(), 4096);  // rounded up to whole pieces
    EXPECT_EQ(stream.Size(), 10000);
    std::string read(10000, '\0');
    // Odd piece sizes cross window borders at every place.
    for (size_t at = 0; at < read.size(); at += 333)
        stream.Read(&read[at], static_cast<int32_t>(std::min<size_t>(333, read.size() - at)));
    EXPECT_EQ(read, content);
    EXPECT_EQ(log.text, "");
}

TEST_F(ReadAsync, SeekLogsAndRereads) {
    std::string content = Pattern(20000);
    qeltest::WriteFile(dir / "f.bin", content);
    qeltest::LogCapture log;
    eFileStreamReadAsync stream;
    ASSERT_TRUE(stream.Open(dir / "f.bin", 2048));
    stream.Seek(15000, 0);
    EXPECT_EQ(log.text, "[INFO] Seek : " + dir / "f.bin (15000)\n");
    char c;
    stream.Read(&c, 1);
    EXPECT_EQ(c, content[15000]);
    // Inside the window only the cursor moves.
    log.text.clear();
    stream.Seek(15500, 0);
    stream.Read(&c, 1);
    EXPECT_EQ(c, content[15500]);
    EXPECT_EQ(log.text, "");
    // Back to the start: a seek again.
    stream.Seek(0, 0);
    stream.Read(&c, 1);
    EXPECT_EQ(c, content[0]);
    EXPECT_EQ(log.text, "[INFO] Seek : " + dir / "f.bin (0)\n");
}

TEST_F(ReadAsync, MissingFileAndShortFile) {
    eFileStreamReadAsync stream;
    EXPECT_FALSE(stream.Open(dir / "none.bin"));
    EXPECT_TRUE(stream.Flags() & xIo::kStateFailed);
    qeltest::WriteFile(dir / "f.bin", Pattern(5000));
    ASSERT_TRUE(stream.Open(dir / "f.bin", 2048));
    // The file shrinks under the stream: the next piece cannot be read in full.
    qeltest::WriteFile(dir / "f.bin", Pattern(100));
    std::optional<xDebug::eEx_Custom> e = qeltest::Raised([&] { stream.Seek(4000, 0); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->message, dir / "f.bin - read error!");
}

}  // namespace
