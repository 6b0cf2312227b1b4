#include "export_run.h"

#include "export/export_plugin.h"
#include "support/sim_helpers.h"
#include "support/temp_dir.h"

namespace importtest {

ExportOutcome ExportScene(sim::Scene& scene, const std::string& out) {
    scene.Paths().Add("d:/thegame/", out + "/thegame");
    scene.Paths().Install();
    std::unique_ptr<host::ReferenceTarget> object = LibClassDesc(0)->Create(scene, false);
    auto* exporter = dynamic_cast<::Export*>(object.get());
    exporter->SetConfigPath(out + "/config/QELEXPORT.CFG");
    exporter->DoExport("imported", nullptr, &scene, true, 0);
    sim::PathMap::Uninstall();
    return {qeltest::Boxes(scene), qeltest::FilesUnder(out)};
}

}  // namespace importtest
