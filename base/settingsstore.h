#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace corvane {

// The per-user settings store: text values by section and key, application "Corvane".
// Tests give it a file of their own so they never touch the user's real settings.
class SettingsStore {
public:
    SettingsStore();                              // the user's store
    explicit SettingsStore(const QString& iniFile); // a private file
    ~SettingsStore();

    QString Get(const QString& section, const QString& key, const QString& fallback = QString()) const;
    void Save(const QString& section, const QString& key, const QString& value);
    void Sync();

private:
    static QString Path(const QString& section, const QString& key);
    std::unique_ptr<QSettings> m_settings;
};

} // namespace corvane
