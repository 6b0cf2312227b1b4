#include "base/check_point.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using xDebug::xCheckPoint::eScope;
using xDebug::xCheckPoint::ThreadStack;

TEST(CheckPoint, TraceListsInformersInnermostLast) {
    EXPECT_TRUE(ThreadStack().Empty());
    {
        eScope outer("reading a.mdl");
        eScope inner("block bone");
        EXPECT_EQ(ThreadStack().Trace(), "reading a.mdl\nblock bone\n");
    }
    EXPECT_TRUE(ThreadStack().Empty());
}

TEST(CheckPoint, StacksArePerThread) {
    eScope here("main thread");
    std::string other_trace = "unset";
    std::thread t([&] { other_trace = ThreadStack().Trace(); });
    t.join();
    EXPECT_EQ(other_trace, "");
    EXPECT_EQ(ThreadStack().Trace(), "main thread\n");
}

}  // namespace
