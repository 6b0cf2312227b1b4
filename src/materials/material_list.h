#pragma once
// The material half of a directory's collector: the engine material records
// met on the meshes of the directory's models, written as the directory's
// ".material" file when the directory is finished.
#include <string>
#include <vector>

#include "materials/material_record.h"

namespace materials {

class MaterialList {
public:
    /// Adds record unless a record with exactly the same name is held; true
    /// when it was added.
    bool Add(MaterialRecord record);
    bool Empty() const { return records_.empty(); }
    void Clear() { records_.clear(); }
    /// The records in the order they were added.
    const std::vector<MaterialRecord>& Records() const { return records_; }
    /// The records sorted by name in natural order (NaturalLess).
    std::vector<MaterialRecord> Sorted() const;

private:
    std::vector<MaterialRecord> records_;
};

/// Natural order of names: runs of decimal digits at the same position
/// compare by their numeric value, other characters by their byte value
/// ("wall9" before "wall10"). Names equal in that order (such as "a01" and
/// "a1") fall back to their bytes, so the order is total.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace materials
