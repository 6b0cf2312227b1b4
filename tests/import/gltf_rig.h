#pragma once
// A small skinned, animated glTF rig made by the tests, written as .gltf
// with an external buffer, as .gltf with the buffer embedded, and as .glb.
//
//   Rig (extras: props "Model=units/rig\nanimation=walk, everyone, 0-10\n",
//        then weight 2, lod true, note "x"; an object member is ignored)
//     hip   translation (0, 1, 0)
//       knee  translation (0, 1, 0); rotation keys 0 s: none, 1/3 s: 90° about x
//     body  mesh 0 (a quad of two triangles, x −0.5..0.5, y 0..2), skin 0
//     cam   camera 0 (yfov 0.5 rad, aspect 2), translation (0, 1, 5)
//     lamp  light 0 (spot, inner 0.2 rad, outer 0.4 rad, range 7)
// The skin binds with identity inverse bind matrices: vertices 0 and 1 to
// hip, 2 and 3 to knee. Material 0 has the base colour texture
// "tex/skin.png" and the normal texture "tex/skin n.png" (written %20).
#include <string>
#include <vector>

namespace importtest {

struct GltfRig {
    std::string json;             ///< the glTF JSON, its buffer named "rig.bin"
    std::vector<unsigned char> bin;  ///< the buffer
};

GltfRig MakeGltfRig();

/// rig.gltf + rig.bin in dir; returns the .gltf path.
std::string WriteGltfExternal(const GltfRig& rig, const std::string& dir);
/// rig_embedded.gltf (a data URI buffer) in dir; returns its path.
std::string WriteGltfEmbedded(const GltfRig& rig, const std::string& dir);
/// The .glb bytes of rig.
std::vector<unsigned char> GlbBytes(const GltfRig& rig);
/// rig.glb in dir; returns its path.
std::string WriteGlb(const GltfRig& rig, const std::string& dir);

}  // namespace importtest
