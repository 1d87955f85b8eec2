#pragma once

#include <cstdio>

namespace glimmer::FileSync {

/// Forces a written file's data to the disk before it is renamed into place.
bool syncToDisk(std::FILE* handle);
long processId();

} // namespace glimmer::FileSync
