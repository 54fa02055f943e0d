#pragma once

#include <QPointer>
#include <QRect>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

class QProcess;
class QPushButton;

// Shared by the widget tests: an isolated settings store, driving modal windows, and running this test
// binary again on screens of its own.
class TestSupport
{
public:
    // Points the per-user settings store at a new empty folder; returns the settings file's path.
    static QString freshSettings();
    static QString settingsFile();
    static void writeSettingsFile(const QByteArray &content);
    static QByteArray readSettingsFile();

    // Runs deferred deletes, so unloaded forms are really gone.
    static void flushDeletes();

    // Runs action on the first visible window of class T that comes up, polling (also from the nested
    // loop a modal dialog runs). An action left over from an earlier test row never acts in a later one.
    static void whenShownWindow(
        const char *className, std::function<void(QWidget &)> action, int timeoutMs = 10000);
    template <class T> static void whenShown(std::function<void(T &)> action, int timeoutMs = 10000)
    {
        whenShownWindow(T::staticMetaObject.className(),
            [action](QWidget &w) { action(static_cast<T &>(w)); }, timeoutMs);
    }
    // The visible top-level windows of a class, in the order they were created.
    static QList<QWidget *> windows(const char *className);

    // The running test function and data row, as QtTest names them.
    static QByteArray currentTest();
    // Drops every whenModal action still waiting.
    static void cancelPending();

    static void pressEsc(QWidget *window);

    // The main window's test buttons, in its own order; a control of a window by its object name.
    static QList<QPushButton *> testButtons(QWidget *mainWindow);
    template <class T = QWidget> static T *control(QObject *window, const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    // One offscreen monitor: its place and size in device pixels, and its scale factor.
    struct Monitor
    {
        QRect device;
        double scale = 1;
    };
    // Starts this test binary again with args on the given monitors, with extra NAME=value environment.
    static std::unique_ptr<QProcess> startOnMonitors(
        const QList<Monitor> &monitors, const QStringList &args, const QStringList &env = {});

private:
    static std::unique_ptr<QTemporaryDir> s_dir;
    static QList<QPointer<QTimer>> s_pending;
};
