#include "sim/scene_compare.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "host/light.h"
#include "host/material.h"
#include "host/shade.h"
#include "host/shape.h"
#include "host/skin.h"
#include "host/texture.h"
#include "host/trimesh.h"

namespace simtest {

namespace {

std::string Text(const host::Point3& p) {
    std::ostringstream out;
    out.precision(9);
    out << "(" << p.x << " " << p.y << " " << p.z << ")";
    return out.str();
}

std::string Text(const host::Matrix3& m) {
    std::string text;
    for (int row = 0; row < 4; ++row) text += Text(m.GetRow(row));
    return text;
}

std::string Text(const host::Color& c) { return Text(host::Point3(c.r, c.g, c.b)); }

// Samples a texture at fixed coordinates.
class PointContext : public host::ShadeContext {
public:
    explicit PointContext(host::Point3 uvw) : uvw_(uvw) {}
    host::TimeValue CurTime() const override { return 0; }
    host::Point3 P() const override { return uvw_; }
    host::Point3 Normal() const override { return {0, 0, 1}; }
    host::Point3 PObj() const override { return uvw_; }
    host::Point3 UVW(int) const override { return uvw_; }

private:
    host::Point3 uvw_;
};

class Comparer {
public:
    Comparer(const sim::Scene& a, const sim::Scene& b) : a_(a), b_(b) {}

    std::vector<std::string> Run() {
        Check(a_.GetCurFilePath() == b_.GetCurFilePath(), "scene", "file path");
        Check(a_.GetUserName() == b_.GetUserName(), "scene", "user name");
        Check(a_.GetAnimRange() == b_.GetAnimRange(), "scene", "animation range");
        Check(a_.GetTicksPerFrame() == b_.GetTicksPerFrame(), "scene", "ticks per frame");
        Check(a_.GetMasterScaleMeters() == b_.GetMasterScaleMeters(), "scene", "master scale");
        Check(a_.GetAmbient(0) == b_.GetAmbient(0), "scene", "ambient " + Text(a_.GetAmbient(0)) + " " + Text(b_.GetAmbient(0)));
        Check(a_.FileTables().paths == b_.FileTables().paths, "scene", "paths");
        if (!Check(a_.Nodes().size() == b_.Nodes().size(), "scene", "node count")) return out_;
        CollectTimes();
        for (size_t i = 0; i < a_.Nodes().size(); ++i) node_index_[a_.Nodes()[i]] = node_index_[b_.Nodes()[i]] = i;
        Children(*a_.GetRootNode(), *b_.GetRootNode(), "");
        if (Check(a_.GetNumNamedSelSets() == b_.GetNumNamedSelSets(), "scene", "selection set count")) {
            for (int i = 0; i < a_.GetNumNamedSelSets(); ++i) {
                const std::string where = "selection set " + std::to_string(i);
                Check(a_.GetNamedSelSetName(i) == b_.GetNamedSelSetName(i), where, "name");
                if (!Check(a_.GetNamedSelSetItemCount(i) == b_.GetNamedSelSetItemCount(i), where, "count")) continue;
                for (int j = 0; j < a_.GetNamedSelSetItemCount(i); ++j)
                    Check(SameNode(a_.GetNamedSelSetItem(i, j), b_.GetNamedSelSetItem(i, j)), where, "node " + std::to_string(j));
            }
        }
        // Table entries that nothing refers to must still be there.
        Check(a_.FileTables().objects.size() == b_.FileTables().objects.size(), "scene", "shared object count");
        for (const auto& [id, material] : a_.FileTables().materials) {
            const auto other = b_.FileTables().materials.find(id);
            if (Check(other != b_.FileTables().materials.end(), "material " + id, "missing")) Material(material, other->second, "material " + id);
        }
        for (const auto& [id, texture] : a_.FileTables().textures) {
            const auto other = b_.FileTables().textures.find(id);
            if (Check(other != b_.FileTables().textures.end(), "texture " + id, "missing")) Texture(texture, other->second, "texture " + id);
        }
        return out_;
    }

private:
    bool Check(bool same, const std::string& where, const std::string& what) {
        if (!same) out_.push_back(where + ": " + what + " differs");
        return same;
    }

    // x and y must be met together every time: instances stay instances.
    // True when both are there and met for the first time.
    bool Match(const void* x, const void* y, const std::string& where) {
        if (!x || !y) {
            Check(!x && !y, where, "presence");
            return false;
        }
        const auto [at_x, new_x] = matched_.emplace(x, y);
        const auto [at_y, new_y] = matched_back_.emplace(y, x);
        Check(at_x->second == y && at_y->second == x, where, "instance");
        return new_x && new_y;  // first met: compare the contents
    }

