#pragma once

#include <QString>

// The per-user settings store: text values by application, section and key.
// On Linux they live in $XDG_CONFIG_HOME/<application>/<application>.conf. Nothing is cached:
// every read opens the store again, so a value changed elsewhere is seen at the next use.
// A file over MaxFileSize is neither read nor rewritten: reads give the default, saves fail.
namespace SettingsStore {

// What became of a save: on failure, the settings file and the system's reason, as a user may read them.
struct SaveResult
{
    QString fileName;
    QString reason; // empty when the value was stored
    bool ok() const { return reason.isEmpty(); }
};

QString GetSetting(
    const QString &application, const QString &section, const QString &key, const QString &defaultValue);
SaveResult SaveSetting(
    const QString &application, const QString &section, const QString &key, const QString &value);
QString fileName(const QString &application);

// A relative $XDG_CONFIG_HOME is to be ignored; Qt would take it from the working folder. Called at start-up.
void ignoreRelativeConfigHome();

inline constexpr qint64 MaxFileSize = 64 * 1024;
} // namespace SettingsStore
