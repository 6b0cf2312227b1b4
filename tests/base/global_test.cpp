#include <gtest/gtest.h>

#include <thread>

#include "base/eventable.h"
#include "base/format.h"
#include "base/global_collector.h"
#include "base/intrusive_registrator.h"
#include "base/log.h"
#include "base/settings.h"
#include "base/thread_storage.h"
#include "support/recording_handler.h"

namespace {

TEST(ThreadStorage, OneObjectPerThread) {
    eThreadStorage<int> storage;
    storage.Get() = 5;
    int* main_object = &storage.Get();
    int* other_object = nullptr;
    std::thread t([&] {
        other_object = &storage.Get();
        EXPECT_EQ(*other_object, 0);
    });
    t.join();
    EXPECT_NE(main_object, other_object);
    EXPECT_EQ(storage.Get(), 5);
    EXPECT_EQ(storage.Count(), 2u);
}

TEST(ThreadStorage, FormatterBuffersArePerThread) {
    // Two threads formatting at once must not see each other's text.
    std::string a, b;
    std::thread t1([&] {
        for (int i = 0; i < 2000; ++i) a = (format("%d-%s") % i % "a").str();
    });
    std::thread t2([&] {
        for (int i = 0; i < 2000; ++i) b = (format("%d-%s") % i % "b").str();
    });
    t1.join();
    t2.join();
    EXPECT_EQ(a, "1999-a");
    EXPECT_EQ(b, "1999-b");
}

TEST(Registration, DuplicateListTypeIsAnError) {
    xDebug::eExceptionMode mode(xDebug::kModeThrow);
    xRegistrator::RegisterList("qeltest::List");
    try {
        xRegistrator::RegisterList("qeltest::List");
        FAIL();
    } catch (const xDebug::eEx_Custom& e) {
        EXPECT_EQ(e.Text(), "Multiply static registration list of qeltest::List (base/intrusive_registrator, 16)\n");
    }
}

TEST(Registration, DebugSettingsWithDefaults) {
    ASSERT_NE(xSet::FindInt("dbg_exceptions"), nullptr);
    EXPECT_EQ(xSet::FindInt("dbg_exceptions")->Default(), 0);
    EXPECT_EQ(xSet::FindInt("dbg_warning_level")->Default(), 0);
    EXPECT_EQ(xSet::FindInt("dbg_warningErrorLevel")->Default(), -1);
    EXPECT_STREQ(xSet::FindInt("dbg_warning_level")->Type()->name, "int32");
    EXPECT_EQ(xSet::FindInt("no_such_setting"), nullptr);
}

struct Listener : eEventable {
    eEventable* source = nullptr;
    std::vector<int32_t>* calls = nullptr;
    int32_t id = 0;
    bool removeSelf = false;
    void OnEvent(int32_t event) override {
        calls->push_back(id);
        if (removeSelf) source->RemoveListener(event, this);
    }
};

TEST(Events, ListenerRemovingItselfDoesNotDisturbOthers) {
    eEventable source;
    std::vector<int32_t> calls;
    Listener a, b, c;
    for (Listener* l : {&a, &b, &c}) {
        l->source = &source;
        l->calls = &calls;
        source.AddListener(7, l);
    }
    a.id = 1;
    b.id = 2;
    c.id = 3;
    b.removeSelf = true;
    source.Fire(7);
    EXPECT_EQ(calls, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(source.ListenerCount(7), 2u);  // compacted by the outermost dispatch
    calls.clear();
    source.Fire(7);
    EXPECT_EQ(calls, (std::vector<int32_t>{1, 3}));
}

TEST(Events, ChildrenReceiveTheParentsEvents) {
    eEventable parent, child;
    std::vector<int32_t> calls;
    Listener l;
    l.calls = &calls;
    l.id = 9;
    child.AddListener(3, &l);
    parent.AddChild(&child);
    parent.Fire(3);
    parent.Fire(4);
    EXPECT_EQ(calls, (std::vector<int32_t>{9}));
}

struct Module : eGlobalModule {};

TEST(GlobalCollector, ModulesStartByNameAndStopInReverse) {
    eGlobalCollector& c = eGlobalCollector::Instance();
    std::vector<std::string> calls;
    Module* module = nullptr;
    c.Register("qeltest", [&] { calls.push_back("start1"); module = new Module; }, [&] { calls.push_back("stop1"); delete module; });
    c.Register("qeltest", [&] { calls.push_back("start2"); }, [&] { calls.push_back("stop2"); });
    c.Start("qeltest");
    EXPECT_EQ(calls, (std::vector<std::string>{"start1", "start2"}));
    c.Teardown();
    EXPECT_EQ(calls, (std::vector<std::string>{"start1", "start2", "stop2", "stop1"}));
    EXPECT_EQ(c.EntryCount(), 0u);
}

TEST(GlobalCollector, DestroyingAModuleOutsideTeardownIsAnError) {
    xDebug::eExceptionMode mode(xDebug::kModeThrow);
    try {
        Module m;
        (void)m;
    } catch (const xDebug::eEx_Custom& e) {
        EXPECT_EQ(e.Text(), "GlobalCollector: trying to destroy global module by illeal way (base/global_collector, 241)\n");
        return;
    }
    FAIL() << "no error";
}

TEST(GlobalCollector, TerminationForgetsEveryEntry) {
    eGlobalCollector& c = eGlobalCollector::Instance();
    bool stopped = false;
    c.Register("qeltest2", nullptr, [&] { stopped = true; });
    xApp::Events().Fire(xApp::kEventTerminate);
    EXPECT_EQ(c.EntryCount(), 0u);
    c.Teardown();
    EXPECT_FALSE(stopped);
}

TEST(GlobalCollector, AppStartListsTheLibraryGroups) {
    qeltest::LogCapture log;
    xLog::ResetForTests();
    xLog::OpenLog();
    xDebug::RegisterLibraryGroup("qelgroup2", "io");
    xDebug::RegisterLibraryGroup("qelgroup2", "base");
    xDebug::LogLibraryGroups();
    EXPECT_NE(log.text.find("[INFO] Libraries (qelgroup2): io, base\n"), std::string::npos);
    xLog::ResetForTests();
}

}  // namespace

namespace {

// Takes thread-local slots until the system has none left.
void ExhaustThreadSlots() {
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        static std::vector<std::unique_ptr<eThreadStorage<int>>> storages;  // kept: the process ends here
        for (int i = 0; i < 100000; ++i) storages.push_back(std::make_unique<eThreadStorage<int>>());
    } catch (const xDebug::eEx_Custom& e) {
        std::fprintf(stderr, "%s", e.Text().c_str());
        std::exit(3);
    }
    std::exit(0);
}

TEST(ThreadStorageDeathTest, RunningOutOfSlotsIsAnError) {
    EXPECT_EXIT(ExhaustThreadSlots(), testing::ExitedWithCode(3),
                "Thread Storage Overflow : 11 \\(base/thread_storage, 19\\)");
}

}  // namespace
