#include "settings/AboutSection.h"

#include "model/AppPaths.h"
#include "settings/SettingsControls.h"

#include <QLabel>
#include <QVBoxLayout>

namespace glimmer {

QString AboutSection::configLine(const std::filesystem::path& configFile, const std::filesystem::path& home) {
    const QString file = QString::fromStdString(configFile.generic_string());
    QString homeText = QString::fromStdString(home.generic_string());
    while (homeText.size() > 1 && homeText.endsWith(QLatin1Char('/'))) homeText.chop(1);
    QString shown = file;
    if (!homeText.isEmpty() && homeText != QLatin1String("/") && file.startsWith(homeText + QLatin1Char('/')))
        shown = QStringLiteral("~") + file.mid(homeText.size());
    return QStringLiteral("配置存放：") + shown;
}

AboutSection::AboutSection(QWidget* parent) : SettingsSection(QStringLiteral("关于与数据源"), std::nullopt, parent) {
    const QString lines[] = {
        QStringLiteral("Glimmerbox 1.0.0 · 墨川工坊"),
        QStringLiteral("数据源：东方财富分时/分钟资金流 + 腾讯前复权日 K（被拦时自动降级新浪），直连公开接口。"),
        configLine(AppPaths::configFile(), AppPaths::homeDir()),
    };
    for (const QString& line : lines) {
        QLabel* label = SettingsControls::text(line, this);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        contentLayout()->addWidget(label);
    }
    contentLayout()->itemAt(2)->widget()->setObjectName(QStringLiteral("configPath"));
}

} // namespace glimmer
