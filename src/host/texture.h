#pragma once
// A texture map: sub-textures, coordinate generator, files of a bitmap,
// bitmap information and sampling.
#include <string>
#include <vector>

#include "host/math_matrix.h"
#include "host/reference.h"
#include "host/shade.h"

namespace host {

/// Where a texture takes its coordinates from.
enum class UvSource { kExplicit = 0, kObjectXyz = 1, kVertexColor = 2, kWorldXyz = 3 };

/// The coordinate generator of a texture.
class UvGen {
public:
    virtual ~UvGen() = default;
    /// The map channel (1..99) used with kExplicit.
    virtual int GetMapChannel() const = 0;
    virtual UvSource GetCoordSource() const = 0;
    /// The transform applied to (u, v, w): scale by tiling, rotate about the
    /// centre (0.5, 0.5), then offset.
    virtual Matrix3 GetUvTransform() const = 0;
};

/// Receives the file names a texture enumerates.
class NameEnumCallback {
public:
    virtual ~NameEnumCallback() = default;
    virtual void RecordName(const std::string& name) = 0;
};

// Flags of EnumAuxFiles.
enum : uint32_t { kFileEnumAll = 0x0, kFileEnumSkipChecked = 0x100 };

/// What the bitmap manager knows about a file without loading its pixels.
struct BitmapInfo {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
};

class Texture : public ReferenceTarget {
public:
    SuperClassId SuperClassID() const override { return kTextureClass; }

    /// The texture's name, code page 1251.
    virtual const std::string& GetName() const = 0;
    virtual int NumSubTexmaps() const = 0;
    /// Sub-texture i, or null (also for i out of range).
    virtual Texture* GetSubTexmap(int i) const = 0;
    /// The coordinate generator, or null for a texture without one.
    virtual const UvGen* GetUvGen() const = 0;

    /// Hands the texture's files (host paths) to callback.
    virtual void EnumAuxFiles(NameEnumCallback& callback, uint32_t flags) const = 0;
    /// The size and alpha of a bitmap's file without loading it; false for
    /// textures without a readable file.
    virtual bool GetBitmapInfo(BitmapInfo& info) const = 0;
    /// The colour at the context's coordinates.
    virtual AColor EvalColor(const ShadeContext& context) const = 0;
    /// Samples the texture over (u, v) in [0, 1]² into width × height pixels,
    /// rows from the top (v = 1) down; false when it cannot be sampled.
    virtual bool SampleRect(TimeValue t, int width, int height, std::vector<AColor>& pixels) const = 0;

    /// Brings cached values up to date at t and narrows valid to their validity.
    virtual void Update(TimeValue /*t*/, Interval& /*valid*/) {}
    /// The time range over which the texture's values hold at t.
    virtual Interval Validity(TimeValue /*t*/) const { return Interval::Forever(); }
};

}  // namespace host
