#include "model/ik_joint.h"

#include <gtest/gtest.h>

#include "io/stream_memory.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

// The header word and the limit blocks of one node, and the boxes shown.
struct Joint {
    std::string word, limits;
    std::vector<std::string> boxes;
};

Joint WriteJoint(const std::string& props, bool export_ik = true) {
    auto scene = sim::SceneFromJson(R"("nodes": [{"name": "Колено", "props": ")" + props + R"("}])");
    host::Node& node = *scene->GetRootNode()->GetChildNode(0);
    scene::Reporter report(*scene);
    Joint joint;
    model::IkType type = model::IkType::None;
    for (std::string* part : {&joint.word, &joint.limits}) {
        xIo::eMemoryStream text(256);
        xIo::xSdl::eWriter writer;
        writer.Open(&text);
        // As the bone walk calls them: the limits only with IK export on.
        if (part == &joint.word) type = model::WriteIkTypeWord(writer, node, export_ik, report);
        else if (export_ik) model::WriteIkLimits(writer, node, type);
        writer.Close();
        *part = std::string(text.Data());
    }
    joint.boxes = qeltest::Boxes(*scene);
    return joint;
}

// IKMin and IKMax that are no finite float are written as 0, with a warning
// naming the value, the key and the node; finite values pass unchanged.
TEST(IkJoint, NumbersThatAreNotFiniteAreWarnedAboutAndWrittenAsZero) {
    struct Case {
        const char* props;
        const char* limits;
        std::vector<std::string> boxes;
    } cases[] = {
        {"IKType=revolute\\r\\nIKMin=-10\\r\\nIKMax=1e3\\r\\n", "{limits -10 1000}", {}},
        {"IKType=revolute\\r\\nIKMin=inf\\r\\nIKMax=20\\r\\n",
         "{limits 0 20}",
         {"W|Предупреждение|Значение 'inf' параметра 'IKMin' в кости 'Колено' не является конечным числом и записано как 0."}},
        {"IKType=revolute\\r\\nIKMin=-1e39\\r\\nIKMax=NaN\\r\\n",
         "{limits 0 0}",
         {"W|Предупреждение|Значение '-1e39' параметра 'IKMin' в кости 'Колено' не является конечным числом и записано как 0.",
          "W|Предупреждение|Значение 'NaN' параметра 'IKMax' в кости 'Колено' не является конечным числом и записано как 0."}},
        {"IKType=revolute\\r\\nIKMax=1e400\\r\\nIKSpeed=-infinity\\r\\n",
         "{limits 0 0}\r\n{speed 0}",
         {"W|Предупреждение|Значение '1e400' параметра 'IKMax' в кости 'Колено' не является конечным числом и записано как 0.",
          "W|Предупреждение|Значение '-infinity' параметра 'IKSpeed' в кости 'Колено' не является конечным числом и записано как 0."}},
        {"IKMin=inf\\r\\n", "", {}},  // no joint: no limits are written, nothing to warn about
    };
    for (const Case& c : cases) {
        Joint joint = WriteJoint(c.props);
        EXPECT_NE(joint.limits.find(c.limits), std::string::npos) << c.props << "\n" << joint.limits;
        if (*c.limits == 0) {
            EXPECT_EQ(joint.limits, "");
        }
        EXPECT_EQ(joint.limits.find("inf"), std::string::npos) << joint.limits;
        EXPECT_EQ(joint.limits.find("nan"), std::string::npos) << joint.limits;
        EXPECT_EQ(joint.boxes, c.boxes) << c.props;
    }
    // Without IK export the limits are not written, so nothing is checked.
    Joint off = WriteJoint("IKType=revolute\\r\\nIKMin=inf\\r\\n", false);
    EXPECT_EQ(off.word, "revolute");
    EXPECT_EQ(off.limits, "");
    EXPECT_EQ(off.boxes, std::vector<std::string>{});
    EXPECT_FLOAT_EQ(model::IkNumber("2,5"), 2.5f);
    EXPECT_FLOAT_EQ(model::IkNumber("x"), 0.0f);
}

}  // namespace
