#pragma once
// A small skinned, animated ASCII FBX file made by the tests, as the host
// writes one (z up, inches: a unit scale of 2.54 cm).
//
//   Rig (Null) user properties "Model=units/fbxrig&cr;&lf;animation=walk, everyone, 0-10&cr;&lf;"
//     hip (LimbNode) at (0, 0, 10)
//       knee (LimbNode) at (0, 0, 10); rotation about x: 0° at frame 0, 90° at frame 10
//     body (Mesh) a quad x −5..5, z 0..30 split in two triangles, one material
//          each ("red" with diffuse, specular and normal map files; "blue"),
//          skinned: vertices 0, 1 to hip, 2, 3 to knee (bound as it stands at frame 0;
//          as the host writes a cluster, its Transform is the inverse of its TransformLink)
//     arm (Null) at (10, 0, 0) with a rotation pivot at (0, 5, 0), turning
//          about z: 0° at frame 0, 90° at frame 10
//     cam (Camera, 60° field of view) at (0, −100, 50), aimed at cam.Target
//     cam.Target (Null) at (0, 0, 50)
//     lamp (spot light, 30° hotspot, 50° falloff) with props of more than 1023 bytes
#include <string>

namespace importtest {

std::string FbxRigText();

/// A file with one node "box" holding one triangle, 10 units up the file's
/// up axis (up_axis 1: y up, as other tools write; 2: z up); a unit is 1 m.
std::string SmallFbxText(int up_axis);

}  // namespace importtest
