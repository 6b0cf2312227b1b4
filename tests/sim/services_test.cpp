#include <gtest/gtest.h>

#include "base/debug.h"
#include "host/material.h"
#include "host/object.h"
#include "io/path_map.h"
#include "sim/materials.h"
#include "sim/plugin_support.h"
#include "sim/plugin_material.h"
#include "sim/test_scene.h"
#include "support/temp_dir.h"

namespace {

using simtest::PluginClass;
using simtest::PluginMaterial;

TEST(PathMapTest, LongestPrefixWinsIgnoringCaseAndSlashes) {
    sim::PathMap map;
    map.Add("d:/-projects-/", "/art");
    map.Add("D:\\-Projects-\\-Bitmaps-\\", "/srv/Bitmaps");
    map.Add("d:/thegame/", "out/thegame/");
    struct Case {
        const char* host;
        const char* local;
    } cases[] = {
        {"d:/-projects-/-bitmaps-/stone/wall.tga", "/srv/Bitmaps/stone/wall.tga"},
        {"D:\\-PROJECTS-\\-bitmaps-\\Stone\\Wall.tga", "/srv/Bitmaps/Stone/Wall.tga"},
        {"d:/-projects-/units/tank.max", "/art/units/tank.max"},
        {"d:/thegame/\xF2\xE0\xED\xEA.mdl", "out/thegame/\xD1\x82\xD0\xB0\xD0\xBD\xD0\xBA.mdl"},  // танк
        {"relative/file.txt", "relative/file.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(map.Map(c.host), c.local) << c.host;
    map.Add("d:/THEGAME/", "elsewhere");
    EXPECT_EQ(map.Map("d:/thegame/a"), "elsewhere/a");
}

TEST(PathMapTest, UnmatchedDrivePathIsRefusedThroughTheErrorChannel) {
    sim::PathMap map;
    map.Add("d:/thegame/", "out");
    map.Install();
    xDebug::eExceptionMode mode(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        xIo::LocalPath("e:/elsewhere/file.tga");
        ADD_FAILURE();
    } catch (const xDebug::eEx_Custom& error) {
        EXPECT_NE(error.message.find("e:/elsewhere/file.tga"), std::string::npos) << error.message;
    }
    EXPECT_EQ(xIo::LocalPath("d:/thegame/x"), "out/x");
    sim::PathMap::Uninstall();
    EXPECT_EQ(xIo::LocalPath("e:/x"), "e:/x");
}

TEST(SceneServicesTest, ScenePathsAreRelativeToTheSceneFile) {
    qeltest::TempDir dir;
    qeltest::WriteFile(dir / "s.qscene.json",
                       R"({"format": "qel-scene", "version": 1, "paths": {"d:/-bitmaps-/": "maps"}, "nodes": []})");
    auto scene = sim::LoadSceneFile(dir / "s.qscene.json");
    EXPECT_EQ(scene->Paths().Map("d:/-bitmaps-/a.tga"), dir / "maps/a.tga");
    EXPECT_THROW(sim::LoadSceneFile(dir / "missing.json"), sim::LoadError);
}

TEST(SceneServicesTest, RecorderKeepsBoxesProgressPanelAndRender) {
    auto scene = sim::SceneFromJson(R"("objects": {"o": {"type": "helper"}}, "nodes": [{"name": "a", "object": "o"}])");
    scene->BoxAnswers().push_back(host::MessageBoxResult::kNo);
    EXPECT_EQ(scene->ShowMessageBox({scene->GetMainWindow(), "text", "caption", host::MessageBoxIcon::kError,
                                     host::MessageBoxButtons::kYesNo}),
              host::MessageBoxResult::kNo);
    EXPECT_EQ(scene->ShowMessageBox({nullptr, "t2", "c2", host::MessageBoxIcon::kWarning, host::MessageBoxButtons::kOk}),
              host::MessageBoxResult::kOk);
    const auto& boxes = scene->Record().boxes;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "caption");
    EXPECT_EQ(boxes[0].icon, host::MessageBoxIcon::kError);
    EXPECT_TRUE(boxes[0].ownedByHostWindow);
    EXPECT_FALSE(boxes[1].hadOwner);

    scene->SetCommandPanelTaskMode(host::kPanelUtility);
    scene->SetCommandPanelTaskMode(host::kPanelModify);
    EXPECT_EQ(scene->Record().panelModes, (std::vector<int>{6, 2}));

    host::Object* object = scene->GetRootNode()->GetChildNode(0)->GetObjectRef();
    object->RenderBegin(160);
    object->RenderEnd(160);
    ASSERT_EQ(scene->Record().render.size(), 2u);
    EXPECT_EQ(scene->Record().render[0].label, "o");
    EXPECT_TRUE(scene->Record().render[0].begin);
    EXPECT_FALSE(scene->Record().render[1].begin);
}

TEST(SceneServicesTest, ScriptedCancelAnswersTrueAfterNPolls) {
    auto scene = sim::SceneFromJson(R"("nodes": [])");
    scene->ProgressScript().CancelAfterPolls(2);
    host::Progress& progress = scene->GetProgress();
    progress.Start("title");
    EXPECT_FALSE(progress.GetCancel());
    progress.Update(50);
    EXPECT_FALSE(progress.GetCancel());
    EXPECT_TRUE(progress.GetCancel());
    EXPECT_TRUE(progress.GetCancel());
    progress.End();
    const auto& record = scene->Record().progress;
    ASSERT_EQ(record.size(), 7u);
    EXPECT_EQ(record[0].title, "title");
    EXPECT_EQ(record[2].percent, 50);
    EXPECT_EQ(record[6].kind, sim::ProgressRecord::kEnd);
}

TEST(SceneServicesTest, NestedHoldsUndoInnerChangesOnOuterCancel) {
    auto scene = sim::SceneFromJson(R"("nodes": [])");
    sim::SimHold& hold = scene->HoldImpl();
    int value = 0;
    hold.Put([&value] { value = -1; });  // no hold open: nothing to undo
    hold.Begin();
    hold.Begin();
    value = 1;
    hold.Put([&value] { value = 0; });
    hold.Accept();
    EXPECT_EQ(value, 1);
    hold.Cancel();
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(hold.Holding());
}

// Writes a 2×1 uncompressed true-colour TGA with alpha: red, then green.
void WriteTga(const std::string& path) {
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = 2;
    bytes[14] = 1;
    bytes[16] = 32;
    bytes[17] = 0x28;  // top-left origin, 8 alpha bits
    bytes += std::string("\x00\x00\xFF\xFF\x00\xFF\x00\x80", 8);  // BGRA
    qeltest::WriteFile(path, bytes);
}

class CentreContext : public host::ShadeContext {
public:
    explicit CentreContext(float u) : u_(u) {}
    host::TimeValue CurTime() const override { return 0; }
    host::Point3 P() const override { return {}; }
    host::Point3 Normal() const override { return {0, 0, 1}; }
    host::Point3 PObj() const override { return {}; }
    host::Point3 UVW(int) const override { return {u_, 0.5f, 0}; }

private:
    float u_;
};

struct Names : host::NameEnumCallback {
    std::vector<std::string> names;
    void RecordName(const std::string& name) override { names.push_back(name); }
};

TEST(SceneServicesTest, BitmapsAreReadThroughThePathMap) {
    qeltest::TempDir dir;
    WriteTga(dir / "wall.tga");
    auto scene = sim::SceneFromJson(R"("paths": {"d:/maps/": ")" + dir.path() + R"("},
        "textures": {"wall": {"type": "bitmap", "file": "d:/maps/wall.tga"}, "none": {"type": "bitmap"}},
        "materials": {"m": {"type": "standard", "maps": {"diffuse": {"texture": "wall"}, "bump": {"texture": "none"}}}},
        "nodes": [{"name": "a", "material": "m"}])");
    scene->Paths().Install();
    host::Material* material = scene->GetRootNode()->GetChildNode(0)->GetMtl();
    host::Texture* wall = material->GetSubTexmap(host::kMapDiffuse);
    Names names;
    wall->EnumAuxFiles(names, host::kFileEnumAll);
    EXPECT_EQ(names.names, (std::vector<std::string>{"d:/maps/wall.tga"}));
    host::BitmapInfo info;
    ASSERT_TRUE(wall->GetBitmapInfo(info));
    EXPECT_EQ(info.width, 2);
    EXPECT_EQ(info.height, 1);
    EXPECT_TRUE(info.hasAlpha);
    EXPECT_EQ(wall->EvalColor(CentreContext(0.25f)), host::AColor(1, 0, 0, 1));
    EXPECT_EQ(wall->EvalColor(CentreContext(0.75f)), host::AColor(0, 1, 0, 128 / 255.0f));
    std::vector<host::AColor> pixels;
    ASSERT_TRUE(wall->SampleRect(0, 4, 2, pixels));
    EXPECT_EQ(pixels[1], host::AColor(1, 0, 0, 1));
    EXPECT_EQ(pixels[7].g, 1.0f);
    host::Texture* none = material->GetSubTexmap(host::kMapBump);
    Names nothing;
    none->EnumAuxFiles(nothing, 0x100);
    EXPECT_TRUE(nothing.names.empty());
    EXPECT_FALSE(none->GetBitmapInfo(info));
    sim::PathMap::Uninstall();
}

TEST(PluginSupportTest, PluginMaterialsAreCreatedThroughTheirClassAndFilledThroughTheBlock) {
    PluginClass plugin_class;
    sim::LoadOptions options;
    options.plugins.push_back(&plugin_class);
    auto scene = sim::SceneFromJson(R"("materials": {
        "inner": {"type": "standard", "name": "Inner"},
        "c": {"type": "CorvaneMtl", "name": "Shiny", "material": "inner", "blend": 3, "envmap": true, "amount": 0.75}},
        "nodes": [{"name": "a", "material": "c"}])", options);
    host::Material* material = scene->GetRootNode()->GetChildNode(0)->GetMtl();
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->ClassID(), host::ClassId(0x71CA8543, 0x0C80AD68));
    EXPECT_EQ(material->GetName(), "Shiny");
    host::ParamBlock* block = material->GetParamBlockById(0);
    int blend = 0, envmap = 0;
    float amount = 0;
    host::Material* inner = nullptr;
    EXPECT_TRUE(block->GetValue(1, 0, blend));
    EXPECT_TRUE(block->GetValue(3, 0, envmap));
    EXPECT_TRUE(block->GetValue(4, 0, amount));
    EXPECT_TRUE(block->GetValue(0, 0, inner));
    EXPECT_EQ(blend, 3);
    EXPECT_EQ(envmap, 1);
    EXPECT_FLOAT_EQ(amount, 0.75f);
    EXPECT_EQ(inner->GetName(), "Inner");
    EXPECT_FALSE(block->GetValue(1, 0, amount));  // wrong type
    EXPECT_FALSE(block->GetValue(42, 0, blend));   // unknown id
    EXPECT_EQ(static_cast<PluginMaterial*>(material)->changes, (std::vector<int>{0, 1, 3, 4}));
}

