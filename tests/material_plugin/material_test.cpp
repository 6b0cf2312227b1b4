// The CorvaneMtl material as the host and the exporter use it: its
// references, its sub-material slot with the multi/sub-object refusal, its
// sub-textures, the forwarded shading queries, update and validity, Reset and
// Clone.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fixture.h"
#include "material_plugin/params.h"
#include "sim/materials.h"
#include "support/sim_helpers.h"

namespace {

using corvane::CorvaneMtl;

host::Material* SubInBlock(const CorvaneMtl& material) {
    host::Material* sub = nullptr;
    material.GetParamBlockById(0)->GetValue(0, 0, sub);
    return sub;
}

TEST(CorvaneMaterial, ReferencesAreTheSlotsOfTheBlock) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    EXPECT_EQ(material->ClassID(), host::ClassId(0x71CA8543, 0x0C80AD68));
    EXPECT_EQ(material->SuperClassID(), host::kMaterialClass);
    ASSERT_EQ(material->NumRefs(), 4);
    host::ParamBlock* block = material->GetParamBlockById(0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(material->GetParamBlock(0), block);
    EXPECT_EQ(material->GetParamBlock(1), nullptr);
    EXPECT_EQ(material->GetParamBlockById(1), nullptr);
    EXPECT_EQ(material->NumParamBlocks(), 1);

    material->SetReference(0, f.inner);
    material->SetReference(2, f.mask);
    material->SetReference(3, f.envMap);
    material->SetReference(1, f.other);  // the block stays the material's own
    const host::ReferenceTarget* expected[] = {f.inner, block, f.mask, f.envMap};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(material->GetReference(i), expected[i]) << i;
    EXPECT_EQ(material->GetReference(4), nullptr);
    EXPECT_EQ(material->GetReference(-1), nullptr);
    EXPECT_EQ(SubInBlock(*material), f.inner);

    // A target of the wrong kind is not taken; null empties the slot.
    material->SetReference(0, f.mask);
    material->SetReference(2, f.other);
    EXPECT_EQ(material->GetReference(0), f.inner);
    EXPECT_EQ(material->GetReference(2), f.mask);
    material->SetReference(3, nullptr);
    EXPECT_EQ(material->EnvMap(), nullptr);

    // A referenced target going away leaves its slot empty.
    material->OnReferenceChanged(f.inner, host::RefMessage::kTargetDeleted, -1);
    material->OnReferenceChanged(f.mask, host::RefMessage::kTargetDeleted, -1);
    EXPECT_EQ(material->GetSubMtl(0), nullptr);
    EXPECT_EQ(SubInBlock(*material), nullptr);
    EXPECT_EQ(material->Mask(), nullptr);
}

TEST(CorvaneMaterial, MultiSubObjectMaterialIsRefusedOnEveryPathIntoTheSlot) {
    const std::string kRefusal = "-|Внимание|Нельзя задать материал Multi/Sub-Object как подматериал Corvane";
    struct Path {
        const char* what;
        std::function<bool(CorvaneMtl&, host::Material*)> put;  // true when the slot took the material
    } paths[] = {
        {"dropped on the material button",
         [](CorvaneMtl& m, host::Material* sub) { return m.OpenDialog()->SetFromUser(0, sub); }},
        {"set as sub-material 0", [](CorvaneMtl& m, host::Material* sub) { return m.SetSubMtl(0, sub); }},
        {"written into the block",
         [](CorvaneMtl& m, host::Material* sub) {
             m.GetParamBlockById(0)->SetValue(0, 0, sub);
             return SubInBlock(m) == sub;
         }},
        {"set as reference 0",
         [](CorvaneMtl& m, host::Material* sub) {
             m.SetReference(0, sub);
             return m.GetReference(0) == sub;
         }},
    };
    for (const Path& path : paths) {
        corvane_test::Fixture f;
        auto material = f.NewMaterial();
        host::ParamMap& map = *material->CreateParamDlg(*f.scene);
        ASSERT_TRUE(path.put(*material, f.inner)) << path.what;
        EXPECT_EQ(map.ShownValue(0), "Inner") << path.what;
        EXPECT_TRUE(qeltest::Boxes(*f.scene).empty()) << path.what;

        EXPECT_FALSE(path.put(*material, f.multi)) << path.what;
        ASSERT_EQ(qeltest::Boxes(*f.scene), std::vector<std::string>{kRefusal}) << path.what;
        EXPECT_EQ(f.scene->Record().boxes[0].buttons, host::MessageBoxButtons::kOk);
        EXPECT_EQ(material->GetSubMtl(0), f.inner) << path.what;
        EXPECT_EQ(SubInBlock(*material), f.inner) << path.what;
        EXPECT_EQ(map.ShownValue(0), "Inner") << path.what;

        // Any other material replaces it.
        EXPECT_TRUE(path.put(*material, f.other)) << path.what;
        EXPECT_EQ(material->GetSubMtl(0), f.other) << path.what;
        EXPECT_EQ(map.ShownValue(0), "Other") << path.what;
        EXPECT_EQ(qeltest::Boxes(*f.scene).size(), 1u) << path.what;
    }
}

TEST(CorvaneMaterial, OneSubMaterialSlotNamedByItsParameter) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    EXPECT_EQ(material->NumSubMtls(), 1);
    EXPECT_EQ(material->GetSubMtlSlotName(0), "mtl_mat1");
    EXPECT_EQ(material->GetSubMtlSlotName(1), "");
    EXPECT_FALSE(material->SetSubMtl(1, f.inner));
    EXPECT_FALSE(material->SetSubMtl(-1, f.inner));
    EXPECT_EQ(material->GetSubMtl(0), nullptr);
    EXPECT_TRUE(material->SetSubMtl(0, f.inner));
    EXPECT_EQ(material->GetSubMtl(0), f.inner);
    EXPECT_EQ(material->GetSubMtl(1), nullptr);
    EXPECT_TRUE(material->SetSubMtl(0, nullptr));
    EXPECT_EQ(material->GetSubMtl(0), nullptr);
}

