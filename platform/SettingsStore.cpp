#include "platform/SettingsStore.h"

#include <QSettings>

#include <cstdio>

namespace {
QSettings::Status syncedStatus(QSettings &settings)
{
    settings.sync();
    return settings.status();
}
} // namespace

QString SettingsStore::GetSetting(
    const QString &application, const QString &section, const QString &key, const QString &defaultValue)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    settings.beginGroup(section);
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited value with commas reads back as a list; it then counts as no number at all.
    return value.userType() == QMetaType::QString ? value.toString() : QString();
}

bool SettingsStore::SaveSetting(
    const QString &application, const QString &section, const QString &key, const QString &value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    if (syncedStatus(settings) == QSettings::NoError && settings.isWritable())
        return true;
    std::fprintf(stderr, "quorbel: could not save %s/%s in %s\n", qPrintable(section), qPrintable(key),
        qPrintable(settings.fileName()));
    return false;
}

QString SettingsStore::fileName(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, application, application).fileName();
}
