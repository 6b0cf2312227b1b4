#include "support/sim_helpers.h"

#include "base/cp1251.h"

namespace qeltest {

std::vector<std::string> Boxes(sim::Scene& scene) {
    std::vector<std::string> out;
    for (const sim::MessageBoxRecord& box : scene.Record().boxes) {
        const char* icon = "-";
        switch (box.icon) {
            case host::MessageBoxIcon::kError: icon = "E"; break;
            case host::MessageBoxIcon::kWarning: icon = "W"; break;
            case host::MessageBoxIcon::kInformation: icon = "I"; break;
            case host::MessageBoxIcon::kNone: break;
        }
        std::string line = std::string(icon) + "|" + Cp1251ToUtf8(box.caption) + "|" + Cp1251ToUtf8(box.text);
        if (!box.ownedByHostWindow) line += "|unowned";
        out.push_back(line);
    }
    return out;
}

host::Node* NodeNamed(sim::Scene& scene, const std::string& name) { return scene.GetNodeByName(name); }

}  // namespace qeltest