// A sub-material whose texture slots have names.
class NamedSlotsMaterial : public sim::SimMaterial {
public:
    NamedSlotsMaterial() : SimMaterial(host::kStandardMaterialClassId, "Named") {}
    int NumSubTexmaps() const override { return 2; }
    host::Texture* GetSubTexmap(int i) const override { return i >= 0 && i < 2 ? maps_[i] : nullptr; }
    void SetSubTexmap(int i, host::Texture* texture) override {
        if (i >= 0 && i < 2) maps_[i] = texture;
    }
    std::string GetSubTexmapSlotName(int i) const override { return i == 0 ? "First" : i == 1 ? "Second" : ""; }

private:
    host::Texture* maps_[2] = {};
};

TEST(CorvaneMaterial, OwnMapsAtNegativeSlotsAndTheSubMaterialsPassedThrough) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    // Without a sub-material only the material's own two maps.
    EXPECT_EQ(material->NumSubTexmaps(), 0);
    material->SetSubTexmap(-2, f.mask);
    material->SetSubTexmap(-3, f.envMap);
    material->SetSubTexmap(0, f.mask);   // no sub-material to take it
    material->SetSubTexmap(-1, f.mask);  // no such slot
    EXPECT_EQ(material->GetSubTexmap(-2), f.mask);
    EXPECT_EQ(material->GetSubTexmap(-3), f.envMap);
    EXPECT_EQ(material->GetSubTexmap(-1), nullptr);
    EXPECT_EQ(material->GetSubTexmap(0), nullptr);
    EXPECT_EQ(material->GetReference(2), f.mask);
    EXPECT_EQ(material->GetReference(3), f.envMap);
    EXPECT_EQ(material->GetSubTexmapSlotName(-2), "envmap_mask");
    EXPECT_EQ(material->GetSubTexmapSlotName(-3), "envmap_map");
    EXPECT_EQ(material->GetSubTexmapSlotName(-1), "");
    EXPECT_EQ(material->GetSubTexmapSlotName(0), "");

    NamedSlotsMaterial named;
    ASSERT_TRUE(material->SetSubMtl(0, &named));
    EXPECT_EQ(material->NumSubTexmaps(), 2);
    material->SetSubTexmap(1, f.envMap);
    EXPECT_EQ(named.GetSubTexmap(1), f.envMap);
    EXPECT_EQ(material->GetSubTexmap(1), f.envMap);
    EXPECT_EQ(material->GetSubTexmap(0), nullptr);
    EXPECT_EQ(material->GetSubTexmapSlotName(0), "First");
    EXPECT_EQ(material->GetSubTexmapSlotName(1), "Second");
    EXPECT_EQ(material->GetSubTexmapSlotName(-2), "envmap_mask");
    EXPECT_EQ(material->GetSubTexmap(-2), f.mask) << "the negative slots stay the material's own";

    ASSERT_TRUE(material->SetSubMtl(0, f.inner));
    EXPECT_EQ(material->NumSubTexmaps(), f.inner->NumSubTexmaps());
    EXPECT_EQ(material->GetSubTexmap(host::kMapDiffuse), f.mask);
    EXPECT_EQ(material->GetSubTexmap(host::kMapBump), f.envMap);
}

