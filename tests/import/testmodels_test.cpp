// Every FBX and glTF file of Debian's assimp-testmodels package imported, each
// in a child process of its own with a time limit, so that a crash or a hang
// fails the test naming the file. The per-file outcome (what was imported,
// or why it was refused) is printed, and written to the file named by
// QEL_TESTMODELS_REPORT when that is set. Skipped when the package is absent;
// QEL_TESTMODELS_DIR names another folder of models.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "import/import_file.h"
#include "sim/objects.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned kSecondsPerFile = 120;  // generous: the sanitizer build is slow

// One line about an imported scene.
std::string Summary(const import::ImportResult& result) {
    const sim::Scene& scene = *result.scene;
    size_t meshes = 0, faces = 0, skins = 0, lights = 0, cameras = 0;
    for (const sim::SimNode* node : scene.Nodes()) {
        const host::Object* object = const_cast<sim::SimNode*>(node)->GetObjectRef();
        if (const auto* mesh = dynamic_cast<const sim::MeshObject*>(object)) ++meshes, faces += mesh->Mesh().faces.size();
        if (object && object->SuperClassID() == host::kLightClass) ++lights;
        if (object && object->SuperClassID() == host::kCameraClass) ++cameras;
        if (node->GetSkin()) ++skins;
    }
    const host::Interval range = scene.GetAnimRange();
    std::string line = "imported: " + std::to_string(scene.Nodes().size()) + " nodes, " + std::to_string(meshes) + " meshes, " +
                       std::to_string(faces) + " triangles, " + std::to_string(skins) + " skins, " + std::to_string(cameras) +
                       " cameras, " + std::to_string(lights) + " lights, frames " + std::to_string(range.Start() / 160) + "-" +
                       std::to_string(range.End() / 160);
    for (const std::string& warning : result.warnings) line += "\n    warning: " + warning;
    return line;
}

// Imports path in a child process; the outcome line, or what ended the child.
std::string ImportInChild(const std::string& path) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return "crashed: no pipe";
    std::cout.flush();
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipe_ends[0]);
        alarm(kSecondsPerFile);
        std::string line;
        try {
            line = Summary(import::ImportFile(path));
        } catch (const import::ImportError& e) {
            line = std::string("refused: ") + e.what();
        } catch (const std::exception& e) {
            line = std::string("failed: another exception: ") + e.what();
        }
        const char* at = line.data();
        size_t left = line.size();
        while (left > 0) {
            const ssize_t written = write(pipe_ends[1], at, left);
            if (written <= 0) break;
            at += written, left -= size_t(written);
        }
        _exit(0);
    }
    close(pipe_ends[1]);
    std::string line;
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipe_ends[0], buffer, sizeof buffer)) > 0) line.append(buffer, size_t(got));
    close(pipe_ends[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGALRM ? "hung: still importing after " + std::to_string(kSecondsPerFile) + " s"
                                           : "crashed: signal " + std::to_string(WTERMSIG(status));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "crashed: exit status " + std::to_string(WEXITSTATUS(status));
    return line;
}

TEST(TestModels, EveryFbxAndGltfFileImportsOrIsRefusedWithAReason) {
    const char* override_dir = std::getenv("QEL_TESTMODELS_DIR");
    const fs::path root = override_dir ? override_dir : "/usr/share/assimp/models";
    std::error_code error;
    if (!fs::is_directory(root, error)) GTEST_SKIP() << root << " is absent (Debian package assimp-testmodels)";
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root, error))
        if (entry.is_regular_file() && import::IsInterchangeFile(entry.path().string())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    std::string report;
    size_t imported = 0;
    for (const fs::path& file : files) {
        const std::string outcome = ImportInChild(file.string());
        report += fs::relative(file, root).string() + ": " + outcome + "\n";
        EXPECT_TRUE(outcome.rfind("imported: ", 0) == 0 || outcome.rfind("refused: ", 0) == 0) << file << ": " << outcome;
        if (outcome.rfind("refused: ", 0) == 0) {
            EXPECT_GT(outcome.size(), std::string("refused: ").size()) << file;
        }
        imported += outcome.rfind("imported: ", 0) == 0;
    }
    std::cout << report;
    if (const char* path = std::getenv("QEL_TESTMODELS_REPORT")) std::ofstream(path) << report;
    // The package holds mostly sound files: most of them must come in.
    EXPECT_GT(imported, files.size() / 2) << report;
}

}  // namespace
