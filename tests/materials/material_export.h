#pragma once
// A whole export of a scene written inline, with the material plug-in
// loaded as the host loads it, source bitmaps served from a temporary
// folder under "d:/-projects-/-bitmaps-/" and "d:/art/", and the game path
// "d:/thegame/" served from another.
#include <string>
#include <string_view>
#include <vector>

#include "sim/scene.h"
#include "support/temp_dir.h"

namespace mattest {

class MaterialExport {
public:
    /// Writes nothing yet: call Load after putting the source bitmaps.
    MaterialExport();
    ~MaterialExport();

    /// members: the top-level members of a scene file after "format" and "version".
    void Load(std::string_view members);
    /// Runs an export without prompts; returns the message boxes shown.
    std::vector<std::string> Run();

    /// A local path under the shared source folder "d:/-projects-/-bitmaps-/".
    std::string Shared(const std::string& relative) const { return dir_ / ("bitmaps/" + relative); }
    /// A local path under "d:/-projects-/" (outside the shared folder).
    std::string Projects(const std::string& relative) const { return dir_ / ("projects/" + relative); }
    /// A local path under "d:/art/".
    std::string Art(const std::string& relative) const { return dir_ / ("art/" + relative); }
    /// A local path under the game path.
    std::string Game(const std::string& relative) const { return dir_ / ("thegame/" + relative); }
    /// Every file under the game path, relative, sorted.
    std::vector<std::string> Files() const;

private:
    qeltest::TempDir dir_;
    std::unique_ptr<sim::Scene> scene_;
};

/// Writes an uncompressed TGA file of width x height pixels: every pixel
/// the colour rgba, alpha written when with_alpha (32 bits a pixel, else 24).
void WriteTga(const std::string& path, int width, int height, uint32_t rgba, bool with_alpha);

/// The qelinspect text of a DDS or bitmap file, or its error.
std::string InspectDds(const std::string& path);
std::string InspectBmp(const std::string& path);

}  // namespace mattest
