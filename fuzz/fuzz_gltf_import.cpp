// Feeds arbitrary bytes to the glTF import: a glb container when they start
// with its magic, glTF text otherwise; no external file is ever read. An
// import either gives a scene or throws ImportError; anything else (a crash,
// a hang, a leak, another exception) is a finding. A scene that imports is
// written as a scene file, which must load back.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "import/import_file.h"
#include "sim/scene_loader.h"
#include "sim/scene_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool binary = size >= 4 && std::memcmp(data, "glTF", 4) == 0;
    import::ImportResult result;
    try {
        result = import::ImportGltfBytes(data, size, binary, "/nonexistent", false);
    } catch (const import::ImportError&) {
        return 0;
    }
    sim::LoadSceneText(sim::SceneText(*result.scene));
    return 0;
}
