// The parameter block's descriptor and the dialog built on it: what a new
// material shows, and which controls the artist may use.
#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "fixture.h"
#include "material_plugin/params.h"

namespace {

using host::ControlType;
using host::ParamType;

TEST(CorvaneParams, DescriptorHoldsTheBlockAsDocumented) {
    const host::ParamBlockDesc& desc = corvane::ParamDesc();
    EXPECT_EQ(desc.blockId, 0);
    EXPECT_EQ(desc.internalName, "params");
    EXPECT_EQ(desc.refNumber, 1);
    EXPECT_EQ(desc.flags, host::kBlockAutoConstruct | host::kBlockAutoUi);
    EXPECT_EQ(desc.dialogId, 101);
    EXPECT_EQ(desc.rollupTitle, "Parameters");

    struct Case {
        int id;
        const char* name;
        ParamType type;
        int defaultInt;
        float defaultFloat;
        bool hasRange;
        int refNumber;
        ControlType control;
        std::vector<int> controlIds;
    } cases[] = {
        {0, "mtl_mat1", ParamType::kMaterial, 0, 0.0f, false, 0, ControlType::kMaterialButton, {1497}},
        {1, "blend_type", ParamType::kInt, 0, 0.0f, false, -1, ControlType::kRadioButtons, {1001, 1002, 1003, 1004, 1005}},
        {2, "modulae2x", ParamType::kBool, 0, 0.0f, false, -1, ControlType::kCheckBox, {1006}},
        {3, "envmap_use", ParamType::kBool, 0, 0.0f, false, -1, ControlType::kCheckBox, {1007}},
        {4, "envmap_amount", ParamType::kFloat, 0, 0.5f, true, -1, ControlType::kFloatSpinner, {1008, 1009}},
        {5, "envmap_mask", ParamType::kTexture, 0, 0.0f, false, 2, ControlType::kMapButton, {1010}},
        {6, "envmap_map", ParamType::kTexture, 0, 0.0f, false, 3, ControlType::kMapButton, {1011}},
    };
    ASSERT_EQ(desc.params.size(), std::size(cases));
    for (const Case& c : cases) {
        const host::ParamDef* def = desc.Find(c.id);
        ASSERT_NE(def, nullptr) << c.id;
        EXPECT_EQ(def->internalName, c.name);
        EXPECT_EQ(def->type, c.type) << c.name;
        EXPECT_EQ(def->defaultInt, c.defaultInt) << c.name;
        EXPECT_EQ(def->defaultFloat, c.defaultFloat) << c.name;
        EXPECT_EQ(def->hasRange, c.hasRange) << c.name;
        EXPECT_EQ(def->refNumber, c.refNumber) << c.name;
        EXPECT_EQ(def->control, c.control) << c.name;
        EXPECT_EQ(def->controlIds, c.controlIds) << c.name;
    }
    const host::ParamDef* amount = desc.Find(4);
    EXPECT_EQ(amount->rangeMin, 0.0f);
    EXPECT_EQ(amount->rangeMax, 1.0f);

    std::vector<std::string> labels;
    for (const std::string& label : desc.Find(1)->labels) labels.push_back(Cp1251ToUtf8(label));
    EXPECT_EQ(labels, (std::vector<std::string>{"Непрозрачный (None)", "Альфа 1 бит (Test)", "Альфа 8 бит (Blend)",
                                                "Альфа по интенсивности цвета (Add)",
                                                "Альфа по интенсивности цвета (Sub)"}));
}

TEST(CorvaneParams, NewMaterialHoldsTheDefaultsAndTheAmountStaysInRange) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    host::ParamBlock& block = *material->GetParamBlockById(0);
    int blend = -1, modulate = -1, envmap = -1;
    float amount = -1;
    host::Material* sub = f.inner;
    host::Texture *mask = f.mask, *map = f.envMap;
    ASSERT_TRUE(block.GetValue(1, 0, blend) && block.GetValue(2, 0, modulate) && block.GetValue(3, 0, envmap) &&
                block.GetValue(4, 0, amount) && block.GetValue(0, 0, sub) && block.GetValue(5, 0, mask) &&
                block.GetValue(6, 0, map));
    EXPECT_EQ(blend, 0);
    EXPECT_EQ(modulate, 0);
    EXPECT_EQ(envmap, 0);
    EXPECT_EQ(amount, 0.5f);
    EXPECT_EQ(sub, nullptr);
    EXPECT_EQ(mask, nullptr);
    EXPECT_EQ(map, nullptr);

    const struct {
        float set, stored;
    } amounts[] = {{0.25f, 0.25f}, {1.5f, 1.0f}, {-0.5f, 0.0f}, {1.0f, 1.0f}};
    for (const auto& c : amounts) {
        ASSERT_TRUE(block.SetValue(4, 0, c.set));
        block.GetValue(4, 0, amount);
        EXPECT_EQ(amount, c.stored) << c.set;
    }
}

