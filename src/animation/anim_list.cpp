#include "animation/anim_list.h"

#include <cmath>
#include <initializer_list>

namespace animation {

namespace {

using xIo::xSdl::Ident;

float Rounded(float value) {
    // Adding 0 turns a rounded -0 into 0, so a tiny negative never prints as "-0".
    return static_cast<float>(std::round(static_cast<double>(value) * 10000.0) / 10000.0) + 0.0f;
}

void WriteNumbers(xIo::xSdl::eWriter& w, const char* name, std::initializer_list<float> values) {
    w << Ident{name};
    bool first = true;
    for (float v : values) {
        if (!first) w << Ident{"\t"};
        first = false;
        w << Rounded(v);
    }
    w << xIo::xSdl::newline;
}

}  // namespace

void WriteAnimListHeader(xIo::xSdl::eWriter& w, const std::string& animation_name, const std::string& node_name) {
    std::string header = "-= Animation: " + animation_name + ", Node " + node_name + " =-\n";
    w << Ident{header.c_str()};
}

void WriteAnimListFrame(xIo::xSdl::eWriter& w, const AnimListFrame& frame) {
    w << Ident{"frame"} << frame.frame << xIo::xSdl::begin << xIo::xSdl::newline;
    if (frame.visible) w << Ident{"visibility"} << int32_t{*frame.visible ? 1 : 0} << xIo::xSdl::newline;
    if (frame.position) WriteNumbers(w, "position", {frame.position->x, frame.position->y, frame.position->z});
    if (const auto& q = frame.orientation) WriteNumbers(w, "orientation", {q->x, q->y, q->z, q->w});
    w << xIo::xSdl::endl;
}

}  // namespace animation
