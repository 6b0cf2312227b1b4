#include "io/stream_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "io/file_system.h"
#include "support/recording_handler.h"
#include "support/temp_dir.h"

namespace {

using qeltest::Exists;
using qeltest::ReadFile;
using qeltest::RecordingHandler;
using qeltest::TempDir;
using qeltest::WriteFile;
using xIo::eFileStream;

constexpr uint32_t kWriteNew = xIo::kModeWrite | xIo::kModeTruncate;

TEST(FileStream, WindowIsWrittenBackWhenItMovesAndTheRestOnClose) {
    TempDir dir;
    std::string name = dir / "a.bin";
    std::string data(300, 0);
    for (int i = 0; i < 300; ++i) data[i] = static_cast<char>(i);
    {
        eFileStream s;
        ASSERT_TRUE(s.Open(name, kWriteNew, 256));
        s.Write(data.data(), 300);
        EXPECT_EQ(ReadFile(name + ".tmp"), data.substr(0, 256));
        EXPECT_FALSE(Exists(name));
    }
    EXPECT_EQ(ReadFile(name), data);
    EXPECT_FALSE(Exists(name + ".tmp"));
}

TEST(FileStream, DirectModeWritesInPlace) {
    TempDir dir;
    std::string name = dir / "direct.bin";
    {
        eFileStream s;
        ASSERT_TRUE(s.Open(name, kWriteNew | xIo::kModeDirect, 256));
        s.Write("abc", 3);
        s.Flush();
        EXPECT_EQ(ReadFile(name), "abc");
        EXPECT_FALSE(Exists(name + ".tmp"));
    }
    EXPECT_EQ(ReadFile(name), "abc");
}

TEST(FileStream, ReadWindowIsCutToTheFileLength) {
    TempDir dir;
    WriteFile(dir / "r.bin", "0123456789");
    eFileStream s;
    ASSERT_TRUE(s.Open(dir / "r.bin", xIo::kModeRead, 4096));
    EXPECT_EQ(s.WindowLength(), 10);
    EXPECT_EQ(s.Size(), 10);
    char buf[10];
    s.Read(buf, 10);
    EXPECT_EQ(std::string(buf, 10), "0123456789");
}

TEST(FileStream, SmallWindowReadsAndSeeksAcrossTheFile) {
    TempDir dir;
    std::string content;
    for (int i = 0; i < 1000; ++i) content += static_cast<char>('a' + i % 26);
    WriteFile(dir / "r.bin", content);
    eFileStream s;
    ASSERT_TRUE(s.Open(dir / "r.bin", xIo::kModeRead, 64));
    std::string got(1000, 0);
    s.Read(got.data(), 1000);
    EXPECT_EQ(got, content);
    s.Seek(500, 0);
    EXPECT_EQ(s.Get<char>(), content[500]);
    s.Seek(3, 2);
    EXPECT_EQ(s.Get<char>(), content[997]);
}

TEST(FileStream, SizePatchedBySeekingBackWithASmallWindow) {
    TempDir dir;
    std::string name = dir / "patch.bin";
    {
        eFileStream s;
        ASSERT_TRUE(s.Open(name, kWriteNew, 16));
        s.Put<uint32_t>(0);
        for (int i = 0; i < 100; ++i) s.PutByte(static_cast<uint8_t>(i));
        int32_t end = s.Position();
        s.Seek(0, 0).Put<uint32_t>(100);
        s.Seek(end, 0).Put<uint32_t>(0xDEADBEEF);
    }
    std::string bytes = ReadFile(name);
    ASSERT_EQ(bytes.size(), 108u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x64\0\0\0", 4));
    EXPECT_EQ(static_cast<uint8_t>(bytes[4 + 99]), 99);
    EXPECT_EQ(bytes.substr(104), "\xEF\xBE\xAD\xDE");
}

// A size patched behind the window, with the end of the file close enough
// that seeking back to it lands inside the moved window: the bytes between
// the patch and the end must be the file's own, not the window's leftovers.
TEST(FileStream, SeekingForwardAfterAPatchBehindTheWindowKeepsTheBytesBetween) {
    TempDir dir;
    std::string name = dir / "patch_near.bin";
    std::string expected;
    {
        eFileStream s;
        ASSERT_TRUE(s.Open(name, kWriteNew, 16));
        for (int i = 0; i < 10; ++i) s.PutByte(static_cast<uint8_t>('a' + i));
        s.Put<uint32_t>(0);
        for (int i = 0; i < 8; ++i) s.PutByte(static_cast<uint8_t>('A' + i));
        int32_t end = s.Position();
        s.Seek(10, 0).Put<uint32_t>(0x34333231);
        s.Seek(end, 0).PutByte('!');
    }
    EXPECT_EQ(ReadFile(name), "abcdefghij1234ABCDEFGH!");
}

TEST(FileStream, OpenFailureWithoutInteractiveModeSetsTheFailedBit) {
    TempDir dir;
    eFileStream s;
    EXPECT_FALSE(s.Open(dir / "missing/dir/a.bin", kWriteNew, 256));
    EXPECT_TRUE(s.Flags() & xIo::kStateFailed);
    EXPECT_FALSE(s.Open(dir / "missing.bin", xIo::kModeRead, 256));
}

TEST(FileStream, InteractiveOpenFailureAsksRetryAndCancelRaises) {
    TempDir dir;
    RecordingHandler handler;
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    std::string name = dir / "missing/a.bin";
    eFileStream s;
    try {
        s.Open(name, kWriteNew | xIo::kModeInteractive, 256);
        FAIL() << "no error";
    } catch (const xDebug::eEx_Custom& e) {
        EXPECT_EQ(e.message, name + ".tmp - open error!");
        EXPECT_EQ(e.source, "io/stream_file");
    }
    ASSERT_EQ(handler.boxes.size(), 1u);
    EXPECT_EQ(handler.boxes[0].text, name + ".tmp");
    EXPECT_EQ(handler.boxes[0].caption, "Error writing filestream");
    EXPECT_EQ(handler.boxes[0].style, 0x41035u);
}

// Creates the missing folder when asked, then answers Retry.
struct FixingHandler : RecordingHandler {
    std::string folder;
    int Present(const xPlatform::MessageBoxParams& params) override {
        RecordingHandler::Present(params);
        mkdir(folder.c_str(), 0777);
        return xPlatform::kAnswerRetry;
    }
};

TEST(FileStream, RetryOpensAgain) {
    TempDir dir;
    FixingHandler handler;
    handler.folder = dir / "later";
    {
        eFileStream s;
        ASSERT_TRUE(s.Open(dir / "later/a.bin", kWriteNew | xIo::kModeInteractive, 256));
        s.Write("ok", 2);
    }
    EXPECT_EQ(handler.boxes.size(), 1u);
    EXPECT_EQ(ReadFile(dir / "later/a.bin"), "ok");
}

TEST(FileStream, FailedCommitAsksAndKeepsTheTemporaryFile) {
    TempDir dir;
    RecordingHandler handler;
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    std::string name = dir / "target";
    mkdir(name.c_str(), 0777);  // a folder in the way: the move cannot replace it
    WriteFile(name + "/keep", "x");
    eFileStream s;
    ASSERT_TRUE(s.Open(name, kWriteNew | xIo::kModeInteractive, 256));
    s.Write("data", 4);
    try {
        s.Close();
        FAIL() << "no error";
    } catch (const xDebug::eEx_Custom& e) {
        EXPECT_EQ(e.message, name + " - open error!");
    }
    ASSERT_EQ(handler.boxes.size(), 1u);
    EXPECT_EQ(handler.boxes[0].text, name);
    EXPECT_EQ(ReadFile(name + ".tmp"), "data");
}

TEST(FileStream, ShortWriteIsAnErrorAndNothingIsCommitted) {
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    eFileStream s;
    ASSERT_TRUE(s.Open("/dev/full", xIo::kModeWrite | xIo::kModeDirect, 256));
    s.Write("abc", 3);
    try {
        s.Close();
        FAIL() << "no error";
    } catch (const xDebug::eEx_Custom& e) {
        EXPECT_EQ(e.message, "/dev/full - write error (No space left on device)!");
        EXPECT_EQ(e.source, "io/stream_file");
    }
}

// Writes more than the process may (a file size limit, as on a full disk)
// over an existing file, in a child process; exit code 0 when the error was
// raised, the old content kept and the temporary file removed.
TEST(FileStream, DiskFullKeepsThePreviousTargetIntact) {
    TempDir dir;
    std::string name = dir / "model.mdl";
    WriteFile(name, "previous content");
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
        bool raised = false;
        try {
            eFileStream s;
            s.Open(name, kWriteNew, 1024);
            std::string chunk(1024, 'n');
            for (int i = 0; i < 16; ++i) s.Write(chunk.data(), 1024);
            s.Close();
        } catch (const xDebug::eEx_Custom& e) {
            raised = e.message.find(" - write error (File too large)!") != std::string::npos;
        }
        bool kept = ReadFile(name) == "previous content" && !Exists(name + ".tmp");
        _exit(raised && kept ? 0 : 3);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(name), "previous content");
}

TEST(FileStream, UnwindingThroughAnOpenStreamAbandonsTheFile) {
    TempDir dir;
    std::string name = dir / "half.mdl";
    WriteFile(name, "old");
    try {
        eFileStream s;
        s.Open(name, kWriteNew, 256);
        s.Write("half", 4);
        throw std::runtime_error("export failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadFile(name), "old");
    EXPECT_FALSE(Exists(name + ".tmp"));
}

TEST(FileStream, OddBytesInPaths) {
    TempDir dir;
    std::string folder = dir / "\xD2\xE0\xED\xEA with space";  // code page 1251 letters
    ASSERT_TRUE(xIo::MakeDirectories(folder));
    {
        eFileStream s;
        ASSERT_TRUE(s.Open(folder + "/\xF4\xE0\xE9\xEB.bin", kWriteNew, 256));
        s.Write("1251", 4);
    }
    EXPECT_EQ(ReadFile(folder + "/\xF4\xE0\xE9\xEB.bin"), "1251");
}

}  // namespace

namespace {

TEST(FileStream, DiscardKeepsTheTargetAndTheHookHearsOnlyCommits) {
    qeltest::TempDir dir;
    std::vector<std::string> written;
    xIo::SetFileWrittenHook([&](const std::string& name) { written.push_back(name); });
    qeltest::WriteFile(dir / "keep.mdl", "old");
    {
        xIo::eFileStream s;
        s.Open(dir / "keep.mdl", xIo::kModeWrite | xIo::kModeTruncate, 256);
        s.Write("new", 3);
        s.Discard();
    }
    {
        xIo::eFileStream s;
        s.Open(dir / "new.mdl", xIo::kModeWrite | xIo::kModeTruncate, 256);
        s.Write("x", 1);
        s.Close();
    }
    {
        xIo::eFileStream s;
        s.Open(dir / "new.mdl", xIo::kModeRead, 256);
    }
    xIo::SetFileWrittenHook(nullptr);
    EXPECT_EQ(qeltest::ReadFile(dir / "keep.mdl"), "old");
    EXPECT_FALSE(qeltest::Exists(dir / "keep.mdl.tmp"));
    EXPECT_EQ(written, std::vector<std::string>{dir / "new.mdl"});
}

}  // namespace