    bool SameNode(const host::Node* x, const host::Node* y) {
        if (!x || !y) return !x && !y;
        return node_index_.at(x) == node_index_.at(y);
    }

    void CollectTimes() {
        std::set<host::TimeValue> times = {0, a_.GetAnimRange().Start(), a_.GetAnimRange().End()};
        for (const sim::SimNode* node : a_.Nodes()) {
            for (const auto& [t, m] : node->Transform().Keys()) times.insert(t);
            for (const auto& [t, v] : node->Visibility().Keys()) times.insert(t);
            if (const auto* mesh = dynamic_cast<const sim::MeshObject*>(node->GetObjectRef()))
                for (const auto& [t, positions] : mesh->Frames()) times.insert(t);
        }
        std::vector<host::TimeValue> keys(times.begin(), times.end());
        for (size_t i = 0; i < keys.size(); ++i) {
            times_.push_back(keys[i] - 1);
            times_.push_back(keys[i]);
            if (i + 1 < keys.size()) times_.push_back(keys[i] + (keys[i + 1] - keys[i]) / 3);
        }
        times_.push_back(keys.back() + 1);
        if (times_.size() > 48) {  // enough to tell tracks apart
            std::vector<host::TimeValue> fewer;
            for (size_t i = 0; i < times_.size(); i += times_.size() / 48 + 1) fewer.push_back(times_[i]);
            times_ = fewer;
        }
    }

    void Children(const host::Node& x, const host::Node& y, const std::string& path) {
        if (!Check(x.NumberOfChildren() == y.NumberOfChildren(), path, "child count")) return;
        for (int i = 0; i < x.NumberOfChildren(); ++i) Node(*x.GetChildNode(i), *y.GetChildNode(i), path + "/" + x.GetChildNode(i)->GetName());
    }

    void Node(const host::Node& x_node, const host::Node& y_node, const std::string& where) {
        auto& x = const_cast<host::Node&>(x_node);
        auto& y = const_cast<host::Node&>(y_node);
        Check(x.GetName() == y.GetName(), where, "name");
        Check(x.IsNodeHidden() == y.IsNodeHidden() && x.Renderable() == y.Renderable() && x.Selected() == y.Selected(), where, "flags");
        Check(x.IsGroupHead() == y.IsGroupHead() && x.IsGroupMember() == y.IsGroupMember(), where, "group");
        Check(x.GetUserPropBuffer() == y.GetUserPropBuffer(), where, "user properties");
        const host::JointFlags jx = x.GetJointFlags(), jy = y.GetJointFlags();
        Check(jx.revolute == jy.revolute && jx.sliding == jy.sliding && jx.chainEnd == jy.chainEnd, where, "joint");
        Check(SameNode(x.GetTarget(), y.GetTarget()), where, "look-at target");
        for (const host::TimeValue t : times_) {
            const std::string at = where + " at " + std::to_string(t);
            Check(x.GetNodeTM(t) == y.GetNodeTM(t), at, "node transform " + Text(x.GetNodeTM(t)) + " vs " + Text(y.GetNodeTM(t)));
            Check(x.GetObjectTM(t) == y.GetObjectTM(t), at, "object transform");
            Check(x.GetVisibility(t) == y.GetVisibility(t), at, "visibility");
        }
        Check(x.NumModifiers() == y.NumModifiers(), where, "modifiers");
        if (Match(x.GetObjectRef(), y.GetObjectRef(), where + " object")) {
            for (const host::TimeValue t : times_) Object(*x.EvalWorldState(t), *y.EvalWorldState(t), where + " object at " + std::to_string(t));
        }
        const host::Object* ox = x.GetObjectRef();
        Check(ox->ClassID() == y.GetObjectRef()->ClassID() && ox->SuperClassID() == y.GetObjectRef()->SuperClassID(), where, "object class");
        Material(x.GetMtl(), y.GetMtl(), where + " material");
        if (x.GetSkin() && y.GetSkin()) Skin(*x.GetSkin(), *y.GetSkin(), where + " skin");
        else Check(!x.GetSkin() && !y.GetSkin(), where, "skin");
        Children(x, y, where);
    }

