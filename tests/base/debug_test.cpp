#include "base/debug.h"

#include <gtest/gtest.h>
#include <signal.h>

#include "base/check_point.h"
#include "base/format.h"
#include "base/log.h"
#include "support/recording_handler.h"

namespace {

using qeltest::LogCapture;
using qeltest::RecordingHandler;
using qeltest::SettingOverride;

TEST(DebugReport, ReportLineWithShortenedSource) {
    EXPECT_EQ(xDebug::ReportLine("io/stream_file", 42, "a.mdl - open error!"), "a.mdl - open error! (io/stream_file, 42)\n");
    EXPECT_EQ(xDebug::ShortSourcePath("d:\\work\\src\\io\\stream_file.cpp"), "stream_file.cpp");
    xDebug::RegisterLibraryGroup("qelgroup", "core");
    EXPECT_EQ(xDebug::ShortSourcePath("d:\\work\\qelgroup\\io\\x.cpp"), "qelgroup\\io\\x.cpp");
}

TEST(DebugError, ThrowModeThrowsWithoutBoxAndLogsTheReport) {
    RecordingHandler handler;
    LogCapture log;
    xDebug::xCheckPoint::eScope scope("reading a.sdl");
    xDebug::eExceptionMode mode(xDebug::kModeThrow);
    try {
        xDebug::Error("io/sdl_reader", 7, format("bad token %1%") % "x");
        FAIL() << "Error returned";
    } catch (const xDebug::eEx_Custom& e) {
        EXPECT_EQ(e.message, "bad token x");
        EXPECT_EQ(e.trace, "reading a.sdl\n");
        EXPECT_EQ(e.Text(), "bad token x (io/sdl_reader, 7)\nreading a.sdl\n");
    }
    EXPECT_TRUE(handler.boxes.empty());
    EXPECT_TRUE(xDebug::ErrorWasThrown());
    EXPECT_EQ(log.text,
              "============== Handled exception ===============\n"
              "bad token x (io/sdl_reader, 7)\n"
              "------------------------------------------------\n"
              "reading a.sdl\n"
              "================================================\n");
}

TEST(DebugError, NoLogBitSuppressesTheReport) {
    LogCapture log;
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    EXPECT_THROW(xDebug::Error("x", 1, "m"), xDebug::eEx_Custom);
    EXPECT_EQ(log.text, "");
}

TEST(DebugError, RetryModeOffersRetryAndAppendsTheEntryText) {
    RecordingHandler handler;
    handler.answers.push_back(xPlatform::kAnswerRetry);
    xDebug::eExceptionMode mode(xDebug::kModeRetry, "\nwhile saving");
    EXPECT_THROW(xDebug::Error("io/stream_file", 3, "disk full"), xDebug::eEx_Retry);
    ASSERT_EQ(handler.boxes.size(), 1u);
    const auto& box = handler.boxes[0];
    EXPECT_EQ(box.text, "disk full (io/stream_file, 3)\n\nwhile saving");
    EXPECT_EQ(box.caption, "Exception, can be retried");
    EXPECT_EQ(box.style, 0x40010u | 5u);
    EXPECT_EQ(box.size, 40u);
}

TEST(DebugError, PrepareBoxKeepsAGivenCaption) {
    xDebug::eErrorHandler handler;
    xPlatform::MessageBoxParams box;
    box.caption = "Mine";
    handler.PrepareBox(box);
    EXPECT_EQ(box.caption, "Mine");
    xPlatform::MessageBoxParams plain;
    handler.PrepareBox(plain);
    EXPECT_EQ(plain.caption, "Exception");
    EXPECT_EQ(plain.style, 0x40010u);
}

TEST(DebugErrorDeathTest, DefaultModeShowsTheBoxAndEndsTheProcess) {
    EXPECT_EXIT(xDebug::Error("io/stream_file", 9, "x.mdl - open error!"), testing::ExitedWithCode(1),
                "Exception: x.mdl - open error! \\(io/stream_file, 9\\)");
}

TEST(DebugWarning, LoggedAndReturnsByDefault) {
    LogCapture log;
    RecordingHandler handler;
    xDebug::Warning("io/name", 5, "careful");
    EXPECT_EQ(log.text, "careful (io/name, 5)\n");
    EXPECT_TRUE(handler.boxes.empty());
}

TEST(DebugWarning, WithCheckPointsTheTraceFollowsInParentheses) {
    LogCapture log;
    xDebug::xCheckPoint::eScope scope("file a.sdl");
    xDebug::Warning("io/name", 5, "careful");
    EXPECT_EQ(log.text, "careful(file a.sdl\n)\n");
}

TEST(DebugWarning, NegativeWarningLevelLogsNothing) {
    LogCapture log;
    SettingOverride level("dbg_warning_level", -1);
    xDebug::Warning("io/name", 5, "careful");
    EXPECT_EQ(log.text, "");
}

TEST(DebugWarning, WarningErrorLevelMakesItAnError) {
    SettingOverride level("dbg_warningErrorLevel", 0);
    {
        xDebug::eExceptionMode mode(xDebug::kModeThrow);
        EXPECT_THROW(xDebug::Warning("io/name", 5, "careful"), xDebug::eEx_Custom);
    }
    EXPECT_EXIT(xDebug::Warning("io/name", 5, "careful"), testing::ExitedWithCode(1), "Exception: careful \\(io/name, 5\\)");
}

TEST(DebugInfo, QueuedUntilTheLogOpens) {
    LogCapture log;
    xLog::ResetForTests();
    xDebug::Info("first");
    xDebug::Info("second");
    EXPECT_EQ(log.text, "");
    xLog::OpenLog();
    EXPECT_EQ(log.text, "[INFO] first\n[INFO] second\n");
    xDebug::Info("third");
    EXPECT_EQ(log.text, "[INFO] first\n[INFO] second\n[INFO] third\n");
    xLog::ResetForTests();
}

TEST(DebugLog, ColourTable) {
    EXPECT_EQ(xLog::ColourByName("dgred"), 0xFF7F0000u);
    EXPECT_EQ(xLog::ColourByName("dgray"), 0xFF3F3F3Fu);
    EXPECT_EQ(xLog::ColourByName("white"), 0xFFFFFFFFu);
    EXPECT_EQ(xLog::ColourByName("pink"), 0u);
}

TEST(DebugUnhandled, ExceptionCodeNames) {
    EXPECT_STREQ(xDebug::ExceptionCodeName(0xC0000005), "ACCESS_VIOLATION");
    EXPECT_STREQ(xDebug::ExceptionCodeName(0xC00000FD), "STACK_OVERFLOW");
    EXPECT_STREQ(xDebug::ExceptionCodeName(0x80000001), "GUARD_PAGE");
    EXPECT_EQ(xDebug::ExceptionCodeName(0xE06D7363), nullptr);
}

// The filter itself, installed by hand: no build installs it at start-up.
void RaiseUnderTheFilter(int sig) {
    xPlatform::InstallCrashFilter();
    raise(sig);
}

TEST(DebugUnhandledDeathTest, FatalSignalGivesTheReportAndExitCodeOne) {
    EXPECT_EXIT(RaiseUnderTheFilter(SIGSEGV), testing::ExitedWithCode(1),
                "Unhandled exception: ACCESS_VIOLATION\n\nSee console.log for details.");
    EXPECT_EXIT(RaiseUnderTheFilter(SIGFPE), testing::ExitedWithCode(1), "Unhandled exception: ");
    // A signal the table does not name is named by the system's text.
    EXPECT_EXIT(RaiseUnderTheFilter(SIGSYS), testing::ExitedWithCode(1), "Unhandled exception: Bad system call");
}

// Linking the core library installs no crash report: a crash in a test or a
// fuzz target stays visible to the sanitizers and the fuzzer. Only an owner
// of eCrashReport installs it, and only in builds without them.
TEST(DebugUnhandled, OnlyAnOwnerInstallsTheCrashReport) {
    struct sigaction at_start {}, owned{}, after{};
    sigaction(SIGSEGV, nullptr, &at_start);
    {
        xDebug::eCrashReport report;
        sigaction(SIGSEGV, nullptr, &owned);
    }
    sigaction(SIGSEGV, nullptr, &after);
    EXPECT_EQ(after.sa_sigaction, at_start.sa_sigaction);
    if (xDebug::CrashReportBuilt()) EXPECT_NE(owned.sa_sigaction, at_start.sa_sigaction);
    else EXPECT_EQ(owned.sa_sigaction, at_start.sa_sigaction);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_FALSE(xDebug::CrashReportBuilt());
#endif
}

}  // namespace

namespace {

void CrashWithTheLogOnStandardError() {
    xLog::SetSink([](const std::string& text) { std::fputs(text.c_str(), stderr); });
    RaiseUnderTheFilter(SIGSEGV);
}

TEST(DebugUnhandledDeathTest, TheCrashIsLoggedBeforeTheBox) {
    EXPECT_EXIT(CrashWithTheLogOnStandardError(), testing::ExitedWithCode(1),
                "============= Unhandled exception ==============\nACCESS_VIOLATION\n"
                "Unhandled exception: ACCESS_VIOLATION");
}

}  // namespace
