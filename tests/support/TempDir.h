#pragma once

#include <filesystem>
#include <string>

namespace glimmer::testing {

/// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return dir; }
    std::filesystem::path operator/(const std::string& name) const { return dir / name; }

private:
    std::filesystem::path dir;
};

/// The whole file; an absent file reads as empty.
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& content);

/// The folder of the test fixtures (tests/data).
std::filesystem::path dataDir();

} // namespace glimmer::testing
