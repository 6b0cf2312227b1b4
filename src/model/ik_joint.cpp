#include "model/ik_joint.h"

#include <cstdlib>
#include <optional>
#include <utility>

#include "base/format.h"
#include "scene/messages.h"
#include "scene/node_params.h"

namespace model {

using xIo::xSdl::Ident;

namespace {

struct TypeWord {
    const char* word;
    IkType type;
};
constexpr TypeWord kTypeWords[] = {
    {"revolute", IkType::Revolute},
    {"prizmatic", IkType::Prizmatic},
    {"socket", IkType::Socket},
};

std::optional<float> Number(host::Node& node, const char* key) {
    std::optional<std::string> value = scene::Property(node, key);
    if (!value) return std::nullopt;
    return IkNumber(*value);
}

}  // namespace

float IkNumber(const std::string& text) {
    std::string dotted = text;
    for (char& c : dotted)
        if (c == ',') c = '.';
    return static_cast<float>(std::strtod(dotted.c_str(), nullptr));
}

IkType WriteIkTypeWord(xIo::xSdl::eWriter& writer, host::Node& node, bool export_ik, scene::Reporter& report) {
    if (std::optional<std::string> value = scene::Property(node, "IKType")) {
        std::string lowered = *value;
        for (char& c : lowered)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        for (const TypeWord& t : kTypeWords) {
            if (lowered == t.word) {
                writer << Ident{t.word};
                return t.type;
            }
        }
        report.Error(format(scene::Message(scene::msg::kUnknownIkType)) % lowered % node.GetName());
        return IkType::None;
    }
    if (!export_ik) return IkType::None;
    host::JointFlags joint = node.GetJointFlags();
    if (joint.revolute) {
        writer << Ident{"revolute"};
        return IkType::Revolute;
    }
    if (joint.sliding) {
        writer << Ident{"prizmatic"};
        return IkType::Prizmatic;
    }
    return IkType::None;
}

void WriteIkLimits(xIo::xSdl::eWriter& writer, host::Node& node, IkType type) {
    bool terminator = scene::HasProperty(node, "IKTerminate") || node.GetJointFlags().chainEnd;
    if (type == IkType::None && !terminator) return;
    if (type != IkType::Socket) {
        std::optional<float> min = Number(node, "IKMin");
        std::optional<float> max = Number(node, "IKMax");
        if (min || max) {
            float lo = min.value_or(0.0f), hi = max.value_or(0.0f);
            if (hi < lo) std::swap(lo, hi);
            writer << xIo::xSdl::begin << Ident{"limits"} << lo << hi << xIo::xSdl::endl;
        }
    } else if (std::optional<float> limit = Number(node, "IKLimit")) {
        writer << xIo::xSdl::begin << Ident{"limits"} << *limit << xIo::xSdl::endl;
    }
    if (std::optional<float> speed = Number(node, "IKSpeed"))
        writer << xIo::xSdl::begin << Ident{"speed"} << *speed << xIo::xSdl::endl;
    if (terminator) writer << xIo::xSdl::begin << Ident{"terminator"} << xIo::xSdl::endl;
}

}  // namespace model
