#pragma once

#include "platform/Form.h"
#include "platform/OleColor.h"

#include <QImage>
#include <QLineF>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class GraphicElement;
class PatternForm;

// Shared by the widget tests: an isolated settings store, driving modal windows, counting pixels.
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

    // Runs action once form T is shown modally (polling from the nested loop the modal show runs).
    template <class T> static void whenModal(std::function<void(T &)> action, int timeoutMs = 10000)
    {
        auto *timer = new QTimer;
        s_pending.append(timer);
        auto started = std::make_shared<qint64>(0);
        // An action belongs to the test row that set it up: left over, it must not act in the next one.
        const QByteArray owner = currentTest();
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [timer, action, started, timeoutMs, owner] {
            *started += 5;
            if (currentTest() != owner || *started > timeoutMs) {
                timer->stop();
                timer->deleteLater();
            } else if (isLoaded<T>() && form<T>().isModalShowing() && form<T>().isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(form<T>());
            }
        });
        timer->start();
    }

    // The running test function and data row, as QtTest names them.
    static QByteArray currentTest();

    // Drops every whenModal action still waiting, so one test's leftovers cannot act in the next.
    static void cancelPending();

    // Pixels of image that are not the colour; a rectangle limits the count to part of it.
    static qint64 countNot(const QImage &image, QRgb color, QRect within = QRect());
    static qint64 countOf(const QImage &image, QRgb color, QRect within = QRect());

    static void pressEsc(QWidget *window);

    // The elements of a shape pattern window, bottom first as it stacks them.
    static std::vector<GraphicElement *> elementsOf(PatternForm &f);

    // Runs this test binary again with args on an offscreen screen of the given device pixels and scale
    // factor; the child reads them with expectedScreen(). Returns the child's output, ok on a clean exit.
    static QByteArray runOnScreen(QSize device, double scale, const QStringList &args, bool *ok);
    struct ExpectedScreen
    {
        QSize device;
        double ratio = 1;
    };
    static std::optional<ExpectedScreen> expectedScreen();

private:
    static std::unique_ptr<QTemporaryDir> s_dir;
    static QList<QPointer<QTimer>> s_pending;
};
