#include "import/skin_pose.h"

#include <cmath>

#include "import/transforms.h"

namespace import {

void PoseAtFrameZero(sim::MeshData& mesh, SkinBinding& skin, const sim::SimNode& node) {
    for (auto& pairs : skin.weights) {
        float total = 0;
        for (const auto& [bone, weight] : pairs) total += weight;
        if (total > 0 && total != 1.0f)
            for (auto& pair : pairs) pair.second /= total;
    }
    std::vector<host::Matrix3> to_world(skin.bones.size());
    for (size_t b = 0; b < skin.bones.size(); ++b) to_world[b] = skin.inverseBind[b] * skin.bones[b]->GetNodeTM(0);
    const host::Matrix3 to_object = host::Inverse(node.GetObjectTM(0));
    // A file written in the pose of frame 0 (the usual case) needs no change.
    bool moves = false;
    for (const host::Matrix3& m : to_world) moves = moves || !(m * to_object).Equals(host::Matrix3(), 1e-6f);
    if (!moves) return;
    std::vector<host::Matrix3> normal_to_world(to_world.size());
    for (size_t b = 0; b < to_world.size(); ++b) normal_to_world[b] = host::Transpose(host::Inverse(to_world[b]));
    const host::Matrix3 normal_to_object = host::Transpose(host::Inverse(to_object));

    // The normal of a vertex follows its vertex's bones where the normals
    // are one per vertex; other normal layouts keep their directions.
    const bool normals_per_vertex = mesh.normals && mesh.normals->normals.size() == mesh.verts.size();
    for (size_t v = 0; v < mesh.verts.size() && v < skin.weights.size(); ++v) {
        const auto& pairs = skin.weights[v];
        if (pairs.empty()) continue;
        host::Point3 position{0, 0, 0}, normal{0, 0, 0};
        for (const auto& [bone, weight] : pairs) {
            position += (mesh.verts[v] * to_world[size_t(bone)]) * weight;
            if (normals_per_vertex) normal += normal_to_world[size_t(bone)].VectorTransform(mesh.normals->normals[v]) * weight;
        }
        mesh.verts[v] = Limited(position * to_object);
        if (normals_per_vertex) {
            normal = normal_to_object.VectorTransform(normal);
            const float length = normal.Length();
            if (length > 0 && std::isfinite(length)) mesh.normals->normals[v] = normal / length;
        }
    }
}

}  // namespace import
