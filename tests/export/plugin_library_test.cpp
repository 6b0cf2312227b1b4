// The QelExport plug-in library loaded the way a host loads it: dlopen of the
// built file, the entry points found by name, every answer read through the
// host's interfaces, and a whole export run through the class descriptor.
//
// This program does not link the exporter: the library carries its own copy
// of the core library (error channel, path map, crash filter), apart from the
// copy this program's simulated host uses. The host's path map lives in this
// program's copy and cannot reach the library's, which keeps the identity: the
// export below writes its host paths as they are, relative to the working
// directory, which the test points at a temporary folder.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "base/debug.h"
#include "host/plugin.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"
#include "support/temp_dir.h"

namespace {

// The library for the lifetime of the object, and its entry points.
class Library {
public:
    Library() : handle_(dlopen(QEL_EXPORT_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() { Close(); }
    bool Loaded() const { return handle_ != nullptr; }
    void Close() {
        if (handle_) dlclose(handle_);
        handle_ = nullptr;
    }
    template <class Fn>
    Fn* Entry(const char* name) const {
        return reinterpret_cast<Fn*>(dlsym(handle_, name));
    }
    host::ClassDesc* Desc(int i) const { return Entry<host::ClassDesc*(int)>("LibClassDesc")(i); }

private:
    void* handle_;
};

std::string Text(const char* answer) { return answer ? answer : "<null>"; }

TEST(PluginLibrary, EntryPointsAnswerTheHost) {
    Library lib;
    ASSERT_TRUE(lib.Loaded()) << dlerror();
    auto* description = lib.Entry<const char*()>("LibDescription");
    auto* number_classes = lib.Entry<int()>("LibNumberClasses");
    auto* class_desc = lib.Entry<host::ClassDesc*(int)>("LibClassDesc");
    auto* version = lib.Entry<uint32_t()>("LibVersion");
    auto* can_auto_defer = lib.Entry<int()>("CanAutoDefer");
    ASSERT_TRUE(description && number_classes && class_desc && version && can_auto_defer);

    EXPECT_EQ(Text(description()), "QEL Model exporter");
    EXPECT_EQ(number_classes(), 1);
    EXPECT_NE(class_desc(0), nullptr);
    EXPECT_EQ(class_desc(1), nullptr);
    EXPECT_EQ(class_desc(-1), nullptr);
    EXPECT_EQ(version(), 0x2EE02100u);
    EXPECT_EQ(can_auto_defer(), 1);
}

TEST(PluginLibrary, ClassDescriptorAndExportObjectAnswer) {
    Library lib;
    ASSERT_TRUE(lib.Loaded()) << dlerror();
    host::ClassDesc* desc = lib.Desc(0);
    ASSERT_NE(desc, nullptr);
    EXPECT_TRUE(desc->IsPublic());
    EXPECT_EQ(Text(desc->ClassName()), "QELExport");
    EXPECT_EQ(Text(desc->Category()), "Standard");
    EXPECT_EQ(desc->SuperClassID(), 0xA20u);
    EXPECT_EQ(desc->ClassID(), host::ClassId(0x5FD31026, 0x0E63557D));
    EXPECT_EQ(desc->NumParamBlockDescs(), 0);

    auto scene = sim::SceneFromJson(R"("nodes": [])");
    std::unique_ptr<host::ReferenceTarget> object = desc->Create(*scene, false);
    auto* exporter = dynamic_cast<host::SceneExport*>(object.get());
    ASSERT_NE(exporter, nullptr);
    EXPECT_EQ(exporter->SuperClassID(), 0xA20u);
    EXPECT_EQ(exporter->ClassID(), desc->ClassID());
    EXPECT_EQ(exporter->ExtCount(), 1);
    EXPECT_EQ(Text(exporter->Ext(0)), "MDL");
    EXPECT_EQ(Text(exporter->Ext(1)), "");
    EXPECT_EQ(Text(exporter->LongDesc()), "3D Studio MAX to QEL Model Scene Exporter");
    EXPECT_EQ(Text(exporter->ShortDesc()), "QEL Model Scene Export");
    EXPECT_NE(Text(exporter->AuthorName()), "");
    EXPECT_NE(Text(exporter->CopyrightMessage()), "");
    EXPECT_NE(Text(exporter->CopyrightMessage()), "<null>");
    EXPECT_EQ(Text(exporter->OtherMessage1()), "");
    EXPECT_EQ(Text(exporter->OtherMessage2()), "");
    EXPECT_EQ(exporter->Version(), 1u);
    for (uint32_t options : {0u, 1u, 2u, 3u, 0x80000001u})
        EXPECT_EQ(exporter->SupportsOptions(0, options), options == 1) << options;
}

// Restores the working directory when it goes.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& dir) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

TEST(PluginLibrary, WholeExportThroughTheClassDescriptor) {
    Library lib;
    ASSERT_TRUE(lib.Loaded()) << dlerror();
    qeltest::TempDir dir;
    WorkingDirectory cwd(dir.path());
    // Seen from here the host's drive is a folder of the working directory.
    std::filesystem::create_directory(dir / "d:");
    {
        auto scene = sim::SceneFromJson(R"("user": "builder", "nodes": [
            {"name": "Bad", "props": "Model=../outside\r\n"},
            {"name": "Tank", "props": "Model=units/tank\r\n", "children": [{"name": "turret"}]}])");
        scene->SetPlugCfgDir("plugcfg");
        std::unique_ptr<host::ReferenceTarget> object = lib.Desc(0)->Create(*scene, false);
        auto* exporter = dynamic_cast<host::SceneExport*>(object.get());
        ASSERT_NE(exporter, nullptr);
        EXPECT_EQ(exporter->DoExport("d:/out/tank.mdl", nullptr, scene.get(), true, 0), 1);

        std::string mdl = qeltest::ReadFile(dir / "d:/thegame/units/tank/tank.mdl");
        EXPECT_EQ(mdl.rfind(";Exported by:\t builder\r\n;Date:\t\t\t ", 0), 0u) << mdl;
        EXPECT_NE(mdl.find("{bone \"tank\""), std::string::npos) << mdl;
        EXPECT_NE(mdl.find("{bone \"turret\""), std::string::npos) << mdl;
        EXPECT_EQ(qeltest::ReadFile(dir / "d:/thegame/units/tank/tank.def"), "{entity\r\n}\r\n");
        EXPECT_FALSE(qeltest::Exists(dir / "d:/outside"));
        // The library's messages reach the host's message boxes.
        EXPECT_EQ(qeltest::Boxes(*scene),
                  (std::vector<std::string>{"E|Ошибка|Путь модели '../outside' в кости 'Bad' выходит за пределы "
                                            "каталога ресурсов игры. Модель пропущена."}));
        EXPECT_EQ(scene->Record().panelModes, (std::vector<int>{6, 2}));
        // The exporter's objects (and the bone records it attached to the
        // scene's nodes) go before the library does.
    }
}

// What the process has installed for fatal signals.
struct SignalState {
    struct sigaction segv {};
    stack_t altStack{};
    SignalState() {
        sigaction(SIGSEGV, nullptr, &segv);
        sigaltstack(nullptr, &altStack);
    }
    bool operator==(const SignalState& other) const {
        // The flags of the default action mean nothing (and the C library
        // adds its own when the default is put back).
        bool is_default = segv.sa_handler == SIG_DFL;
        return segv.sa_sigaction == other.segv.sa_sigaction && (is_default || segv.sa_flags == other.segv.sa_flags) &&
               altStack.ss_sp == other.altStack.ss_sp && altStack.ss_size == other.altStack.ss_size;
    }
};

TEST(PluginLibrary, UnloadingTearsDownWhatLoadingSetUp) {
    SignalState before;
    Library lib;
    ASSERT_TRUE(lib.Loaded()) << dlerror();
    SignalState loaded;
    if (xDebug::CrashReportBuilt())
        EXPECT_NE(loaded.segv.sa_sigaction, before.segv.sa_sigaction) << "the library installs its crash report";
    else  // the sanitizers keep their own
        EXPECT_EQ(loaded.segv.sa_sigaction, before.segv.sa_sigaction);
    lib.Close();
    if (void* still = dlopen(QEL_EXPORT_LIBRARY, RTLD_NOW | RTLD_NOLOAD)) {
        dlclose(still);
        ADD_FAILURE() << "the library stays loaded after its last dlclose";
    }
    SignalState after;
    EXPECT_TRUE(after == before) << "the signal handler or the alternate stack still points into the library";
}

}  // namespace
