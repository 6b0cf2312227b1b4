#include "io/path_map.h"

namespace xIo {

namespace {
PathMapper& Mapper() {
    static PathMapper mapper;
    return mapper;
}
}  // namespace

void SetPathMapper(PathMapper mapper) { Mapper() = std::move(mapper); }

std::string LocalPath(const std::string& path) { return Mapper() ? Mapper()(path) : path; }

}  // namespace xIo
