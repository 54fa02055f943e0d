#include "support/TestSupport.h"

#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmColorFS.h"
#include "patterns/frmCrosshairsFS.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
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

std::vector<GraphicElement *> TestSupport::elementsOf(PatternForm &f)
{
    if (auto *b = qobject_cast<frmBoxesFS *>(&f))
        return { &b->w1, &b->b1, &b->w2, &b->b2, &b->w3, &b->b3, &b->w4, &b->b4, &b->w5, &b->b5 };
    if (auto *c = qobject_cast<frmCirclesFS *>(&f))
        return { &c->b1, &c->w1, &c->b2, &c->w2, &c->b3, &c->w3, &c->b4, &c->w4, &c->b5, &c->w5 };
    if (auto *c = qobject_cast<frmColorFS *>(&f))
        return { &c->Red, &c->Green, &c->Blue, &c->White, &c->Black, &c->Yellow, &c->Cyan, &c->MagentaLeft,
            &c->MagentaRight };
    if (auto *x = qobject_cast<frmCrosshairsFS *>(&f))
        return { &x->Line1, &x->Line2, &x->Line3, &x->Line4, &x->Line5, &x->Line6 };
    return {};
}

QByteArray TestSupport::runOnScreen(QSize device, double scale, const QStringList &args, bool *ok)
{
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (!config.open(QIODevice::WriteOnly))
        return (*ok = false), QByteArray("cannot write the screen configuration");
    config.write(QStringLiteral("{\"screens\":[{\"name\":\"s1\",\"x\":0,\"y\":0,\"width\":%1,"
                                "\"height\":%2,\"logicalDpi\":96,\"logicalBaseDpi\":96}]}")
                     .arg(device.width())
                     .arg(device.height())
                     .toUtf8());
    config.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(
        QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config.fileName());
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
    env.insert(QStringLiteral("QRBL_EXPECT_SCREEN"),
        QStringLiteral("%1x%2@%3").arg(device.width()).arg(device.height()).arg(scale));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), args);
    const bool finished = child.waitForFinished(120000);
    *ok = finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    return child.readAll();
}

std::optional<TestSupport::ExpectedScreen> TestSupport::expectedScreen()
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)@([\\d.]+)$"))
                                          .match(qEnvironmentVariable("QRBL_EXPECT_SCREEN"));
    if (!m.hasMatch())
        return std::nullopt;
    return ExpectedScreen { QSize(m.captured(1).toInt(), m.captured(2).toInt()), m.captured(3).toDouble() };
}
