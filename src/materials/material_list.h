#pragma once
// The material half of a directory's collector: the engine material records
// met on the meshes of the directory's models, written as the directory's
// ".material" file when the directory is finished.
namespace materials {

struct MaterialList {
    // The material records arrive with the material writer.
    bool Empty() const { return true; }
    void Clear() {}
};

}  // namespace materials
