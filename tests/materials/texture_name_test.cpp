// Texture names and destinations asked directly, and the material pass over
// a model's groups: its progress, its cancel and the partitions it skips.
#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "geometry/model_meshes.h"
#include "materials/material_writer.h"
#include "materials/texture_name.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

using materials::TextureName;

const materials::TexturePaths kDefaults{"d:/thegame/", "d:/-projects-/-bitmaps-/", "texture/common/",
                                        "d:/thegame/units/tank"};

TEST(TextureNames, StoredNamesAndExtensions) {
    struct Case {
        const char* name;
        const char* stored;
        const char* as_dds;
    } cases[] = {
        {"wall.tga", "wall", "wall.dds"},
        {"$/stone/wall.tga", "$/stone/wall", "$/stone/wall.dds"},
        {"tex3_0", "tex3_0", "tex3_0.dds"},
        {"$/st.one/wall", "$/st.one/wall", "$/st.one/wall.dds"},  // a dot in a folder is no extension
        {"a.b.tga", "a.b", "a.b.dds"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(materials::StoredName(c.name), c.stored) << c.name;
        EXPECT_EQ(materials::WithExtension(c.name, ".dds"), c.as_dds) << c.name;
    }
    EXPECT_EQ(materials::GeneratedName(3, 0, ""), "tex3_0");
    EXPECT_EQ(materials::GeneratedName(12, 2, ".dds"), "tex12_2.dds");
    for (const char* file : {"a.bmp", "A.TGA", "d:/x/b.Dds"}) EXPECT_TRUE(materials::IsEngineFormat(file)) << file;
    for (const char* file : {"a.png", "a.tga.png", "a.bmpx", "tga"}) EXPECT_FALSE(materials::IsEngineFormat(file)) << file;
}

class NamedTextures : public testing::Test {
protected:
    void SetUp() override {
        scene_ = sim::SceneFromJson(R"(
            "textures": {
                "wall": {"type": "bitmap", "file": "d:/-projects-/-bitmaps-/stone/wall.tga"},
                "upper": {"type": "bitmap", "file": "D:\\-Projects-\\-Bitmaps-\\Stone\\Moss.TGA"},
                "photo": {"type": "bitmap", "file": "d:/-projects-/-bitmaps-/stone/photo.jpeg"},
                "own": {"type": "bitmap", "file": "d:/art/tank/hull.bmp"},
                "nofile": {"type": "bitmap"},
                "checker": {"type": "checker"},
                "normal": {"type": "normalBump", "normal": "wallnormal"},
                "wallnormal": {"type": "bitmap", "file": "d:/-projects-/-bitmaps-/stone/wall_n.tga"}},
            "materials": {"m": {"type": "standard", "name": "M",
                                "maps": {"diffuse": {"texture": "wall"}, "bump": {"texture": "normal", "amount": 30}}}},
            "nodes": [{"name": "a", "material": "m"}])");
        material_ = scene_->GetRootNode()->GetChildNode(0)->GetMtl();
    }

    TextureName Name(const char* id, int layer = 0, int group = 2, const materials::TexturePaths& paths = kDefaults) {
        scene::Reporter report(*scene_);
        const host::Texture* texture = Texture(id);
        return materials::NameTexture(paths, material_, *texture, layer, group, "", report);
    }

    const host::Texture* Texture(const std::string& id) { return scene_->FileTables().textures.at(id); }

    std::unique_ptr<sim::Scene> scene_;
    host::Material* material_ = nullptr;
};

TEST_F(NamedTextures, FilesGiveSharedOrOwnNamesAndMapsWithoutFilesGeneratedOnes) {
    struct Case {
        const char* texture;
        const char* name;
        bool shared;
        const char* destination;
    } cases[] = {
        {"wall", "$/stone/wall.tga", true, "d:/thegame/texture/common/stone/wall.tga"},
        {"upper", "$/stone/moss.tga", true, "d:/thegame/texture/common/stone/moss.tga"},
        // Not a format the engine reads: the stem, which names no folder.
        {"photo", "photo", false, "d:/thegame/units/tank/photo"},
        {"own", "hull.bmp", false, "d:/thegame/units/tank/hull.bmp"},
        {"nofile", "tex2_1", false, "d:/thegame/units/tank/tex2_1"},
        {"checker", "tex2_1", false, "d:/thegame/units/tank/tex2_1"},
        // The material's bump map is named by its normal map's stem.
        {"normal", "wall_n", false, "d:/thegame/units/tank/wall_n"},
    };
    for (const Case& c : cases) {
        const TextureName name = Name(c.texture, 1);
        EXPECT_EQ(name.name, c.name) << c.texture;
        EXPECT_EQ(name.shared, c.shared) << c.texture;
        EXPECT_EQ(materials::DestinationPath(kDefaults, name), c.destination) << c.texture;
    }
    EXPECT_TRUE(qeltest::Boxes(*scene_).empty());
}

TEST_F(NamedTextures, ASharedRemainderThatLeavesTheFolderGetsTheGeneratedName) {
    // With an empty source folder every file is "shared", and its remainder
    // is a whole path with a drive: refused as well.
    materials::TexturePaths empty_source = kDefaults;
    empty_source.commonTextureSourcePath.clear();
    const TextureName name = Name("wall", 0, 4, empty_source);
    EXPECT_EQ(name.name, "tex4_0");
    EXPECT_FALSE(name.shared);
    EXPECT_EQ(name.file, "d:/-projects-/-bitmaps-/stone/wall.tga");
    EXPECT_EQ(qeltest::Boxes(*scene_),
              std::vector<std::string>{"E|Ошибка|Общая текстура 'd:/-projects-/-bitmaps-/stone/wall.tga' лежит вне "
                                       "папки общих текстур ''.\nИспользуется имя 'tex4_0'."});
}

TEST(MaterialPass, ItSkipsOtherPartitionsAndStopsAtACancel) {
    auto scene = sim::SceneFromJson(R"(
        "materials": {"a": {"type": "standard", "name": "A"}, "b": {"type": "standard", "name": "B"},
                      "c": {"type": "standard", "name": "C"}},
        "nodes": [{"name": "a", "material": "a"}, {"name": "b", "material": "b"}, {"name": "c", "material": "c"}])");
    geometry::ModelMeshes meshes(1);
    for (int i = 0; i < 3; ++i) {
        bool added = false;
        const uint32_t number = meshes.MaterialNumber(*scene->GetRootNode()->GetChildNode(i)->GetMtl(), added);
        meshes.Group(number, 0);
        meshes.Group(number, 1);  // a second skin partition writes no second record
    }
    scene::Reporter report(*scene);
    materials::MaterialSettings settings{*scene, report, "d:/thegame/", "d:/-projects-/-bitmaps-/", "texture/common/"};

    materials::MaterialList all;
    materials::WriteModelMaterials(settings, meshes, "d:/thegame/x", all);
    ASSERT_EQ(all.Records().size(), 3u);
    EXPECT_EQ(all.Records()[2].name, "c");
    std::vector<std::string> titles;
    std::vector<int> percents;
    for (const sim::ProgressRecord& r : scene->Record().progress) {
        if (r.kind == sim::ProgressRecord::kTitle) titles.push_back(Cp1251ToUtf8(r.title));
        if (r.kind == sim::ProgressRecord::kUpdate) percents.push_back(r.percent);
    }
    EXPECT_EQ(titles, std::vector<std::string>{"Запись текстур..."});
    EXPECT_EQ(percents, (std::vector<int>{16, 33, 50}));  // 100 / 6 groups each

    scene->ProgressScript().CancelAfterPolls(scene->ProgressScript().Polls() + 1);
    materials::MaterialList cut;
    materials::WriteModelMaterials(settings, meshes, "d:/thegame/x", cut);
    ASSERT_EQ(cut.Records().size(), 1u);
    EXPECT_EQ(cut.Records()[0].name, "a");
}

}  // namespace
