#include "model/FileSync.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>

namespace glimmer::FileSync {

bool syncToDisk(std::FILE* handle) {
    return ::_commit(::_fileno(handle)) == 0;
}

long processId() {
    return static_cast<long>(::_getpid());
}

bool appendAtOnce(const std::filesystem::path& file, std::string_view bytes) {
    int fd = -1;
    if (::_wsopen_s(&fd, file.c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                    _S_IREAD | _S_IWRITE) != 0) {
        return false;
    }
    const int written = ::_write(fd, bytes.data(), static_cast<unsigned>(bytes.size()));
    ::_close(fd);
    return written == static_cast<int>(bytes.size());
}

} // namespace glimmer::FileSync
