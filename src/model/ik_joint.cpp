#include "model/ik_joint.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "base/format.h"
#include "model/messages.h"
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

// The number text reads as; nullopt when that is no finite float (a double
// beyond the float range would not even convert defined).
std::optional<float> FiniteNumber(const std::string& text) {
    std::string dotted = text;
    for (char& c : dotted)
        if (c == ',') c = '.';
    double value = std::strtod(dotted.c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(value);
}

bool EndsChain(host::Node& node) { return scene::HasProperty(node, "IKTerminate") || node.GetJointFlags().chainEnd; }

// The keys WriteIkLimits reads for a joint of this type.
std::vector<const char*> LimitKeys(host::Node& node, IkType type) {
    if (type == IkType::None && !EndsChain(node)) return {};
    if (type == IkType::Socket) return {"IKLimit", "IKSpeed"};
    return {"IKMin", "IKMax", "IKSpeed"};
}

void WarnAboutNumbers(host::Node& node, IkType type, scene::Reporter& report) {
    for (const char* key : LimitKeys(node, type)) {
        std::optional<std::string> value = scene::Property(node, key);
        if (value && !FiniteNumber(*value))
            report.Warning(format(scene::Message(msg::kNotFiniteIkValue)) % *value % key % node.GetName());
    }
}

// The joint type that node's IKType or joint settings give; reports an
// unknown IKType.
IkType DecideType(host::Node& node, bool export_ik, scene::Reporter& report) {
    if (std::optional<std::string> value = scene::Property(node, "IKType")) {
        std::string lowered = *value;
        for (char& c : lowered)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        for (const TypeWord& t : kTypeWords)
            if (lowered == t.word) return t.type;
        report.Error(format(scene::Message(scene::msg::kUnknownIkType)) % lowered % node.GetName());
        return IkType::None;
    }
    if (!export_ik) return IkType::None;
    host::JointFlags joint = node.GetJointFlags();
    if (joint.revolute) return IkType::Revolute;
    if (joint.sliding) return IkType::Prizmatic;
    return IkType::None;
}

}  // namespace

float IkNumber(const std::string& text) { return FiniteNumber(text).value_or(0.0f); }

IkType WriteIkTypeWord(xIo::xSdl::eWriter& writer, host::Node& node, bool export_ik, scene::Reporter& report) {
    IkType type = DecideType(node, export_ik, report);
    for (const TypeWord& t : kTypeWords)
        if (t.type == type) writer << Ident{t.word};
    // WriteIkLimits has no reporter: its numbers are checked here, where the
    // joint type is decided, on the same condition that it is called on.
    if (export_ik) WarnAboutNumbers(node, type, report);
    return type;
}

void WriteIkLimits(xIo::xSdl::eWriter& writer, host::Node& node, IkType type) {
    bool terminator = EndsChain(node);
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