    void Object(const host::Object& x, const host::Object& y, const std::string& where) {
        if (!Check(x.ClassID() == y.ClassID() && x.SuperClassID() == y.SuperClassID(), where, "class")) return;
        if (Check(x.CanConvertToTriMesh(0) == y.CanConvertToTriMesh(0), where, "mesh conversion") && x.CanConvertToTriMesh(0)) {
            const auto mx = x.ConvertToTriMesh(0), my = y.ConvertToTriMesh(0);
            Mesh(*mx, *my, where);
        }
        host::PolyShape sx, sy;
        if (Check(x.MakePolyShape(0, sx) == y.MakePolyShape(0, sy), where, "shape") && sx.lines.size() == sy.lines.size()) {
            for (size_t i = 0; i < sx.lines.size(); ++i)
                Check(sx.lines[i].closed == sy.lines[i].closed && sx.lines[i].points == sy.lines[i].points, where, "polyline " + std::to_string(i));
        } else {
            Check(sx.lines.size() == sy.lines.size(), where, "polyline count");
        }
        host::LightState lx, ly;
        if (Check(x.EvalLightState(0, lx) == y.EvalLightState(0, ly), where, "light")) {
            Check(lx.type == ly.type && lx.color == ly.color && lx.on == ly.on && lx.hotsize == ly.hotsize && lx.fallsize == ly.fallsize &&
                      lx.useFarAtten == ly.useFarAtten && lx.farAttenEnd == ly.farAttenEnd && lx.intensity == ly.intensity,
                  where, "light state");
        }
        host::CameraState cx, cy;
        if (Check(x.EvalCameraState(0, cx) == y.EvalCameraState(0, cy), where, "camera"))
            Check(cx.fov == cy.fov && cx.isOrtho == cy.isOrtho && cx.targetDistance == cy.targetDistance, where, "camera state");
    }

    void Mesh(host::TriMesh& x, host::TriMesh& y, const std::string& where) {
        if (!Check(x.NumVerts() == y.NumVerts() && x.NumFaces() == y.NumFaces(), where, "mesh size")) return;
        for (int i = 0; i < x.NumVerts(); ++i)
            if (!Check(x.GetVert(i) == y.GetVert(i), where, "vertex " + std::to_string(i) + " " + Text(x.GetVert(i)) + " " + Text(y.GetVert(i)))) return;
        for (int f = 0; f < x.NumFaces(); ++f) {
            const host::Face &fx = x.GetFace(f), &fy = y.GetFace(f);
            if (!Check(std::equal(fx.v, fx.v + 3, fy.v) && fx.smGroup == fy.smGroup && fx.flags == fy.flags, where, "face " + std::to_string(f))) return;
        }
        for (int channel = host::kMapAlpha; channel <= host::kMapMaxChannel; ++channel) {
            const std::string at = where + " channel " + std::to_string(channel);
            if (!Check(x.MapSupport(channel) == y.MapSupport(channel), at, "support") || !x.MapSupport(channel)) continue;
            if (!Check(x.NumMapVerts(channel) == y.NumMapVerts(channel), at, "vertex count")) continue;
            for (int i = 0; i < x.NumMapVerts(channel); ++i) Check(x.MapVert(channel, i) == y.MapVert(channel, i), at, "vertex " + std::to_string(i));
            for (int f = 0; f < x.NumFaces(); ++f) {
                const host::MapFace mx = x.GetMapFace(channel, f), my = y.GetMapFace(channel, f);
                Check(std::equal(mx.t, mx.t + 3, my.t), at, "face " + std::to_string(f));
            }
        }
        const host::NormalSpec *nx = x.GetNormalSpec(), *ny = y.GetNormalSpec();
        if (!Check(!nx == !ny, where, "normal specification") || !nx) return;
        if (!Check(nx->NumNormals() == ny->NumNormals(), where, "normal count")) return;
        for (int i = 0; i < nx->NumNormals(); ++i)
            Check(nx->Normal(i) == ny->Normal(i) && nx->IsExplicit(i) == ny->IsExplicit(i), where, "normal " + std::to_string(i));
        for (int f = 0; f < x.NumFaces(); ++f)
            for (int c = 0; c < 3; ++c) Check(nx->FaceNormalIndex(f, c) == ny->FaceNormalIndex(f, c), where, "face normal " + std::to_string(f));
    }

    void Skin(const host::Skin& x, const host::Skin& y, const std::string& where) {
        Check(x.IsEnabled() == y.IsEnabled(), where, "enabled");
        if (!Check(x.NumBones() == y.NumBones() && x.NumVertices() == y.NumVertices(), where, "size")) return;
        for (int b = 0; b < x.NumBones(); ++b) Check(SameNode(x.GetBone(b), y.GetBone(b)), where, "bone " + std::to_string(b));
        for (int v = 0; v < x.NumVertices(); ++v) {
            if (!Check(x.NumAssignedBones(v) == y.NumAssignedBones(v), where, "vertex " + std::to_string(v))) continue;
            for (int k = 0; k < x.NumAssignedBones(v); ++k)
                Check(x.GetAssignedBone(v, k) == y.GetAssignedBone(v, k) && x.GetBoneWeight(v, k) == y.GetBoneWeight(v, k), where,
                      "weight " + std::to_string(v) + "/" + std::to_string(k));
        }
    }

