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
    const bool had = settings.contains(key);
    const QVariant old = settings.value(key);
    settings.setValue(key, value);
    // A file that did not parse (FormatError) has just been written afresh: only access counts.
    if (syncedStatus(settings) != QSettings::AccessError && settings.isWritable())
        return true;
    // Not saved: take the value back, or Qt's shared cache of the file would serve it to every
    // later read in this process as if it were stored.
    if (had)
        settings.setValue(key, old);
    else
        settings.remove(key);
    settings.endGroup();
    std::fprintf(stderr, "quorbel: could not save %s/%s in %s\n", qPrintable(section), qPrintable(key),
        qPrintable(settings.fileName()));
    return false;
}

QString SettingsStore::fileName(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, application, application).fileName();
}
