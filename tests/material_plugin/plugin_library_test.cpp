// The CorvaneMtl plug-in library loaded the way a host loads it: dlopen of
// the built file, the entry points found by name, every answer read through
// the host's interfaces, and scene files whose CorvaneMtl materials are
// created through it. This program does not link the plug-in's code.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "host/material.h"
#include "host/texture.h"
#include "sim/plugin_loader.h"
#include "sim/scene_loader.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"
#include "support/temp_dir.h"

namespace {

std::string Text(const char* answer) { return answer ? answer : "<null>"; }

TEST(MaterialPluginLibrary, EntryPointsAnswerTheHost) {
    void* handle = dlopen(QEL_MATERIAL_PLUGIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto* description = reinterpret_cast<const char* (*)()>(dlsym(handle, "LibDescription"));
    auto* number_classes = reinterpret_cast<int (*)()>(dlsym(handle, "LibNumberClasses"));
    auto* class_desc = reinterpret_cast<host::ClassDesc* (*)(int)>(dlsym(handle, "LibClassDesc"));
    auto* version = reinterpret_cast<uint32_t (*)()>(dlsym(handle, "LibVersion"));
    ASSERT_TRUE(description && number_classes && class_desc && version);
    EXPECT_EQ(Text(description()), "Corvane material");
    EXPECT_EQ(number_classes(), 1);
    EXPECT_NE(class_desc(0), nullptr);
    EXPECT_EQ(class_desc(1), nullptr);
    EXPECT_EQ(class_desc(-1), nullptr);
    EXPECT_EQ(version(), 0x2EE02100u);
    // Four entry points and nothing else: not the exporter's fifth, not the
    // plug-in's own code.
    EXPECT_EQ(dlsym(handle, "CanAutoDefer"), nullptr);
    EXPECT_EQ(dlsym(handle, "_ZN7corvane12TheClassDescEv"), nullptr);

    dlclose(handle);
    if (void* still = dlopen(QEL_MATERIAL_PLUGIN_LIBRARY, RTLD_NOW | RTLD_NOLOAD)) {
        dlclose(still);
        ADD_FAILURE() << "the library stays loaded after its last dlclose";
    }
}

TEST(MaterialPluginLibrary, ClassDescriptorAnswersAndCreatesMaterials) {
    std::string error;
    auto library = sim::PluginLibraryFile::Load(QEL_MATERIAL_PLUGIN_LIBRARY, error);
    ASSERT_NE(library, nullptr) << error;
    EXPECT_EQ(Text(library->Entries().description()), "Corvane material");
    ASSERT_EQ(library->Classes().size(), 1u);
    host::ClassDesc* desc = library->Classes()[0];
    EXPECT_TRUE(desc->IsPublic());
    EXPECT_EQ(Text(desc->ClassName()), "CorvaneMtl");
    EXPECT_EQ(Text(desc->InternalName()), "CorvaneMtl");
    EXPECT_EQ(Text(desc->Category()), "material");
    EXPECT_EQ(desc->SuperClassID(), 0xC00u);
    EXPECT_EQ(desc->ClassID(), host::ClassId(0x71CA8543, 0x0C80AD68));
    EXPECT_EQ(desc->NumParamBlockDescs(), 1);
    const host::ParamBlockDesc* block_desc = desc->GetParamBlockDesc(0);
    ASSERT_NE(block_desc, nullptr);
    EXPECT_EQ(block_desc->internalName, "params");
    EXPECT_EQ(block_desc->params.size(), 7u);
    EXPECT_EQ(desc->GetParamBlockDesc(1), nullptr);

    auto scene = sim::SceneFromJson(R"("nodes": [])");
    for (bool loading : {false, true}) {
        std::unique_ptr<host::ReferenceTarget> object = desc->Create(*scene, loading);
        auto* material = dynamic_cast<host::Material*>(object.get());
        ASSERT_NE(material, nullptr);
        EXPECT_EQ(material->ClassID(), desc->ClassID());
        EXPECT_EQ(material->SuperClassID(), host::kMaterialClass);
        host::ParamBlock* block = material->GetParamBlockById(0);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(&block->GetDesc(), block_desc);
        float amount = 0;
        EXPECT_TRUE(block->GetValue(4, 0, amount));
        EXPECT_EQ(amount, 0.5f);
    }
}

TEST(MaterialPluginLibrary, LoaderSaysWhyALibraryDoesNotLoad) {
    qeltest::TempDir dir;
    qeltest::WriteFile(dir / "text.so", "not a library\n");
    // The system's reason follows the text of a library that does not load.
    struct Case {
        std::string path;
        std::string error;
        bool reasonFollows;
    } cases[] = {
        {dir / "missing.so", "cannot load the plug-in library " + dir / "missing.so" + ": ", true},
        {dir / "text.so", "cannot load the plug-in library " + dir / "text.so" + ": ", true},
        // A bare name is the working directory's file, not a system library.
        {"CorvaneMtl.so", "cannot load the plug-in library CorvaneMtl.so: ", true},
        {QEL_NOT_A_PLUGIN_LIBRARY,
         std::string(QEL_NOT_A_PLUGIN_LIBRARY) + " is not a plug-in library: it has no entry point LibDescription", false},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(sim::PluginLibraryFile::Load(c.path, error), nullptr) << c.path;
        if (c.reasonFollows) {
            EXPECT_EQ(error.substr(0, c.error.size()), c.error);
            EXPECT_GT(error.size(), c.error.size()) << error;
        } else {
            EXPECT_EQ(error, c.error);
        }
    }
}

const char* kPluginScene = R"({"format": "qel-scene", "version": 1,
    "textures": {"mask": {"type": "checker", "name": "Mask"}, "env": {"type": "checker", "name": "Env"}},
    "materials": {
        "inner": {"type": "standard", "name": "Inner", "diffuse": [0.2, 0.4, 0.6]},
        "c": {"type": "CorvaneMtl", "name": "Shiny", "material": "inner", "blend": 3, "modulate2x": true,
              "envmap": true, "amount": 0.75, "mask": "mask", "map": "env"}},
    "nodes": [{"name": "a", "material": "c"}]})";

