#pragma once

#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>

class QProcess;

// Shared by the widget tests: an isolated settings store, windows and controls as a user finds them, and
// running this test binary again on screens of its own.
namespace TestSupport {
// Points the per-user settings store at a new empty folder.
void freshSettings();
QString settingsFile();
void writeSettingsFile(const QByteArray &content);
QByteArray readSettingsFile();

// Every modal dialog that comes up while scope lives, answered from within its own loop.
void answerModals(QObject *scope, std::function<void(QWidget &)> answer);
// The visible top-level windows of a class.
QList<QWidget *> windows(const char *className);

// A control of a window by its object name.
template <class T = QWidget> T *control(QObject *window, const char *name)
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
std::unique_ptr<QProcess> startOnMonitors(
    const QList<Monitor> &monitors, const QStringList &args, const QStringList &env = {});
} // namespace TestSupport
