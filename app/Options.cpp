#include "app/Options.h"

#include "platform/Convert.h"
#include "platform/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <utility>

namespace {
const QString Application = QStringLiteral("QRBL");
const QString Section = QStringLiteral("Options");

struct Entry
{
    const char *key;
    const char *defaultValue;
};
// By Options::Key.
constexpr Entry Keys[] = {
    { "ShowInfo", "1" },
    { "ShowExitInfo", "1" },
    { "Monitor", "window" },
};

std::optional<bool> oneOrZero(const QString &stored)
{
    if (Options::equals(stored, 1))
        return true;
    if (Options::equals(stored, 0))
        return false;
    return std::nullopt;
}
} // namespace

QString Options::value(Key key) const
{
    if (const auto kept = m_kept.constFind(key); kept != m_kept.cend())
        return *kept;
    return SettingsStore::GetSetting(
        Application, Section, QLatin1String(Keys[key].key), QLatin1String(Keys[key].defaultValue));
}

Options::Saved Options::setValue(Key key, const QString &value)
{
    const SettingsStore::SaveResult result
        = SettingsStore::SaveSetting(Application, Section, QLatin1String(Keys[key].key), value);
    if (result.ok() && !m_saveFailed)
        return {};
    m_kept.insert(key, value);
    if (result.ok())
        return {};
    const QString message
        = QStringLiteral("Your choice is in effect until Quorbel! closes, but it could not be "
                         "kept for next time: %1 could not be written (%2).")
              .arg(result.fileName, result.reason);
    std::fprintf(stderr, "quorbel: %s\n", qPrintable(message));
    return { false, !std::exchange(m_saveFailed, true), message };
}

std::optional<bool> Options::showInfo() const
{
    return oneOrZero(value(ShowInfo));
}

Options::Saved Options::setShowInfo(bool on)
{
    return setValue(ShowInfo, on ? QStringLiteral("1") : QStringLiteral("0"));
}

std::optional<bool> Options::showExitInfo() const
{
    return oneOrZero(value(ShowExitInfo));
}

QString Options::monitor() const
{
    const QString stored = value(Monitor);
    if (stored == QLatin1String("all"))
        return stored;
    for (const QScreen *screen : QGuiApplication::screens())
        if (!stored.isEmpty() && screen->name() == stored)
            return stored;
    return QStringLiteral("window");
}

Options::Saved Options::setMonitor(const QString &monitor)
{
    return setValue(Monitor, monitor);
}

bool Options::equals(const QString &stored, double number)
{
    const auto value = Convert::parseNumber(stored);
    return value && *value == number;
}
