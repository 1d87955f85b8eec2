#pragma once

#include "settings/SettingsSection.h"

#include <filesystem>

namespace glimmer {

/// The about card: version, data sources and where the configuration file lives.
class AboutSection : public SettingsSection {
    Q_OBJECT

public:
    explicit AboutSection(QWidget* parent = nullptr);

    /// "配置存放：" and the file's path, the home folder written as "~".
    static QString configLine(const std::filesystem::path& configFile, const std::filesystem::path& home);
};

} // namespace glimmer