    void Material(const host::Material* x, const host::Material* y, const std::string& where) {
        if (!Match(x, y, where)) return;
        Check(x->ClassID() == y->ClassID() && x->GetName() == y->GetName() && x->IsMultiMtl() == y->IsMultiMtl(), where, "class or name");
        Check(x->GetAmbient(0) == y->GetAmbient(0) && x->GetDiffuse(0) == y->GetDiffuse(0) && x->GetSpecular(0) == y->GetSpecular(0), where, "colours");
        Check(x->GetShinStr(0) == y->GetShinStr(0) && x->GetShininess(0) == y->GetShininess(0) && x->GetSpecularLevel(0) == y->GetSpecularLevel(0) &&
                  x->GetXParency(0) == y->GetXParency(0) && x->Requirements(-1) == y->Requirements(-1),
              where, "values");
        if (Check(x->NumSubMtls() == y->NumSubMtls(), where, "sub-material count"))
            for (int i = 0; i < x->NumSubMtls(); ++i) Material(x->GetSubMtl(i), y->GetSubMtl(i), where + " sub " + std::to_string(i));
        if (Check(x->NumSubTexmaps() == y->NumSubTexmaps(), where, "map count")) {
            for (int i = 0; i < x->NumSubTexmaps(); ++i) {
                Check(x->GetTexmapAmount(i, 0) == y->GetTexmapAmount(i, 0) && x->MapEnabled(i) == y->MapEnabled(i), where, "map " + std::to_string(i));
                Texture(x->GetSubTexmap(i), y->GetSubTexmap(i), where + " map " + std::to_string(i));
            }
        }
        const host::ParamBlock *bx = x->GetParamBlockById(0), *by = y->GetParamBlockById(0);
        if (!Check(!bx == !by, where, "parameter block") || !bx) return;
        for (const host::ParamDef& def : bx->GetDesc().params) {
            const std::string at = where + " parameter " + def.internalName;
            int ix = 0, iy = 0;
            float fx = 0, fy = 0;
            host::Material *mx = nullptr, *my = nullptr;
            host::Texture *tx = nullptr, *ty = nullptr;
            switch (def.type) {
                case host::ParamType::kInt:
                case host::ParamType::kBool: bx->GetValue(def.id, 0, ix), by->GetValue(def.id, 0, iy); Check(ix == iy, at, "value"); break;
                case host::ParamType::kFloat: bx->GetValue(def.id, 0, fx), by->GetValue(def.id, 0, fy); Check(fx == fy, at, "value"); break;
                case host::ParamType::kMaterial: bx->GetValue(def.id, 0, mx), by->GetValue(def.id, 0, my); Material(mx, my, at); break;
                case host::ParamType::kTexture: bx->GetValue(def.id, 0, tx), by->GetValue(def.id, 0, ty); Texture(tx, ty, at); break;
                default: break;
            }
        }
    }

    void Texture(const host::Texture* x, const host::Texture* y, const std::string& where) {
        if (!Match(x, y, where)) return;
        Check(x->ClassID() == y->ClassID() && x->GetName() == y->GetName(), where, "class or name");
        const host::UvGen *ux = x->GetUvGen(), *uy = y->GetUvGen();
        if (Check(!ux == !uy, where, "coordinates") && ux)
            Check(ux->GetMapChannel() == uy->GetMapChannel() && ux->GetCoordSource() == uy->GetCoordSource() &&
                      ux->GetUvTransform() == uy->GetUvTransform(),
                  where, "coordinates");
        struct Names : host::NameEnumCallback {
            std::vector<std::string> names;
            void RecordName(const std::string& name) override { names.push_back(name); }
        } nx, ny;
        x->EnumAuxFiles(nx, host::kFileEnumAll);
        y->EnumAuxFiles(ny, host::kFileEnumAll);
        Check(nx.names == ny.names, where, "files");
        if (x->ClassID() != host::kBitmapTextureClassId) {  // a bitmap's colours come from its file
            for (const host::Point3 uv : {host::Point3(0.05f, 0.05f, 0), host::Point3(0.2f, 0.05f, 0)})
                Check(x->EvalColor(PointContext(uv)) == y->EvalColor(PointContext(uv)), where, "colour");
        }
        if (Check(x->NumSubTexmaps() == y->NumSubTexmaps(), where, "map count"))
            for (int i = 0; i < x->NumSubTexmaps(); ++i) Texture(x->GetSubTexmap(i), y->GetSubTexmap(i), where + " map " + std::to_string(i));
    }

    const sim::Scene& a_;
    const sim::Scene& b_;
    std::vector<std::string> out_;
    std::vector<host::TimeValue> times_;
    std::map<const void*, const void*> matched_, matched_back_;
    std::map<const host::Node*, size_t> node_index_;
};

}  // namespace

std::vector<std::string> SceneDifferences(const sim::Scene& a, const sim::Scene& b) { return Comparer(a, b).Run(); }

}  // namespace simtest
