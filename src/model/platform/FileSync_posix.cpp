#include "model/FileSync.h"

#include <unistd.h>

namespace glimmer::FileSync {

bool syncToDisk(std::FILE* handle) {
    return ::fsync(::fileno(handle)) == 0;
}

long processId() {
    return static_cast<long>(::getpid());
}

} // namespace glimmer::FileSync