class PointContext : public host::ShadeContext {
public:
    host::TimeValue CurTime() const override { return 0; }
    host::Point3 P() const override { return {}; }
    host::Point3 Normal() const override { return {0, 0, 1}; }
    host::Point3 PObj() const override { return {}; }
    host::Point3 UVW(int) const override { return {0.1f, 0.1f, 0}; }
};

// Every forwarded answer of a material at time 0, as numbers.
std::vector<float> Answers(const host::Material& m) {
    const host::Color ambient = m.GetAmbient(0), diffuse = m.GetDiffuse(0), specular = m.GetSpecular(0);
    host::ShadeOutput out;
    out.color = {9, 9, 9};
    out.transparency = {9, 9, 9};
    m.Shade(PointContext(), out);
    return {ambient.r, ambient.g, ambient.b, diffuse.r, diffuse.g, diffuse.b, specular.r, specular.g, specular.b,
            m.GetShininess(0), m.GetShinStr(0), m.GetXParency(0), m.GetWireSize(0), float(m.Requirements(-1)),
            float(m.Requirements(0)), out.color.r, out.color.g, out.color.b, out.transparency.r, out.transparency.g,
            out.transparency.b};
}

TEST(CorvaneMaterial, ShadingQueriesAreTheSubMaterialsAndBlackWithoutOne) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    EXPECT_EQ(Answers(*material), std::vector<float>(21, 0.0f)) << "no sub-material renders black";

    ASSERT_TRUE(material->SetSubMtl(0, f.inner));
    const std::vector<float> inner = Answers(*f.inner);
    EXPECT_EQ(Answers(*material), inner);
    // The inner material is not black, so the comparison above says something.
    EXPECT_EQ(inner[3], 0.2f);
    EXPECT_EQ(inner[11], 0.25f);
    EXPECT_EQ(inner[13], float(host::kMtlReqTwoSided));
}

// A texture whose values hold over part of the time line only.
class ShortLivedTexture : public host::Texture {
public:
    explicit ShortLivedTexture(host::Interval valid) : valid_(valid) {}
    host::ClassId ClassID() const override { return host::kCheckerClassId; }
    const std::string& GetName() const override { return name_; }
    int NumSubTexmaps() const override { return 0; }
    host::Texture* GetSubTexmap(int) const override { return nullptr; }
    const host::UvGen* GetUvGen() const override { return nullptr; }
    void EnumAuxFiles(host::NameEnumCallback&, uint32_t) const override {}
    bool GetBitmapInfo(host::BitmapInfo&) const override { return false; }
    host::AColor EvalColor(const host::ShadeContext&) const override { return {}; }
    bool SampleRect(host::TimeValue, int, int, std::vector<host::AColor>&) const override { return false; }
    void Update(host::TimeValue t, host::Interval& valid) override {
        updates.push_back(t);
        valid &= valid_;
    }
    host::Interval Validity(host::TimeValue) const override { return valid_; }
    std::vector<host::TimeValue> updates;

private:
    host::Interval valid_;
    std::string name_ = "Short";
};

