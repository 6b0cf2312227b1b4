#pragma once
// One engine material as the ".material" file lists it.
#include <cstdint>
#include <string>

namespace materials {

struct MaterialRecord {
    std::string name;       ///< the host name after CleanName; "" for the default material
    std::string shader;     ///< "simple", "multiply", "blend", "bump", "envmap" or ""
    std::string blend;      ///< "none", "test", "blend", "add", "sub" or ""
    std::string diffuse;    ///< stored texture names (without extension) by slot
    std::string diffuse1;
    std::string bump;
    std::string specular;
    std::string mask;
    std::string envmap;
    float amount = 1.0f;          ///< reflection coefficient
    uint32_t color = 0xFFFFFFFF;  ///< specular colour word: blue in bits 0-7, then green, red, strength
    bool modulate2x = false;
};

}  // namespace materials
