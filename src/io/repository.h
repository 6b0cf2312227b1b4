#pragma once
// The resource repository: a virtual file system that maps resource paths
// onto storages (directories on disk and .pak archives) mounted at mount
// points. The mount table is built at start-up and only read afterwards.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "io/resource_name.h"
#include "io/storage.h"
#include "io/stream.h"

namespace xIo::xRepository {

/// Mounts a path on disk at mount_point (a resource path; normalised, given
/// its slashes). A .pak file becomes an archive storage; a directory becomes
/// a directory storage and its subdirectories and .pak files are mounted
/// below it, each at mount_point + its name (a .pak without its extension).
/// A path mounted before is passed over. A mount point whose last name ends
/// in '+' adds to the mount point without the '+' (after what is there,
/// warning "Using multi-part before 1st resource mount - '%1%'. Content loss
/// is possible." when nothing is); any other mount takes precedence over
/// what was mounted at its point before. Raises "%1%: can't open .pak" for an
/// unreadable archive and "%1%: nothing to mount" for a path that is neither.
void Mount(const std::string& mount_point, const std::string& disk_path);
/// Forgets every mount, storage, cache entry and open hook.
void UnmountAll();
/// Every mount point, in order, with the names of its storages, for tests
/// and tools: "point -> storage, storage".
std::vector<std::string> DescribeMounts();

/// Where a resource path lives.
struct eLocation {
    eStorage* storage = nullptr;
    std::string relative;  ///< the path inside the storage
};
/// The storage holding resource_path (already resolved): the storages of the
/// longest mount point first, each in mount order. With a writing mode a
/// missing file is placed in the first directory storage of the longest
/// mount point. False when none fits.
bool Locate(const std::string& resource_path, uint32_t mode, eLocation& out);

/// True when name resolves to a file that a storage holds.
bool Exists(const std::string& name);
/// A new stream over the resource, owned by the caller. The open hooks are
/// asked first, the most recently added first; then the storage found by
/// Locate opens it. Raises "File not found - %1%" (io/repository) when no
/// storage can open it.
std::unique_ptr<eStream> Open(const std::string& name, uint32_t mode = kModeRead);

/// A hook gets the resolved resource path and the mode and returns a stream,
/// or null to let the next hook or the mount table answer.
using OpenHook = std::function<std::unique_ptr<eStream>(const std::string& resource_path, uint32_t mode)>;
/// Adds a hook; returns its id for RemoveOpenHook.
int AddOpenHook(OpenHook hook);
void RemoveOpenHook(int id);

/// On-demand mounting (off by default): every file opened has its directory
/// on disk mounted first, at the mount point of the same name.
void SetOnDemandMounting(bool on);

/// Reads the cache list "/set/file_cache.set" (a sequence of strings naming
/// resources) and keeps the content of every listed archive entry in memory;
/// a name that no storage holds warns "Can't find file for caching: %1%". A
/// missing list caches nothing. Run by the start of the "app" module.
void LoadFileCache();
void ClearFileCache();

}  // namespace xIo::xRepository