TEST(PluginSupportTest, BlockClampsRangesAndResetsDefaults) {
    auto scene = sim::SceneFromJson(R"("nodes": [])");
    PluginMaterial material(*scene);
    host::ParamBlock& block = *material.GetParamBlockById(0);
    float amount = 0;
    ASSERT_TRUE(block.GetValue(4, 0, amount));
    EXPECT_FLOAT_EQ(amount, 0.5f);
    struct Case {
        float set, stored;
    } cases[] = {{0.25f, 0.25f}, {7.0f, 1.0f}, {-1.0f, 0.0f}};
    for (const Case& c : cases) {
        ASSERT_TRUE(block.SetValue(4, 0, c.set));
        block.GetValue(4, 0, amount);
        EXPECT_FLOAT_EQ(amount, c.stored);
    }
    block.SetValue(3, 0, 5);
    int envmap = 0;
    block.GetValue(3, 0, envmap);
    EXPECT_EQ(envmap, 1);
    block.ResetAll();
    block.GetValue(4, 0, amount);
    EXPECT_FLOAT_EQ(amount, 0.5f);
}

TEST(PluginSupportTest, ParamMapShowsValuesEnablesThroughHookAndRefusesDrops) {
    auto scene = sim::SceneFromJson(R"("materials": {"multi": {"type": "multi", "materials": []}, "std": {"type": "standard", "name": "S"}},
        "textures": {"mask": {"type": "checker"}}, "nodes": [{"name": "a", "material": "multi"}, {"name": "b", "material": "std"}])");
    PluginMaterial material(*scene);
    auto map = scene->CreateParamMap(*material.GetParamBlockById(0));
    map->SetUserDlgProc(&material);
    map->Invalidate();
    EXPECT_EQ(map->ShownValue(1), "0");
    EXPECT_EQ(map->ShownValue(4), "0.5");
    EXPECT_EQ(map->ShownValue(0), "None");
    EXPECT_FALSE(map->IsEnabled(4));
    EXPECT_FALSE(map->IsEnabled(5));
    ASSERT_TRUE(map->SetFromUser(3, 1));
    EXPECT_TRUE(map->IsEnabled(4));
    EXPECT_TRUE(map->IsEnabled(5));
    ASSERT_TRUE(map->SetFromUser(5, scene->GetRootNode()->GetChildNode(0)->GetMtl()->GetSubTexmap(0)));  // null texture
    host::Material* multi = scene->GetRootNode()->GetChildNode(0)->GetMtl();
    host::Material* standard = scene->GetRootNode()->GetChildNode(1)->GetMtl();
    EXPECT_FALSE(map->SetFromUser(0, multi));
    EXPECT_EQ(map->ShownValue(0), "None");
    EXPECT_TRUE(map->SetFromUser(0, standard));
    EXPECT_EQ(map->ShownValue(0), "S");
    EXPECT_GE(map->RefreshCount(0), 2);
    EXPECT_FALSE(map->SetFromUser(99, 1));
}

