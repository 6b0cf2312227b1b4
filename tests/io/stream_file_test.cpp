#include "io/stream_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "io/file_system.h"
#include "support/raised.h"
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

// The temporary files of target in its folder: "<target>.<tag>.tmp".
std::vector<std::string> TemporariesOf(const std::string& target) {
    std::string folder = target.substr(0, target.rfind('/'));
    std::string prefix = target.substr(folder.size() + 1) + ".";
    std::vector<std::string> found;
    for (const std::string& file : qeltest::FilesUnder(folder))
        if (file.rfind(prefix, 0) == 0 && file.size() > prefix.size() + 4 && file.ends_with(".tmp"))
            found.push_back(folder + "/" + file);
    return found;
}

TEST(FileStream, WindowIsWrittenBackWhenItMovesAndTheRestOnClose) {
    TempDir dir;
    std::string name = dir / "a.bin";
    std::string data(300, 0);
    for (int i = 0; i < 300; ++i) data[i] = static_cast<char>(i);
    {
        eFileStream s;
        ASSERT_TRUE(s.Open(name, kWriteNew, 256));
        s.Write(data.data(), 300);
        std::vector<std::string> temporaries = TemporariesOf(name);
        ASSERT_EQ(temporaries.size(), 1u);
        EXPECT_EQ(ReadFile(temporaries[0]), data.substr(0, 256));
        EXPECT_FALSE(Exists(name));
    }
    EXPECT_EQ(ReadFile(name), data);
    EXPECT_TRUE(TemporariesOf(name).empty());
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
        EXPECT_TRUE(TemporariesOf(name).empty());
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
        // The temporary file "<name>.<tag>.tmp" could not be created.
        EXPECT_EQ(e.message.rfind(name + ".", 0), 0u) << e.message;
        EXPECT_TRUE(e.message.ends_with(".tmp - open error!")) << e.message;
        EXPECT_EQ(e.source, "io/stream_file");
    }
    ASSERT_EQ(handler.boxes.size(), 1u);
    EXPECT_EQ(handler.boxes[0].text.rfind(name + ".", 0), 0u);
    EXPECT_TRUE(handler.boxes[0].text.ends_with(".tmp"));
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
    eFileStream s;
    ASSERT_TRUE(s.Open(name, kWriteNew | xIo::kModeInteractive, 256));
    s.Write("data", 4);
    mkdir(name.c_str(), 0777);  // a folder in the way since the open: it is not replaced
    WriteFile(name + "/keep", "x");
    try {
        s.Close();
        FAIL() << "no error";
    } catch (const xDebug::eEx_Custom& e) {
        EXPECT_EQ(e.message, name + " - open error!");
    }
    ASSERT_EQ(handler.boxes.size(), 1u);
    EXPECT_EQ(handler.boxes[0].text, name);
    std::vector<std::string> temporaries = TemporariesOf(name);
    ASSERT_EQ(temporaries.size(), 1u);
    EXPECT_EQ(ReadFile(temporaries[0]), "data");
    EXPECT_EQ(ReadFile(name + "/keep"), "x");
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
        bool kept = ReadFile(name) == "previous content" && TemporariesOf(name).empty();
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
    EXPECT_TRUE(TemporariesOf(name).empty());
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
    EXPECT_TRUE(TemporariesOf(dir / "keep.mdl").empty());
    EXPECT_EQ(written, std::vector<std::string>{dir / "new.mdl"});
}

}  // namespace

