#include "geometry/corner_normals.h"

namespace geometry {

host::Point3 CornerNormal(host::TriMesh& mesh, const host::NormalSpec* spec, int face, int corner) {
    if (spec != nullptr) {
        int index = spec->FaceNormalIndex(face, corner);
        if (index >= 0 && spec->IsExplicit(index)) return spec->GetNormal(face, corner);
    }
    const host::Face& f = mesh.GetFace(face);
    const host::RenderVertex& vertex = mesh.GetRenderVertex(static_cast<int>(f.v[corner]));
    if (!vertex.normals.empty()) {
        if (vertex.specified) return vertex.normals.front().normal;
        if (f.smGroup != 0) {
            if (vertex.normals.size() == 1) return vertex.normals.front().normal;
            for (auto it = vertex.normals.rbegin(); it != vertex.normals.rend(); ++it)
                if ((it->smGroup & f.smGroup) != 0) return it->normal;
        }
    }
    return mesh.FaceNormal(face);
}

}  // namespace geometry
