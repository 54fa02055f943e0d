#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

std::unique_ptr<QTemporaryDir> TestSupport::s_dir;
QList<QPointer<QTimer>> TestSupport::s_pending;

QByteArray TestSupport::currentTest()
{
    return QByteArray(QTest::currentTestFunction()) + '/' + QTest::currentDataTag();
}

void TestSupport::cancelPending()
{
    for (const QPointer<QTimer> &timer : std::as_const(s_pending))
        delete timer.data();
    s_pending.clear();
}

QString TestSupport::freshSettings()
{
    s_dir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, s_dir->path());
    return settingsFile();
}

QString TestSupport::settingsFile()
{
    return s_dir ? s_dir->filePath(QStringLiteral("QRBL/QRBL.conf")) : QString();
}

void TestSupport::writeSettingsFile(const QByteArray &content)
{
    QDir().mkpath(s_dir->filePath(QStringLiteral("QRBL")));
    QFile file(settingsFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

QByteArray TestSupport::readSettingsFile()
{
    QFile file(settingsFile());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void TestSupport::flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

qint64 TestSupport::countNot(const QImage &image, QRgb color, QRect within)
{
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const QRect r = within.isNull() ? img.rect() : within.intersected(img.rect());
    qint64 n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            if ((line[x] | 0xFF000000u) != (color | 0xFF000000u))
                ++n;
    }
    return n;
}

qint64 TestSupport::countOf(const QImage &image, QRgb color, QRect within)
{
    const QRect r = within.isNull() ? image.rect() : within.intersected(image.rect());
    return qint64(r.width()) * r.height() - countNot(image, color, within);
}

void TestSupport::pressEsc(QWidget *window)
{
    QTest::keyClick(window, Qt::Key_Escape);
}
