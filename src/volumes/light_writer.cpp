#include "volumes/light_writer.h"

#include <algorithm>
#include <cmath>

#include "volumes/frames.h"

namespace volumes {

using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;

namespace {

constexpr float kColorTolerance = 0.00001f;

uint32_t Channel(float c) { return static_cast<uint32_t>(std::trunc(std::clamp(c, 0.0f, 1.0f) * 255.0f + 0.5f)); }

bool Differs(const host::Color& a, const host::Color& b) {
    return std::fabs(a.r - b.r) > kColorTolerance || std::fabs(a.g - b.g) > kColorTolerance ||
           std::fabs(a.b - b.b) > kColorTolerance;
}

}  // namespace

uint32_t ColorWord(const host::Color& color) {
    return 0xFF000000u + Channel(color.r) * 65536u + Channel(color.g) * 256u + Channel(color.b);
}

void WriteLight(const VolumeSettings& settings, host::Node& node, const host::Object& light, bool& first_directional,
                const host::Color& ambient, xIo::xSdl::eWriter& w) {
    host::LightState state;
    light.EvalLightState(0, state);
    const host::Matrix3 l = node.GetNodeTM(0) * WorldToModel(settings, 0);
    const host::Point3 position = l.GetTrans() * settings.masterScale;
    // The light shines down its negative z axis; scaled like a position and
    // left unnormalised, as the engine reads it.
    const host::Point3 direction = -l.GetRow(2) * settings.masterScale;
    const bool range = state.useFarAtten;
    switch (state.type) {
        case host::LightType::kSpot:
            w << begin << Ident{"type spot"} << endl;
            WriteTripleBlock(w, "position", position);
            WriteTripleBlock(w, "direction", direction);
            w << begin << Ident{"angle"} << state.hotsize << endl;
            w << begin << Ident{"angle0"} << state.fallsize << endl;
            if (range) w << begin << Ident{"range"} << state.farAttenEnd << endl;
            break;
        case host::LightType::kDirectional:
            w << begin << Ident{"type directional"} << endl;
            WriteTripleBlock(w, "direction", direction);
            if (first_directional) {
                first_directional = false;
                if (Differs(ambient, host::Color(0, 0, 0))) w << begin << Ident{"ambient"} << ColorWord(ambient) << endl;
            }
            break;
        case host::LightType::kOmni:
        case host::LightType::kAmbient:
            w << begin << Ident{"type point"} << endl;
            WriteTripleBlock(w, "position", position);
            if (range) w << begin << Ident{"range"} << state.farAttenEnd << endl;
            break;
    }
    if (Differs(state.color, host::Color(1, 1, 1))) w << begin << Ident{"diffuse"} << ColorWord(state.color) << endl;
}

}  // namespace volumes
