#pragma once
// The folders a model creates for its files. A model that is given up (it
// failed, or the artist cancelled while it was written) leaves none of the
// folders it created behind unless something else was written into them.
#include <string>
#include <vector>

namespace export_driver {

class ModelFolders {
public:
    /// Creates path (a host path) with every missing parent, remembering
    /// the ones it created; true when the folder exists afterwards.
    bool Make(const std::string& path);
    /// Removes the folders Make created that are empty, deepest first.
    void RemoveEmptyCreated();

private:
    std::vector<std::string> created_;  // in creation order: parents first
};

}  // namespace export_driver
