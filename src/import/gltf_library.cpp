// The glTF reader's own code, compiled once.
#define TINYGLTF_IMPLEMENTATION
#include "import/gltf_model.h"
