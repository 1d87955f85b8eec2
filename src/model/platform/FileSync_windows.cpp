#include "model/FileSync.h"

#include <io.h>
#include <process.h>

namespace glimmer::FileSync {

bool syncToDisk(std::FILE* handle) {
    return ::_commit(::_fileno(handle)) == 0;
}

long processId() {
    return static_cast<long>(::_getpid());
}

} // namespace glimmer::FileSync
