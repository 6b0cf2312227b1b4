#pragma once
// The base of everything the host keeps in its scene graph: nodes, objects,
// materials, textures, parameter blocks and plug-in objects. A target has a
// class identity, numbered references to other targets, a work flag for
// graph walks, render preparation and saved state.
#include <cstdint>
#include <memory>

#include "host/class_id.h"
#include "host/time.h"

namespace host {

class ChunkSaver;
class ChunkLoader;
class ReferenceTarget;

/// What changed, as a reference tells the targets that hold it.
enum class RefMessage {
    kChanged,       ///< a value changed; for a parameter block, param_id names it
    kTargetDeleted  ///< the referenced target goes away
};

/// Clones references while a target clones itself, so a target shared by two
/// references is cloned once.
class RemapDir {
public:
    virtual ~RemapDir() = default;
    /// The clone of target, made on first request; null for null. The host owns it.
    virtual ReferenceTarget* CloneRef(ReferenceTarget* target) = 0;
};

class ReferenceTarget {
public:
    virtual ~ReferenceTarget() = default;

    virtual ClassId ClassID() const = 0;
    virtual SuperClassId SuperClassID() const = 0;

    /// The number of reference slots.
    virtual int NumRefs() const { return 0; }
    /// The target in slot i, or null (also for i out of range).
    virtual ReferenceTarget* GetReference(int /*i*/) const { return nullptr; }
    /// Puts target (may be null) into slot i; out-of-range slots are ignored.
    virtual void SetReference(int /*i*/, ReferenceTarget* /*target*/) {}
    /// Called by a referenced target when it changed; param_id is the
    /// parameter of a parameter block that changed, or −1.
    virtual void OnReferenceChanged(ReferenceTarget* /*from*/, RefMessage /*message*/, int /*param_id*/) {}

    /// Prepares for rendering at t; returns 1 when something was done.
    virtual int RenderBegin(TimeValue /*t*/) { return 0; }
    /// Ends the rendering started by RenderBegin; returns 1 when something was done.
    virtual int RenderEnd(TimeValue /*t*/) { return 0; }

    /// Writes the target's own state (not its references) as chunks.
    virtual void Save(ChunkSaver& /*saver*/) const {}
    /// Reads what Save wrote; false when the data is malformed.
    virtual bool Load(ChunkLoader& /*loader*/) { return true; }
    /// A copy whose references are cloned through remap; null when the class
    /// cannot be cloned.
    virtual std::unique_ptr<ReferenceTarget> Clone(RemapDir& /*remap*/) const { return nullptr; }

    /// The work flag of graph walks: set to mark a target visited, cleared after.
    void SetWorkFlag(bool on) { work_flag_ = on; }
    bool TestWorkFlag() const { return work_flag_; }

private:
    bool work_flag_ = false;
};

}  // namespace host