TEST(CorvaneMaterial, UpdateCachesTheParametersAndNarrowsValidity) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    host::ParamBlock& block = *material->GetParamBlockById(0);
    EXPECT_TRUE(material->CachedValidity().Empty()) << "nothing cached before the first update";

    struct Case {
        int blend, modulate, envmap;
        float amount;
        uint32_t flags;
    } cases[] = {
        {0, 0, 0, 0.5f, 0x00}, {1, 0, 0, 0.5f, 0x01}, {4, 1, 0, 0.5f, 0x0C},
        {2, 0, 1, 0.3f, 0x12}, {3, 1, 1, 1.0f, 0x1B},
    };
    for (const Case& c : cases) {
        block.SetValue(1, 0, c.blend);
        block.SetValue(2, 0, c.modulate);
        block.SetValue(3, 0, c.envmap);
        block.SetValue(4, 0, c.amount);
        EXPECT_TRUE(material->CachedValidity().Empty()) << "a change empties the cached validity";
        host::Interval valid(0, 4800);
        material->Update(160, valid);
        EXPECT_EQ(material->CachedFlags(), c.flags) << c.blend << c.modulate << c.envmap;
        EXPECT_EQ(material->CachedAmount(), c.amount);
        EXPECT_EQ(valid, host::Interval(0, 4800));
        EXPECT_EQ(material->CachedValidity(), host::Interval::Forever());
    }

    // The maps are updated and narrow the caller's validity and the material's.
    ShortLivedTexture mask(host::Interval(0, 800)), map(host::Interval(-160, 480));
    material->SetSubTexmap(-2, &mask);
    material->SetSubTexmap(-3, &map);
    ASSERT_TRUE(material->SetSubMtl(0, f.inner));
    host::Interval valid = host::Interval::Forever();
    material->Update(160, valid);
    EXPECT_EQ(valid, host::Interval(0, 480));
    EXPECT_EQ(mask.updates, std::vector<host::TimeValue>{160});
    EXPECT_EQ(map.updates, std::vector<host::TimeValue>{160});
    EXPECT_EQ(material->Validity(160), host::Interval(0, 480));
    material->SetReference(3, nullptr);
    EXPECT_TRUE(material->Validity(160).Empty()) << "the change emptied the cached validity";
    material->Update(160, valid);
    EXPECT_EQ(material->Validity(160), host::Interval(0, 800));
}

TEST(CorvaneMaterial, ResetDropsTheSlotsAndRestoresTheDefaults) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    host::ParamMap& map = *material->CreateParamDlg(*f.scene);
    ASSERT_TRUE(map.SetFromUser(0, f.inner) && map.SetFromUser(1, 2) && map.SetFromUser(2, 1) && map.SetFromUser(3, 1) &&
                map.SetFromUser(4, 0.9f) && map.SetFromUser(5, f.mask) && map.SetFromUser(6, f.envMap));
    host::Interval valid = host::Interval::Forever();
    material->Update(0, valid);

    material->Reset();
    EXPECT_EQ(material->GetSubMtl(0), nullptr);
    EXPECT_EQ(material->Mask(), nullptr);
    EXPECT_EQ(material->EnvMap(), nullptr);
    EXPECT_TRUE(material->CachedValidity().Empty());
    EXPECT_EQ(map.ShownValue(0), "None");
    EXPECT_EQ(map.ShownValue(1), "0");
    EXPECT_EQ(map.ShownValue(2), "0");
    EXPECT_EQ(map.ShownValue(3), "0");
    EXPECT_EQ(map.ShownValue(4), "0.5");
    EXPECT_FALSE(map.IsEnabled(4));
    EXPECT_FALSE(map.IsEnabled(5));
    EXPECT_FALSE(map.IsEnabled(6));
    material->Update(0, valid);
    EXPECT_EQ(material->CachedFlags(), 0u);
    EXPECT_EQ(material->CachedAmount(), 0.5f);
}

