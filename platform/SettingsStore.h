#pragma once

#include <QString>

// The per-user settings store: text values by application, section and key.
// On Linux they live in $XDG_CONFIG_HOME/<application>/<application>.conf. Nothing is cached:
// every read opens the store again, so a value changed elsewhere is seen at the next use.
class SettingsStore
{
public:
    static QString GetSetting(
        const QString &application, const QString &section, const QString &key, const QString &defaultValue);
    // Returns false (and says so on stderr) when the store could not be written.
    static bool SaveSetting(
        const QString &application, const QString &section, const QString &key, const QString &value);
    static QString fileName(const QString &application);
};
