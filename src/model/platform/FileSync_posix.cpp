#include "model/FileSync.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace glimmer::FileSync {

bool syncToDisk(std::FILE* handle) {
    return ::fsync(::fileno(handle)) == 0;
}

long processId() {
    return static_cast<long>(::getpid());
}

bool appendAtOnce(const std::filesystem::path& file, std::string_view bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    ssize_t written = -1;
    do {
        written = ::write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    ::close(fd);
    return written == static_cast<ssize_t>(bytes.size());
}

} // namespace glimmer::FileSync