// The dialog's state as "value,value,...|enabled ids", parameters 0 to 6.
std::string DialogState(const host::ParamMap& map) {
    std::string shown, enabled;
    for (int id = 0; id <= 6; ++id) {
        if (id) shown += ',';
        shown += map.ShownValue(id);
        if (map.IsEnabled(id)) enabled += std::to_string(id);
    }
    return shown + "|" + enabled;
}

TEST(CorvaneDialog, EnableRulesFollowEnvironmentMappingAndTheMask) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    host::ParamMap& map = *material->CreateParamDlg(*f.scene);
    // A new material: None selected, both check boxes off, 0.5 in the
    // coefficient; coefficient, mask and map disabled.
    EXPECT_EQ(DialogState(map), "None,0,0,0,0.5,None,None|0123");

    struct Step {
        const char* what;
        std::function<bool(host::ParamMap&)> act;
        const char* state;
    } steps[] = {
        {"disabled coefficient refuses input", [](host::ParamMap& m) { return !m.SetFromUser(4, 0.25f); },
         "None,0,0,0,0.5,None,None|0123"},
        {"disabled mask refuses a map", [&](host::ParamMap& m) { return !m.SetFromUser(5, f.mask); },
         "None,0,0,0,0.5,None,None|0123"},
        {"environment mapping on", [](host::ParamMap& m) { return m.SetFromUser(3, 1); },
         "None,0,0,1,0.5,None,None|0123456"},
        {"coefficient typed", [](host::ParamMap& m) { return m.SetFromUser(4, 0.75f); },
         "None,0,0,1,0.75,None,None|0123456"},
        {"a mask disables the coefficient", [&](host::ParamMap& m) { return m.SetFromUser(5, f.mask); },
         "None,0,0,1,0.75,Mask,None|012356"},
        {"an environment map", [&](host::ParamMap& m) { return m.SetFromUser(6, f.envMap); },
         "None,0,0,1,0.75,Mask,Env|012356"},
        {"mask removed", [](host::ParamMap& m) { return m.SetFromUser(5, static_cast<host::Texture*>(nullptr)); },
         "None,0,0,1,0.75,None,Env|0123456"},
        {"mask again, then environment mapping off",
         [&](host::ParamMap& m) { return m.SetFromUser(5, f.mask) && m.SetFromUser(3, 0); },
         "None,0,0,0,0.75,Mask,Env|0123"},
        {"transparency and lightmap modulation", [](host::ParamMap& m) { return m.SetFromUser(1, 3) && m.SetFromUser(2, 1); },
         "None,3,1,0,0.75,Mask,Env|0123"},
        {"a material on the button", [&](host::ParamMap& m) { return m.SetFromUser(0, f.inner); },
         "Inner,3,1,0,0.75,Mask,Env|0123"},
    };
    for (const Step& step : steps) {
        EXPECT_TRUE(step.act(map)) << step.what;
        EXPECT_EQ(DialogState(map), step.state) << step.what;
    }
    EXPECT_TRUE(f.scene->Record().boxes.empty());
}

TEST(CorvaneDialog, BlockChangesRefreshTheirControlAndTheRules) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    host::ParamMap& map = *material->CreateParamDlg(*f.scene);
    EXPECT_EQ(material->CreateParamDlg(*f.scene), &map) << "a second call returns the open dialog";
    host::ParamBlock& block = *material->GetParamBlockById(0);
    const int before_amount = map.RefreshCount(4), before_use = map.RefreshCount(3);

    // Changes that do not come through the dialog (the host writing the block).
    block.SetValue(4, 0, 0.125f);
    block.SetValue(3, 0, 1);
    EXPECT_EQ(map.RefreshCount(4), before_amount + 1);
    EXPECT_EQ(map.RefreshCount(3), before_use + 1);
    EXPECT_EQ(DialogState(map), "None,0,0,1,0.125,None,None|0123456");
    material->SetSubTexmap(corvane::kSlotMask, f.mask);
    material->SetSubMtl(0, f.other);
    EXPECT_EQ(DialogState(map), "Other,0,0,1,0.125,Mask,None|012356");

    material->CloseParamDlg();
    EXPECT_EQ(material->OpenDialog(), nullptr);
    block.SetValue(4, 0, 0.5f);  // no dialog to refresh
    host::ParamMap& reopened = *material->CreateParamDlg(*f.scene);
    EXPECT_EQ(DialogState(reopened), "Other,0,0,1,0.5,Mask,None|012356");
}

TEST(CorvaneDialog, UpdateAppliesTheRulesToAnOpenDialog) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    host::ParamMap& map = *material->CreateParamDlg(*f.scene);
    map.Enable(4, true);  // something else enabled it
    map.Enable(6, true);
    host::Interval valid = host::Interval::Forever();
    material->Update(0, valid);
    EXPECT_EQ(DialogState(map), "None,0,0,0,0.5,None,None|0123");
}

}  // namespace
