#include "base/settingsstore.h"

#include <QSettings>

namespace corvane {

SettingsStore::SettingsStore() : m_settings(std::make_unique<QSettings>(QStringLiteral("Corvane"), QStringLiteral("Corvane"))) {}

SettingsStore::SettingsStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::Path(const QString& section, const QString& key) {
    QString path = section;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path + QLatin1Char('/') + key;
}

QString SettingsStore::Get(const QString& section, const QString& key, const QString& fallback) const {
    const QVariant v = m_settings->value(Path(section, key));
    return v.isValid() ? v.toString() : fallback;
}

void SettingsStore::Save(const QString& section, const QString& key, const QString& value) {
    // A value already stored as it is stays unwritten, so a run that changes nothing leaves the
    // file alone instead of rewriting it (and waiting for the disk) at every sync.
    const QString path = Path(section, key);
    const QVariant stored = m_settings->value(path);
    if (stored.isValid() && stored.typeId() == QMetaType::QString && stored.toString() == value) return;
    m_settings->setValue(path, value);
}

void SettingsStore::Sync() { m_settings->sync(); }

} // namespace corvane