TEST(MaterialPluginLibrary, SceneFileMaterialsAreCreatedThroughThePlugin) {
    std::string error;
    auto library = sim::PluginLibraryFile::Load(QEL_MATERIAL_PLUGIN_LIBRARY, error);
    ASSERT_NE(library, nullptr) << error;
    qeltest::TempDir dir;
    qeltest::WriteFile(dir / "s.qscene.json", kPluginScene);
    sim::LoadOptions options;
    options.plugins = library->Classes();
    auto scene = sim::LoadSceneFile(dir / "s.qscene.json", options);

    host::Material* material = scene->GetRootNode()->GetChildNode(0)->GetMtl();
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->ClassID(), host::ClassId(0x71CA8543, 0x0C80AD68));
    EXPECT_EQ(material->GetName(), "Shiny");
    host::ParamBlock* block = material->GetParamBlockById(0);
    ASSERT_NE(block, nullptr);
    int blend = 0, modulate = 0, envmap = 0;
    float amount = 0;
    host::Material* sub = nullptr;
    host::Texture *mask = nullptr, *map = nullptr;
    ASSERT_TRUE(block->GetValue(1, 0, blend) && block->GetValue(2, 0, modulate) && block->GetValue(3, 0, envmap) &&
                block->GetValue(4, 0, amount) && block->GetValue(0, 0, sub) && block->GetValue(5, 0, mask) &&
                block->GetValue(6, 0, map));
    EXPECT_EQ((std::vector<int>{blend, modulate, envmap}), (std::vector<int>{3, 1, 1}));
    EXPECT_EQ(amount, 0.75f);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->GetName(), "Inner");
    EXPECT_EQ(material->GetSubMtl(0), sub);
    ASSERT_NE(mask, nullptr);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(material->GetSubTexmap(-2), mask);
    EXPECT_EQ(material->GetSubTexmap(-3), map);
    EXPECT_EQ(mask->GetName(), "Mask");
    EXPECT_EQ(map->GetName(), "Env");
    EXPECT_EQ(material->GetDiffuse(0), host::Color(0.2f, 0.4f, 0.6f)) << "it renders as its sub-material";
    EXPECT_TRUE(qeltest::Boxes(*scene).empty());
}

TEST(MaterialPluginLibrary, SceneFileErrorsOfPluginMaterials) {
    std::string error;
    auto library = sim::PluginLibraryFile::Load(QEL_MATERIAL_PLUGIN_LIBRARY, error);
    ASSERT_NE(library, nullptr) << error;
    sim::LoadOptions with_plugin;
    with_plugin.plugins = library->Classes();
    sim::LoadOptions without_plugin;
    without_plugin.missingPluginReason = "cannot load the plug-in library x.so: gone";
    struct Case {
        const char* what;
        const char* members;
        const sim::LoadOptions* options;
        const char* pointer;
        const char* reason;
    } cases[] = {
        {"a multi/sub-object sub-material",
         R"("materials": {"m": {"type": "multi", "materials": []}, "c": {"type": "CorvaneMtl", "material": "m"}},
            "nodes": [{"name": "a", "material": "c"}])",
         &with_plugin, "/materials/c/material", "the plug-in material refused the value"},
        {"no plug-in loaded", R"("materials": {"c": {"type": "CorvaneMtl"}}, "nodes": [{"name": "a", "material": "c"}])",
         &without_plugin, "/materials/c/type",
         "the material class CorvaneMtl is not available: its plug-in is not loaded (cannot load the plug-in library "
         "x.so: gone)"},
    };
    for (const Case& c : cases) {
        try {
            sim::SceneFromJson(c.members, *c.options);
            ADD_FAILURE() << c.what;
        } catch (const sim::LoadError& e) {
            EXPECT_EQ(e.Pointer(), c.pointer) << c.what;
            EXPECT_EQ(e.Reason(), c.reason) << c.what;
        }
    }
}

}  // namespace
