#include "app/Options.h"

#include "platform/Convert.h"
#include "platform/SettingsStore.h"

const QString Options::Application = QStringLiteral("QRBL");
const QString Options::Section = QStringLiteral("Options");

QString Options::ShowInfo()
{
    return SettingsStore::GetSetting(Application, Section, QStringLiteral("ShowInfo"), QStringLiteral("1"));
}

QString Options::ShowExitInfo()
{
    return SettingsStore::GetSetting(
        Application, Section, QStringLiteral("ShowExitInfo"), QStringLiteral("1"));
}

bool Options::saveShowInfo(bool on)
{
    return SettingsStore::SaveSetting(
        Application, Section, QStringLiteral("ShowInfo"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

bool Options::equals(const QString &stored, double number)
{
    const auto value = Convert::parseNumber(stored);
    return value && *value == number;
}

QString Options::Monitor()
{
    return SettingsStore::GetSetting(Application, Section, QStringLiteral("Monitor"), QStringLiteral("window"));
}

bool Options::saveMonitor(const QString &choice)
{
    return SettingsStore::SaveSetting(Application, Section, QStringLiteral("Monitor"), choice);
}
