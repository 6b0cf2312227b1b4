#pragma once
// The glTF reader's model, with the options every file that includes it must
// share: no image decoding (the exporter reads texture files itself), no
// external images read, file access through our own callbacks.
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#include <tiny_gltf.h>
