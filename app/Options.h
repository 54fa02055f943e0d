#pragma once

#include <QHash>
#include <QString>

#include <optional>

// The user's options under QRBL/Options, read afresh from the store at each use, so a change made by
// another program is seen. Once a save has failed in this run, the choices made since stay in effect
// for the rest of it: the menu's mark and the next test then agree with what the user chose.
class Options
{
public:
    // What became of a save. Every failure goes to stderr; the run's first is meant for a message box.
    struct Saved
    {
        bool ok = true;
        bool firstFailure = false;
        QString message;
    };

    // Stored as "1" or "0" and compared as numbers: any other value, or none that is a number, is neither.
    std::optional<bool> showInfo() const;
    Saved setShowInfo(bool on);
    std::optional<bool> showExitInfo() const;

    // "window" (the main window's monitor), "all", or the name of a monitor; one not connected is "window".
    QString monitor() const;
    Saved setMonitor(const QString &monitor);

    static bool equals(const QString &stored, double number);

private:
    enum Key { ShowInfo, ShowExitInfo, Monitor };
    QString value(Key key) const;
    Saved setValue(Key key, const QString &value);

    QHash<Key, QString> m_kept;
    bool m_saveFailed = false;
};
