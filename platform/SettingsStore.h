#pragma once

#include <QString>

// The per-user settings store: text values by application, section and key.
// On Linux they live in $XDG_CONFIG_HOME/<application>/<application>.conf. Nothing is cached:
// every read opens the store again, so a value changed elsewhere is seen at the next use.
namespace SettingsStore {
QString GetSetting(
    const QString &application, const QString &section, const QString &key, const QString &defaultValue);
// Returns false (and says so on stderr) when the store could not be written.
bool SaveSetting(
    const QString &application, const QString &section, const QString &key, const QString &value);
QString fileName(const QString &application);
} // namespace SettingsStore
