// The layer order of the source tree, and the check itself on planted
// includes that break it.
#include "layers/layer_check.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST(Layers, TheSourceTreeKeepsTheLayerOrder) {
    std::vector<layers::Violation> violations = layers::CheckTree(QEL_SOURCE_DIR);
    EXPECT_TRUE(violations.empty()) << layers::Describe(violations);
}

void Plant(const fs::path& root, const std::string& file, const std::string& text) {
    fs::create_directories((root / file).parent_path());
    std::ofstream(root / file) << text;
}

TEST(Layers, PlantedIncludesThatBreakTheOrderAreFound) {
    struct Case {
        const char* file;
        const char* text;
        const char* reason;  // empty: allowed
    };
    const Case cases[] = {
        {"src/model/up.cpp", "#include \"export/model_export.h\"\n", "'model' may not include 'export'"},
        {"src/scene/up.h", "  #  include \"model/bone_writer.h\"\n", "'scene' may not include 'model'"},
        {"src/geometry/side.cpp", "#include \"animation/animation_file.h\"\n", "'geometry' may not include 'animation'"},
        {"src/export/sim.cpp", "#include \"sim/scene.h\"\n", "'export' may not include 'sim'"},
        {"src/material_plugin/m.cpp", "#include \"scene/report.h\"\n", "'material_plugin' may not include 'scene'"},
        {"src/texture_tools/t.cpp", "#include \"host/texture.h\"\n", "'texture_tools' may not include 'host'"},
        {"src/newlib/n.cpp", "#include \"base/format.h\"\n", "the folder 'newlib' is not in the layer order"},
        {"src/export/stat.cpp", "#include <sys/stat.h>\n", "system calls belong in the platform files"},
        {"src/scene/dl.cpp", "#include <dlfcn.h>\n", "system calls belong in the platform files"},
        {"src/base/platform_other.cpp", "#include <unistd.h>\n", ""},
        {"src/materials/ok.cpp", "#include \"texture_tools/dds_writer.h\"\n#include <vector>\n", ""},
        {"src/volumes/ok.cpp", "#include \"model/transform_writer.h\"\n", ""},
        {"src/import/ok.cpp", "#include \"sim/scene.h\"\n", ""},
        {"apps/tool/main.cpp", "#include \"sim/scene.h\"\n#include \"export/export_plugin.h\"\n#include <signal.h>\n",
         ""},
        {"src/scene/local.cpp", "#include \"local.h\"\n", ""},
    };
    for (const Case& c : cases) {
        qeltest::TempDir dir;
        Plant(dir.path(), c.file, c.text);
        std::vector<layers::Violation> found = layers::CheckTree(dir.path());
        if (*c.reason == 0) {
            EXPECT_TRUE(found.empty()) << c.file << "\n" << layers::Describe(found);
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << c.file << "\n" << layers::Describe(found);
        EXPECT_EQ(found[0].file, c.file);
        EXPECT_EQ(found[0].line, 1);
        EXPECT_EQ(found[0].reason, c.reason);
    }
}

TEST(Layers, ViolationsNameFileLineAndInclude) {
    qeltest::TempDir dir;
    Plant(dir.path(), "src/io/a.cpp", "// io\n\n#include \"io/name.h\"\n#include \"scene/paths.h\"\n");
    EXPECT_EQ(layers::Describe(layers::CheckTree(dir.path())),
              "src/io/a.cpp:4: #include \"scene/paths.h\": 'io' may not include 'scene'\n");
}

}  // namespace