namespace {

using qeltest::ReadFile;
using qeltest::TempDir;
using qeltest::WriteFile;
using xIo::FileFailure;

constexpr uint32_t kReplace = xIo::kModeWrite | xIo::kModeTruncate;

// Records what the failure hook hears while it lives.
struct FailureLog {
    FailureLog() {
        xIo::SetFileFailureHook([this](const FileFailure& f) { failures.push_back(f); });
    }
    ~FailureLog() { xIo::SetFileFailureHook(nullptr); }
    std::vector<FileFailure> failures;
};

std::string LinkTarget(const std::string& link) {
    char buffer[4096];
    ssize_t n = readlink(link.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
}

// Creating a file exclusively takes no name that exists, whatever it is: a
// file, a link to a file outside, or a link to nothing (which plain creation
// would follow, creating the file it points at).
TEST(FileStreamPlatform, CreatingANewFileNeverTakesAnExistingNameOrFollowsALink) {
    TempDir dir, outside;
    WriteFile(dir / "file", "mine");
    WriteFile(outside / "victim", "intact");
    ASSERT_EQ(symlink((outside / "victim").c_str(), (dir / "to-file").c_str()), 0);
    ASSERT_EQ(symlink((outside / "created").c_str(), (dir / "dangling").c_str()), 0);
    for (const char* name : {"file", "to-file", "dangling"}) {
        xIo::xOs::Handle handle = xIo::xOs::kNoHandle;
        int error = xIo::xOs::CreateNew(dir / name, handle);
        EXPECT_TRUE(xIo::xOs::IsAlreadyExists(error)) << name << ": " << xIo::xOs::ErrorText(error);
        EXPECT_EQ(handle, xIo::xOs::kNoHandle) << name;
    }
    EXPECT_EQ(ReadFile(dir / "file"), "mine");
    EXPECT_EQ(ReadFile(outside / "victim"), "intact");
    EXPECT_FALSE(qeltest::Exists(outside / "created"));
    xIo::xOs::Handle handle = xIo::xOs::kNoHandle;
    ASSERT_EQ(xIo::xOs::CreateNew(dir / "new", handle), 0);
    xIo::xOs::Close(handle);
}

// Two streams writing one target at once each have their own temporary file;
// the target ends up whole, from the one committed last. Links planted in the
// target's folder at the names a temporary file used to have, or may have,
// are not written through.
TEST(FileStream, EachWriterHasItsOwnTemporaryFileAndNoLinkIsFollowed) {
    TempDir dir, outside;
    std::string name = dir / "tank.mdl";
    WriteFile(outside / "victim", "intact");
    ASSERT_EQ(symlink((outside / "victim").c_str(), (name + ".tmp").c_str()), 0);
    ASSERT_EQ(symlink((outside / "made").c_str(), (dir / "tank.mdl.0000000000.tmp").c_str()), 0);
    {
        eFileStream first, second;
        ASSERT_TRUE(first.Open(name, kReplace, 16));
        ASSERT_TRUE(second.Open(name, kReplace, 16));
        EXPECT_EQ(TemporariesOf(name).size(), 2u);
        std::string a(100, 'a'), b(70, 'b');
        first.Write(a.data(), 100);
        second.Write(b.data(), 70);
        second.Close();
        EXPECT_EQ(ReadFile(name), b);
        first.Close();
        EXPECT_EQ(ReadFile(name), a);
    }
    EXPECT_EQ(ReadFile(outside / "victim"), "intact");
    EXPECT_FALSE(qeltest::Exists(outside / "made"));
    EXPECT_EQ(LinkTarget(name + ".tmp"), outside / "victim");
    struct stat st;
    ASSERT_EQ(lstat(name.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
}

// A target that exists and is no regular file, or is read-only, is refused
// with its name before anything is written, and stays as it was.
TEST(FileStream, TargetsThatAreNoRegularFileOrReadOnlyAreRefused) {
    TempDir dir;
    ASSERT_EQ(mkdir((dir / "folder").c_str(), 0777), 0);
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0666), 0);
    WriteFile(dir / "file", "linked");
    ASSERT_EQ(symlink((dir / "file").c_str(), (dir / "link").c_str()), 0);
    WriteFile(dir / "readonly", "keep me");
    ASSERT_EQ(chmod((dir / "readonly").c_str(), 0444), 0);
    bool have_device = mknod((dir / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;  // as /dev/null
    struct Case {
        const char* name;
        uint32_t mode;
        const char* reason;
    } cases[] = {
        {"folder", kReplace, "a folder, not a regular file"},
        {"pipe", kReplace, "a device, pipe or socket, not a regular file"},
        {"device", kReplace, "a device, pipe or socket, not a regular file"},
        {"link", kReplace, "a link, not a regular file"},
        {"readonly", kReplace, "a read-only file"},
        {"readonly", kReplace | xIo::kModeDirect, "a read-only file"},
    };
    RecordingHandler handler;  // answers the Retry/Cancel boxes with Cancel
    for (const Case& c : cases) {
        if (std::string(c.name) == "device" && !have_device) continue;  // no right to make device nodes here
        std::string name = dir / c.name;
        FailureLog log;
        eFileStream s;
        EXPECT_FALSE(s.Open(name, c.mode, 256)) << c.name;
        EXPECT_TRUE(s.Flags() & xIo::kStateFailed);
        ASSERT_EQ(log.failures.size(), 1u) << c.name;
        EXPECT_EQ(log.failures[0].step, FileFailure::Step::kRefusedTarget);
        EXPECT_EQ(log.failures[0].Describe(), "will not replace " + name + ": it is " + c.reason);
        EXPECT_EQ(qeltest::RaisedMessage([&] { s.Open(name, c.mode | xIo::kModeInteractive, 256); }),
                  name + " - open error!");
        EXPECT_TRUE(TemporariesOf(name).empty()) << c.name;
    }
    struct stat st;
    ASSERT_EQ(lstat((dir / "pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(lstat((dir / "link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFile(dir / "file"), "linked");
    ASSERT_EQ(stat((dir / "readonly").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(ReadFile(dir / "readonly"), "keep me");
    if (have_device) {
        ASSERT_EQ(lstat((dir / "device").c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

// The core library's texts stay as they are; the failure hook carries what
// failed, the local paths and the system's reason.
TEST(FileStream, FailuresTellTheStepThePathsAndTheReason) {
    TempDir dir;
    FailureLog log;
    std::string missing = dir / "missing/a.mdl";
    eFileStream s;
    EXPECT_FALSE(s.Open(missing, kReplace, 256));
    ASSERT_EQ(log.failures.size(), 1u);
    EXPECT_EQ(log.failures[0].step, FileFailure::Step::kCreateTemporary);
    EXPECT_EQ(log.failures[0].localPath, missing);
    EXPECT_EQ(log.failures[0].temporaryPath.rfind(missing + ".", 0), 0u);
    EXPECT_NE(log.failures[0].Describe().find(" for " + missing + ": No such file or directory"), std::string::npos)
        << log.failures[0].Describe();

    // The temporary file vanishes before the commit: a failed rename, not an
    // open error, although the raised text stays "%1% - open error!".
    log.failures.clear();
    std::string name = dir / "b.mdl";
    ASSERT_TRUE(s.Open(name, kReplace, 256));
    s.Write("x", 1);
    std::vector<std::string> temporaries = TemporariesOf(name);
    ASSERT_EQ(temporaries.size(), 1u);
    unlink(temporaries[0].c_str());
    EXPECT_EQ(qeltest::RaisedMessage([&] { s.Close(); }), name + " - open error!");
    ASSERT_EQ(log.failures.size(), 1u);
    EXPECT_EQ(log.failures[0].step, FileFailure::Step::kReplace);
    EXPECT_EQ(log.failures[0].Describe(),
              "cannot rename " + temporaries[0] + " to " + name + ": No such file or directory");

    // Reading a missing file is an answer, not a failure to report.
    log.failures.clear();
    EXPECT_FALSE(s.Open(dir / "absent", xIo::kModeRead, 256));
    EXPECT_TRUE(log.failures.empty());
}

}  // namespace