TEST(PluginSupportTest, ChunksRoundTripNestAndRefuseTruncation) {
    sim::MemoryChunkSaver saver;
    const uint32_t flags = 0x13;
    const float amount = 0.5f;
    saver.BeginChunk(0x4000);
    saver.BeginChunk(0x10);
    saver.Write("ab", 2);
    saver.EndChunk();
    saver.EndChunk();
    saver.BeginChunk(0x4001);
    saver.Write(&flags, 4);
    saver.Write(&amount, 4);
    saver.EndChunk();
    const std::vector<uint8_t> bytes = saver.Bytes();
    ASSERT_EQ(bytes.size(), 6u + 6u + 2u + 6u + 8u);

    sim::MemoryChunkLoader loader(bytes);
    ASSERT_TRUE(loader.OpenChunk());
    EXPECT_EQ(loader.CurChunkId(), 0x4000);
    ASSERT_TRUE(loader.OpenChunk());
    EXPECT_EQ(loader.CurChunkDataSize(), 2u);
    loader.CloseChunk();
    EXPECT_FALSE(loader.OpenChunk());
    loader.CloseChunk();
    ASSERT_TRUE(loader.OpenChunk());
    EXPECT_EQ(loader.CurChunkId(), 0x4001);
    uint32_t read_flags = 0;
    float read_amount = 0;
    EXPECT_EQ(loader.Read(&read_flags, 4), 4u);
    EXPECT_EQ(loader.Read(&read_amount, 4), 4u);
    EXPECT_EQ(loader.Read(&read_amount, 4), 0u);
    EXPECT_EQ(read_flags, flags);
    loader.CloseChunk();
    EXPECT_FALSE(loader.OpenChunk());

    // Every truncation fails cleanly: no chunk reaches past the data.
    for (size_t size = 0; size < bytes.size(); ++size) {
        sim::MemoryChunkLoader cut(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(size)));
        size_t total = 0;
        while (cut.OpenChunk()) {
            total += cut.CurChunkDataSize() + 6;
            cut.CloseChunk();
        }
        EXPECT_LE(total, size);
    }
}

}  // namespace
