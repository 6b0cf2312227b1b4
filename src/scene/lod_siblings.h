#pragma once
// The LOD bones of a bone: the siblings whose cleaned name begins with the
// bone's cleaned name and "_lod". Every bone of a model asks for its LOD
// bones, twice per export; the siblings of one parent are indexed by those
// name prefixes once, so asking costs no scan of the siblings.
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/node.h"

namespace scene {

class LodSiblings {
public:
    /// The LOD siblings of bone in ascending LOD order: siblings outside
    /// groups (or group heads) of kind bone, not hidden, whose cleaned name
    /// begins with bone's cleaned name followed by "_lod". Siblings of equal
    /// LOD index keep the order from the last sibling to the first.
    std::vector<host::Node*> Of(host::Node& bone);

private:
    // The qualifying children of one parent, from the last to the first,
    // under every prefix of their cleaned name that ends before a "_lod".
    using Index = std::map<std::string, std::vector<host::Node*>>;
    const Index& IndexOf(host::Node& parent);

    std::unordered_map<host::Node*, Index> parents_;
};

}  // namespace scene