// Hands out the clones the test chose and records what was asked.
class ChosenClones : public host::RemapDir {
public:
    explicit ChosenClones(std::map<host::ReferenceTarget*, host::ReferenceTarget*> clones) : clones_(std::move(clones)) {}
    host::ReferenceTarget* CloneRef(host::ReferenceTarget* target) override {
        asked.push_back(target);
        return target ? clones_.at(target) : nullptr;
    }
    std::vector<host::ReferenceTarget*> asked;

private:
    std::map<host::ReferenceTarget*, host::ReferenceTarget*> clones_;
};

TEST(CorvaneMaterial, CloneCopiesValuesAndClonesTheSlotsThroughTheRemap) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    material->SetName("Shiny");
    host::ParamBlock& block = *material->GetParamBlockById(0);
    block.SetValue(1, 0, 3);
    block.SetValue(2, 0, 1);
    block.SetValue(3, 0, 1);
    block.SetValue(4, 0, 0.75f);
    material->SetSubMtl(0, f.inner);
    material->SetSubTexmap(-2, f.mask);
    material->SetSubTexmap(-3, f.envMap);
    host::Interval valid = host::Interval::Forever();
    material->Update(0, valid);

    // Stand-ins for the clones the host would make.
    auto inner_clone = std::make_unique<sim::StandardMaterial>("InnerClone", sim::StandardMaterial::Values());
    ShortLivedTexture mask_clone(host::Interval::Forever()), map_clone(host::Interval::Forever());
    ChosenClones remap({{f.inner, inner_clone.get()}, {f.mask, &mask_clone}, {f.envMap, &map_clone}});
    std::unique_ptr<host::ReferenceTarget> cloned = material->Clone(remap);
    auto* clone = dynamic_cast<CorvaneMtl*>(cloned.get());
    ASSERT_NE(clone, nullptr);

    EXPECT_EQ(remap.asked, (std::vector<host::ReferenceTarget*>{f.inner, f.mask, f.envMap}));
    EXPECT_EQ(clone->GetName(), "Shiny");
    EXPECT_EQ(clone->GetSubMtl(0), inner_clone.get());
    EXPECT_EQ(clone->Mask(), &mask_clone);
    EXPECT_EQ(clone->EnvMap(), &map_clone);
    EXPECT_EQ(clone->CachedFlags(), 0x1Bu);
    EXPECT_EQ(clone->CachedAmount(), 0.75f);
    host::ParamBlock& copy = *clone->GetParamBlockById(0);
    EXPECT_NE(&copy, &block);
    int blend = 0, modulate = 0, envmap = 0;
    float amount = 0;
    copy.GetValue(1, 0, blend);
    copy.GetValue(2, 0, modulate);
    copy.GetValue(3, 0, envmap);
    copy.GetValue(4, 0, amount);
    EXPECT_EQ(std::vector<float>({float(blend), float(modulate), float(envmap), amount}),
              std::vector<float>({3, 1, 1, 0.75f}));

    // The two are independent.
    copy.SetValue(1, 0, 0);
    clone->SetName("Copy");
    int original_blend = 0;
    block.GetValue(1, 0, original_blend);
    EXPECT_EQ(original_blend, 3);
    EXPECT_EQ(material->GetName(), "Shiny");
    EXPECT_EQ(material->GetSubMtl(0), f.inner);

    // Empty slots clone to empty slots.
    auto empty = f.NewMaterial();
    ChosenClones none({});
    std::unique_ptr<host::ReferenceTarget> empty_clone = empty->Clone(none);
    auto* empty_copy = dynamic_cast<CorvaneMtl*>(empty_clone.get());
    ASSERT_NE(empty_copy, nullptr);
    EXPECT_EQ(empty_copy->GetSubMtl(0), nullptr);
    EXPECT_EQ(empty_copy->Mask(), nullptr);
    EXPECT_TRUE(qeltest::Boxes(*f.scene).empty());
}

}  // namespace
