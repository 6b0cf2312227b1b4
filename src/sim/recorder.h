#pragma once
// What the exporter did to the simulated host, in order, for tests to assert.
#include <string>
#include <vector>

#include "host/time.h"
#include "host/ui.h"

namespace host {
class ReferenceTarget;
}

namespace sim {

struct MessageBoxRecord {
    std::string caption;  ///< code page 1251, as shown
    std::string text;     ///< code page 1251, as shown
    host::MessageBoxIcon icon = host::MessageBoxIcon::kNone;
    host::MessageBoxButtons buttons = host::MessageBoxButtons::kOk;
    bool ownedByHostWindow = false;  ///< the owner was the host's main window
    bool hadOwner = false;           ///< any owner was given
};

struct ProgressRecord {
    enum Kind { kStart, kUpdate, kEnd, kCancelPoll, kTitle } kind = kStart;
    std::string title;    ///< kStart, kTitle
    int percent = 0;      ///< kUpdate
    bool cancel = false;  ///< kCancelPoll: the answer given
};

struct RenderRecord {
    const host::ReferenceTarget* target = nullptr;
    std::string label;  ///< the object's id in the scene file, or the target's name
    bool begin = true;  ///< RenderBegin, else RenderEnd
    host::TimeValue t = 0;
};

struct Recorder {
    std::vector<MessageBoxRecord> boxes;
    std::vector<ProgressRecord> progress;
    std::vector<std::string> hold;  ///< "begin", "cancel", "accept"
    std::vector<RenderRecord> render;
    std::vector<int> panelModes;    ///< every SetCommandPanelTaskMode
    std::vector<std::string> lightDescUpdates;  ///< node name per light descriptor update

    void Clear() { *this = Recorder(); }
};

}  // namespace sim
