#pragma once
// The material of faces without one: grey, with an empty name, so that its
// submeshes name the empty material.
#include "host/material.h"

namespace geometry {

/// The one default material of the process, made on first use; it answers
/// as a standard material without maps.
host::Material& DefaultMaterial();

}  // namespace geometry
