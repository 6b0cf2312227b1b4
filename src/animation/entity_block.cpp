#include "animation/entity_block.h"

namespace animation {

namespace {

using xIo::xSdl::begin;
using xIo::xSdl::end;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

bool Qualifies(const AnimationRange& a) { return a.fileName != a.name || a.speed > 0.0f || a.resume || a.autostart; }

}  // namespace

void WriteAnimationBlock(const ModelAnimation& animation, xIo::xSdl::eWriter& w) {
    bool opened = false;
    for (const AnimationRange& a : animation.animations) {
        if (!Qualifies(a)) continue;
        if (!opened) w << begin << Ident{"animation"} << newline << begin << Ident{"skeleton"} << newline;
        opened = true;
        w << begin << Ident{"binary"} << a.fileName;
        if (a.fileName != a.name) w << begin << Ident{"name"} << a.name << end;
        if (a.speed > 0.0f) w << begin << Ident{"speed"} << a.speed / 100.0f << end;
        if (a.resume) w << begin << Ident{"resume"} << end;
        if (a.autostart) w << begin << Ident{"autostart"} << end;
        w << endl;
    }
    if (opened) w << endl << endl;
}

}  // namespace animation
