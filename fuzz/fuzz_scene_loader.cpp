// Feeds arbitrary text to the scene loader, read in small chunks for odd
// sizes so that tokens cross chunk boundaries. A load either gives a scene
// or throws LoadError; anything else (a crash, a hang, a leak, another
// exception) is a finding. A scene that loads is written, and the writing
// must load and write the same bytes again. No plug-in is loaded: a
// CorvaneMtl material is one more load error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sim/json_cursor.h"
#include "sim/scene_loader.h"
#include "sim/scene_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    sim::TextSource source(text);
    std::unique_ptr<sim::Scene> scene;
    try {
        scene = sim::LoadSceneFrom(source, {}, size % 2 ? 16 : 4096);
    } catch (const sim::LoadError&) {
        return 0;
    }
    const std::string written = sim::SceneText(*scene);
    if (sim::SceneText(*sim::LoadSceneText(written)) != written) std::abort();
    return 0;
}
