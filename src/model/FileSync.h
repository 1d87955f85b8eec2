#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace glimmer::FileSync {

/// Forces a written file's data to the disk before it is renamed into place.
bool syncToDisk(std::FILE* handle);
long processId();
/// Appends the bytes to the end of the file, creating it, in one write: writers in other threads
/// and processes never land in the middle. False when the file cannot be opened or written.
bool appendAtOnce(const std::filesystem::path& file, std::string_view bytes);

} // namespace glimmer::FileSync
