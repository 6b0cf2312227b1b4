// What qelexport does with the files around an export: targets that are no
// regular file, links planted in the output tree, a configuration path that
// names the scene, a report or log that cannot be written, and two exports
// writing one tree at the same time.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "base/debug.h"
#include "io/sdl_reader.h"
#include "support/raised.h"
#include "workspace.h"

namespace {

namespace fs = std::filesystem;
using qeltest::Outcome;
using qeltest::ReadFile;
using qeltest::Strings;
using qeltest::Workspace;

const char* kTank = R"("nodes": [{"name": "Tank", "props": "Model=units/tank\r\n", "children": [{"name": "turret"}]}])";

bool Holds(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

// A silent export of the tank scene in a fresh workspace, with more flags.
Outcome ExportTank(Workspace& ws, const Strings& flags) {
    ws.Scene("tank.qscene.json", kTank);
    Strings args{"tank.qscene.json", "--no-prompts", "--config", "cfg.bin"};
    args.insert(args.end(), flags.begin(), flags.end());
    return ws.Run(args);
}

TEST(QelexportFiles, ReportOrLogThatCannotBeWrittenFailsTheRun) {
    struct Case {
        Strings args;
        const char* err;
    } cases[] = {
        {{"--report", "/dev/full"}, "qelexport: cannot write the report /dev/full: No space left on device\n"},
        {{"--report", "missing/report.json"},
         "qelexport: cannot write the report missing/report.json: No such file or directory\n"},
        {{"--log", "/dev/full"}, "qelexport: cannot write the log /dev/full: No space left on device\n"},
        {{"--log", "missing/log.txt"}, "qelexport: cannot open the log missing/log.txt: No such file or directory\n"},
    };
    for (const Case& c : cases) {
        Workspace ws;
        Outcome o = ExportTank(ws, c.args);
        EXPECT_EQ(o.exitCode, 2) << c.err;
        EXPECT_EQ(o.err, c.err);
    }
    // A log that can be written says which export it belongs to.
    Workspace ws;
    Outcome o = ExportTank(ws, {"--log", "run.log"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(ReadFile(ws / "run.log"), "[INFO] qelexport: export of tank.qscene.json\n");
}

TEST(QelexportFiles, NoPromptsNamesEveryIgnoredFlag) {
    struct Case {
        Strings flags;
        const char* named;  // "" when no warning is due
    } cases[] = {
        {{"--no-ik", "--geometry"}, "--no-ik --geometry"},
        {{"--static-frame", "2", "--common-texture-source", "d:/t", "--no-current-range-only", "--mesh",
          "--game-path", "d:/g"},
         "--game-path --common-texture-source --mesh --no-current-range-only --static-frame"},
        {{"--lights-cameras", "--no-reverse-animation", "--selected-only", "--no-animation",
          "--common-texture-game-path", "t"},
         "--common-texture-game-path --no-animation --lights-cameras --no-reverse-animation --selected-only"},
        {{"--export-selected"}, ""},
    };
    for (const Case& c : cases) {
        Workspace ws;
        Outcome o = ExportTank(ws, c.flags);
        EXPECT_EQ(o.exitCode, 0) << o.err;
        std::string expected = *c.named ? std::string("qelexport: with --no-prompts the option flags are ignored (") +
                                              c.named + "); every option takes its default\n"
                                        : "";
        EXPECT_EQ(o.err, expected);
    }
}

// Saving the options must not replace the scene, a device, a pipe or a
// read-only file; the export itself goes on.
TEST(QelexportFiles, ConfigurationPathThatMustNotBeReplaced) {
    Workspace ws;
    ws.Scene("tank.qscene.json", kTank);
    std::string scene = ReadFile(ws / "tank.qscene.json");
    for (const char* spelling : {"tank.qscene.json", "./tank.qscene.json"}) {
        Outcome o = ws.Run({"tank.qscene.json", "--no-prompts", "--config", spelling});
        EXPECT_EQ(o.exitCode, 2);
        EXPECT_EQ(o.err, "qelexport: --config names the scene file tank.qscene.json; the options would replace it\n");
        EXPECT_EQ(ReadFile(ws / "tank.qscene.json"), scene);
        EXPECT_FALSE(fs::exists(ws / "out"));
    }

    ASSERT_EQ(mkfifo((ws / "pipe").c_str(), 0666), 0);
    qeltest::WriteFile(ws / "readonly.cfg", "stored");
    ASSERT_EQ(chmod((ws / "readonly.cfg").c_str(), 0444), 0);
    bool have_device = mknod((ws / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    for (const char* config : {"pipe", "device", "readonly.cfg"}) {
        if (std::string(config) == "device" && !have_device) continue;  // no right to make device nodes here
        // With prompts the configuration is read first: a pipe reads as empty
        // instead of waiting for a writer. None of them is a configuration file.
        Outcome o = ws.Run({"tank.qscene.json", "--config", config});
        EXPECT_EQ(o.exitCode, 0) << config << "\n" << o.err;
        EXPECT_EQ(o.err, std::string("warning: Предупреждение: Файл '") + config +
                             "' не является файлом настроек экспортера.\n  Настройки в нем не сохраняются.\n");
        EXPECT_TRUE(qeltest::Exists(ws / "out/units/tank/tank.mdl"));
    }
    // A configuration file that nobody may write is read, and refused by the
    // file stream when the options are saved.
    ASSERT_EQ(ws.Run({"tank.qscene.json", "--config", "valid.cfg"}).exitCode, 0);
    ASSERT_EQ(chmod((ws / "valid.cfg").c_str(), 0444), 0);
    std::string valid = ReadFile(ws / "valid.cfg");
    Outcome o = ws.Run({"tank.qscene.json", "--config", "valid.cfg"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.err, "qelexport: will not replace valid.cfg: it is a read-only file\n");
    EXPECT_EQ(ReadFile(ws / "valid.cfg"), valid);
    struct stat st;
    ASSERT_EQ(lstat((ws / "pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(stat((ws / "readonly.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(ReadFile(ws / "readonly.cfg"), "stored");
    if (have_device) {
        ASSERT_EQ(lstat((ws / "device").c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

// Links planted in the output tree are never written through: at the names
// temporary files had or may have, the export goes on beside them; at the
// target itself, the model is refused with the system's view on standard
// error and the core library's message in the error box.
TEST(QelexportFiles, NoWriteFollowsALinkInTheOutputTree) {
    Workspace ws;
    ws.Scene("tank.qscene.json", kTank);
    fs::create_directories(ws / "out/units/tank");
    fs::create_directories(ws / "outside");
    qeltest::WriteFile(ws / "outside/victim", "intact");
    fs::create_symlink(ws / "outside/victim", ws / "out/units/tank/tank.mdl.tmp");
    fs::create_symlink(ws / "outside/made", ws / "out/units/tank/tank.def.tmp");
    Outcome o = ws.Run({"tank.qscene.json", "--no-prompts", "--config", "cfg.bin"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_TRUE(Holds(ReadFile(ws / "out/units/tank/tank.mdl"), "{bone \"turret\""));
    EXPECT_EQ(ReadFile(ws / "outside/victim"), "intact");
    EXPECT_FALSE(fs::exists(ws / "outside/made"));

    fs::remove(ws / "out/units/tank/tank.mdl");
    fs::create_symlink(ws / "outside/victim", ws / "out/units/tank/tank.mdl");
    o = ws.Run({"tank.qscene.json", "--no-prompts", "--config", "cfg.bin"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(Holds(o.err, "qelexport: will not replace out/units/tank/tank.mdl: it is a link, not a regular file\n"))
        << o.err;
    EXPECT_TRUE(Holds(o.err, "error: Ошибка: Модель 'Tank' не экспортирована:\n  d:/thegame/units/tank/tank.mdl - open error!"))
        << o.err;
    EXPECT_TRUE(fs::is_symlink(ws / "out/units/tank/tank.mdl"));
    EXPECT_EQ(ReadFile(ws / "outside/victim"), "intact");

    // A file where the model's folder belongs: the local path and the
    // system's reason beside the core library's message.
    fs::remove_all(ws / "out/units/tank");
    qeltest::WriteFile(ws / "out/units/tank", "in the way");
    o = ws.Run({"tank.qscene.json", "--no-prompts", "--config", "cfg.bin"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(Holds(o.err, "qelexport: cannot create the temporary file out/units/tank/tank.mdl.")) << o.err;
    EXPECT_TRUE(Holds(o.err, ".tmp for out/units/tank/tank.mdl: Not a directory\n")) << o.err;
}

// Bones named <prefix>_0 .. <prefix>_<count - 1> under one model root.
std::string ManyBones(const std::string& prefix, int count) {
    std::string children;
    for (int i = 0; i < count; ++i) children += (i ? ",{\"name\":\"" : "{\"name\":\"") + prefix + "_" + std::to_string(i) + "\"}";
    return R"("file": "d:/art/)" + prefix + R"(.max", "nodes": [{"name": "Tank", "props": "Model=units/tank\r\n",
        "children": [)" + children + "]}]";
}

// The bone names of an SDL file read through the reader; the prefix every
// one of them has, or "" when they are mixed or the file does not parse.
std::string OwnerOfBones(const std::string& text, size_t& bones) {
    bones = 0;
    std::string owner;
    bool mixed = false;
    std::string error = qeltest::RaisedMessage([&] {
        xIo::xSdl::eReader reader;
        reader.OpenText("file", text);
        for (const xIo::xSdl::eToken* t = &reader.Next(); t->type != xIo::xSdl::kTokenEnd; t = &reader.Next()) {
            if (t->type != xIo::xSdl::kTokenString || t->text.find('_') == std::string::npos) continue;
            std::string prefix = t->text.substr(0, t->text.find('_'));
            if (!owner.empty() && prefix != owner) mixed = true;
            owner = prefix;
            ++bones;
        }
    });
    return error.empty() && !mixed ? owner : std::string();
}

// Two exports of different scenes into one tree at the same time: each file
// is whole and from one of them, and no temporary file is left.
TEST(QelexportFiles, TwoExportsIntoOneTreeAtOnceLeaveWholeFiles) {
    constexpr int kBones = 1500;  // long enough for the runs to overlap
    constexpr int kRounds = 4;
    Workspace ws;
    ws.Scene("alpha.qscene.json", ManyBones("alpha", kBones));
    ws.Scene("beta.qscene.json", ManyBones("beta", kBones));
    for (int round = 0; round < kRounds; ++round) {
        pid_t alpha = ws.Start({"alpha.qscene.json", "--no-prompts", "--config", "cfg.bin"}, "alpha");
        pid_t beta = ws.Start({"beta.qscene.json", "--no-prompts", "--config", "cfg.bin"}, "beta");
        Outcome a = ws.Finish(alpha, "alpha");
        Outcome b = ws.Finish(beta, "beta");
        EXPECT_EQ(a.exitCode, 0) << a.err;
        EXPECT_EQ(b.exitCode, 0) << b.err;
        EXPECT_EQ(a.err + b.err, "");
        for (const std::string& file : qeltest::FilesUnder(ws / "out")) {
            std::string text = ReadFile(ws / ("out/" + file));
            EXPECT_FALSE(file.ends_with(".tmp")) << file;
            EXPECT_EQ(qeltest::RaisedMessage([&] {
                          xIo::xSdl::eReader reader;
                          reader.OpenText(file, text);
                          while (!reader.AtEnd()) reader.Next();
                      }),
                      "")
                << file;
            if (!file.ends_with(".mdl")) continue;
            size_t bones = 0;
            std::string owner = OwnerOfBones(text, bones);
            ASSERT_TRUE(owner == "alpha" || owner == "beta") << "round " << round << ": " << file << " is mixed";
            EXPECT_EQ(bones, size_t{kBones}) << file;
            EXPECT_TRUE(Holds(text, "d:/art/" + owner + ".max")) << file;
        }
    }
}

}  // namespace

namespace {

// The run is given up while its bones are written: once the model's folder
// exists, the walk over many bones is under way.
TEST(QelexportFiles, AnInterruptGivesUpTheModelBeingWritten) {
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
        Workspace ws;
        ws.Scene("big.qscene.json", ManyBones("big", 30000));
        fs::create_directories(ws / "out/units");
        pid_t pid = ws.Start({"big.qscene.json", "--no-prompts", "--report", "report.json"});
        for (int waited = 0; waited < 60000 && !fs::exists(ws / "out/units/tank"); ++waited) usleep(1000);
        ASSERT_TRUE(fs::exists(ws / "out/units/tank")) << "the export never began";
        kill(pid, signal_number);
        Outcome o = ws.Finish(pid);
        EXPECT_EQ(o.exitCode, 128 + signal_number) << o.err;
        EXPECT_TRUE(Holds(o.err, "qelexport: cancelled\n")) << o.err;
        // No file of the model, no temporary file, and its folder is gone again.
        EXPECT_FALSE(fs::exists(ws / "out/units/tank")) << signal_number;
        nlohmann::json report = nlohmann::json::parse(ReadFile(ws / "report.json"));
        EXPECT_EQ(report["cancelled"], true);
        EXPECT_EQ(report["models"]["exported"], nlohmann::json::array());
    }
}

TEST(QelexportFiles, AFileSizeLimitIsAWriteErrorOfThatFile) {
    Workspace ws;
    ws.Scene("big.qscene.json", ManyBones("big", 2000));
    fs::create_directories(ws / "out/units/tank");
    qeltest::WriteFile(ws / "out/units/tank/tank.mdl", "previous");
    // 8 blocks of 512 bytes: far less than the model description needs.
    Outcome o = ws.RunProgram("/bin/sh", {"-c", std::string("ulimit -f 8; exec ") + QELEXPORT_BINARY +
                                                    " big.qscene.json --no-prompts"});
    EXPECT_EQ(o.exitCode, 1) << o.err;
    EXPECT_TRUE(Holds(o.err, "write error")) << o.err;
    EXPECT_EQ(ReadFile(ws / "out/units/tank/tank.mdl"), "previous");
    EXPECT_EQ(qeltest::FilesUnder(ws / "out"), (Strings{"units/tank/tank.mdl"}));
}

}  // namespace

namespace {

TEST(QelexportFiles, AConfigurationOnAnUnmappedDriveIsRefused) {
    Workspace ws;
    ws.Scene("tank.qscene.json", kTank);
    for (const Strings& extra : {Strings{}, Strings{"--no-prompts"}}) {
        Strings args{"tank.qscene.json", "--config", "x:/settings/QELEXPORT.CFG"};
        args.insert(args.end(), extra.begin(), extra.end());
        Outcome o = ws.Run(args);
        EXPECT_EQ(o.exitCode, 2);
        EXPECT_EQ(o.err, "qelexport: --config x:/settings/QELEXPORT.CFG: no folder of this machine serves that host "
                         "path (add a --map)\n");
        EXPECT_FALSE(fs::exists(ws / "out"));
    }
    Outcome mapped = ws.Run({"tank.qscene.json", "--config", "x:/settings/QELEXPORT.CFG", "--map", "x:/=xdrive"});
    EXPECT_EQ(mapped.exitCode, 0) << mapped.err;
    EXPECT_TRUE(qeltest::Exists(ws / "xdrive/settings/QELEXPORT.CFG"));
}

}  // namespace
