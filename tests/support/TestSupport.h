#pragma once

#include "platform/Form.h"

#include <QPointer>
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

    // Runs action on the first form shown modally that matches, polling from the nested loop the modal
    // show runs. An action left over from an earlier test row never acts in a later one.
    static void whenModalForm(
        std::function<bool(Form &)> matches, std::function<void(Form &)> action, int timeoutMs = 10000);
    template <class T> static void whenModal(std::function<void(T &)> action, int timeoutMs = 10000)
    {
        whenModalForm([](Form &f) { return dynamic_cast<T *>(&f) != nullptr; },
            [action](Form &f) { action(static_cast<T &>(f)); }, timeoutMs);
    }

    // The running test function and data row, as QtTest names them.
    static QByteArray currentTest();
    // Drops every whenModal action still waiting.
    static void cancelPending();

    static void pressEsc(QWidget *window);

    // The main window's test buttons, in its own order.
    static QList<QPushButton *> testButtons(QWidget *mainWindow);

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
