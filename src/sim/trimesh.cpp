#include <array>
#include <utility>

#include "sim/mesh_data.h"

namespace sim {

namespace {

class SpecifiedNormals : public host::NormalSpec {
public:
    explicit SpecifiedNormals(const NormalSpecData& data) : data_(data) {}
    int NumNormals() const override { return static_cast<int>(data_.normals.size()); }
    host::Point3 Normal(int i) const override { return InRange(i) ? data_.normals[size_t(i)] : host::Point3(); }
    bool IsExplicit(int i) const override { return InRange(i) && data_.isExplicit[size_t(i)]; }
    int FaceNormalIndex(int face, int corner) const override {
        if (face < 0 || size_t(face) >= data_.faces.size() || corner < 0 || corner > 2) return -1;
        return data_.faces[size_t(face)][size_t(corner)];
    }
    host::Point3 GetNormal(int face, int corner) const override { return Normal(FaceNormalIndex(face, corner)); }

private:
    bool InRange(int i) const { return i >= 0 && size_t(i) < data_.normals.size(); }
    const NormalSpecData& data_;
};

class SimTriMesh : public host::TriMesh {
public:
    SimTriMesh(std::shared_ptr<const MeshData> shared, std::vector<host::Point3> positions)
        : shared_(std::move(shared)), data_(*shared_), positions_(std::move(positions)),
          verts_(positions_.empty() ? data_.verts : positions_) {
        if (data_.normals) spec_ = std::make_unique<SpecifiedNormals>(*data_.normals);
        for (const auto& [number, channel] : data_.channels)
            if (number >= host::kMapAlpha && number <= host::kMapMaxChannel) channels_[size_t(number - host::kMapAlpha)] = &channel;
    }

    int NumVerts() const override { return static_cast<int>(verts_.size()); }
    host::Point3 GetVert(int i) const override { return verts_.at(size_t(i)); }
    int NumFaces() const override { return static_cast<int>(data_.faces.size()); }
    const host::Face& GetFace(int i) const override { return data_.faces.at(size_t(i)); }

    bool MapSupport(int channel) const override { return Channel(channel) != nullptr; }
    int NumMapVerts(int channel) const override {
        const MapChannelData* found = Channel(channel);
        return found == nullptr ? 0 : static_cast<int>(found->verts.size());
    }
    host::Point3 MapVert(int channel, int i) const override {
        const MapChannelData* found = Channel(channel);
        if (found == nullptr || i < 0 || size_t(i) >= found->verts.size()) return {};
        return found->verts[size_t(i)];
    }
    host::MapFace GetMapFace(int channel, int face) const override {
        const MapChannelData* found = Channel(channel);
        if (found == nullptr || face < 0 || size_t(face) >= found->faces.size()) return {};
        return found->faces[size_t(face)];
    }

    const host::NormalSpec* GetNormalSpec() const override { return spec_.get(); }

    void BuildNormals() override;
    host::Point3 FaceNormal(int i) override {
        BuildNormals();
        return face_normals_.at(size_t(i));
    }
    const host::RenderVertex& GetRenderVertex(int i) override {
        BuildNormals();
        return render_.at(size_t(i));
    }

    host::Box3 VertexBox() const override {
        host::Box3 box;
        box.IncludePoints(verts_.data(), verts_.size());
        return box;
    }

private:
    const MapChannelData* Channel(int number) const {
        return number >= host::kMapAlpha && number <= host::kMapMaxChannel ? channels_[size_t(number - host::kMapAlpha)]
                                                                           : nullptr;
    }

    std::shared_ptr<const MeshData> shared_;
    const MeshData& data_;
    std::vector<host::Point3> positions_;
    const std::vector<host::Point3>& verts_;  // the data's vertices or positions_
    // Channels −2 to 99 by number + 2, so per-corner queries need no map lookup.
    std::array<const MapChannelData*, host::kMapMaxChannel - host::kMapAlpha + 1> channels_{};
    std::unique_ptr<SpecifiedNormals> spec_;
    bool built_ = false;
    std::vector<host::Point3> face_normals_;
    std::vector<host::RenderVertex> render_;
};

void SimTriMesh::BuildNormals() {
    if (built_) return;
    built_ = true;
    face_normals_.resize(data_.faces.size());
    render_.assign(verts_.size(), {});
    for (size_t f = 0; f < data_.faces.size(); ++f) {
        const host::Face& face = data_.faces[f];
        const host::Point3& a = verts_[face.v[0]];
        const host::Point3 area = host::CrossProd(verts_[face.v[1]] - a, verts_[face.v[2]] - a);
        face_normals_[f] = host::Normalize(area);
        if (face.smGroup == 0) continue;
        // A face joins the first normal of each corner's vertex that shares a
        // smoothing bit with it; weighting by area keeps slivers from tilting it.
        for (uint32_t v : face.v) {
            std::vector<host::RenderNormal>& normals = render_[v].normals;
            bool joined = false;
            for (host::RenderNormal& normal : normals) {
                if ((normal.smGroup & face.smGroup) != 0) {
                    normal.normal += area;
                    normal.smGroup |= face.smGroup;
                    joined = true;
                    break;
                }
            }
            if (!joined) normals.push_back({area, face.smGroup});
        }
    }
    for (host::RenderVertex& vertex : render_)
        for (host::RenderNormal& normal : vertex.normals) normal.normal = host::Normalize(normal.normal);
    if (!data_.normals) return;
    // A vertex whose every corner names the same explicit normal carries it as
    // its specified render normal.
    std::vector<int> chosen(verts_.size(), -2);  // −2 unseen, −1 mixed or none
    for (size_t f = 0; f < data_.faces.size() && f < data_.normals->faces.size(); ++f) {
        for (size_t c = 0; c < 3; ++c) {
            const int n = data_.normals->faces[f][c];
            const bool valid = n >= 0 && data_.normals->isExplicit[size_t(n)];
            int& slot = chosen[data_.faces[f].v[c]];
            slot = !valid ? -1 : (slot == -2 || slot == n ? n : -1);
        }
    }
    for (size_t v = 0; v < chosen.size(); ++v) {
        if (chosen[v] < 0) continue;
        render_[v].specified = true;
        render_[v].normals.assign(1, {host::Normalize(data_.normals->normals[size_t(chosen[v])]), 0xFFFFFFFFu});
    }
}

}  // namespace

std::unique_ptr<host::TriMesh> MakeTriMesh(std::shared_ptr<const MeshData> data, std::vector<host::Point3> positions) {
    return std::make_unique<SimTriMesh>(std::move(data), std::move(positions));
}

}  // namespace sim
