#pragma once
// Writes a scene of the simulated host as a scene file: loading the text
// gives back the same scene. The text is deterministic (the same scene gives
// the same bytes): tables in the order of their ids, nodes in child order,
// numbers in their shortest form that reads back to the same value, texts
// converted from code page 1251 back to UTF-8.
//
// What a scene does not keep of the file it came from is not written back:
// members under "extra", the spelling of numbers, a transform given as
// position, rotation and scale (written as a matrix, or as "pos" when it is
// a translation alone). Materials and textures keep the ids of the file;
// those the file did not name (built by other means) get new ones. Nodes
// are named by name in skins, look-at targets and selection sets, so a node
// that shares its name with an earlier one is found as that one on loading,
// as the host's name lookup finds it.
#include <string>
#include <string_view>

#include "io/stream.h"
#include "sim/json_writer.h"
#include "sim/scene.h"

namespace sim {

/// Writes scene as scene file text (UTF-8 JSON) to sink. Throws WriteError
/// for what a scene file cannot hold.
void WriteScene(const Scene& scene, TextSink& sink);
/// The scene file text of scene.
std::string SceneText(const Scene& scene);
/// Writes scene to the file at path (a local path) through the core
/// library's file stream: under a temporary name, moved over path once
/// complete. False when the file cannot be opened; a failed write raises
/// through the error channel.
bool WriteSceneFile(const Scene& scene, const std::string& path);

}  // namespace sim
