#pragma once

#include <QString>

// The one stored user choice, "ShowInfo", and the read-only "ShowExitInfo", under QRBL/Options.
// Values are written as "1" or "0" and compared as numbers when read; a text that is no number at all
// counts as neither 1 nor 0, like any other number would.
class Options
{
public:
    static QString ShowInfo();
    static QString ShowExitInfo();
    static bool saveShowInfo(bool on);
    // Where tests open: "window" (the main window's monitor), "all", or a monitor's name.
    static QString Monitor();
    static bool saveMonitor(const QString &choice);

    static bool equals(const QString &stored, double number);

    static const QString Application;
    static const QString Section;
};
