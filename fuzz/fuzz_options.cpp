// Stored-option parsing: any settings file, however broken, reads as one clear verdict for each key.
#include "app/Options.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *s_dir = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    s_dir = new QTemporaryDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, s_dir->path());
    QDir().mkpath(s_dir->filePath(QStringLiteral("QRBL")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // The text itself, as a stored value.
    const QString text = QString::fromLatin1(bytes);
    if (Options::equals(text, 1) && Options::equals(text, 0))
        std::abort();

    // The bytes as the whole settings file.
    {
        QFile file(s_dir->filePath(QStringLiteral("QRBL/QRBL.conf")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(bytes);
    }
    const Options options;
    options.showInfo();
    options.showExitInfo();
    const QString monitor = options.monitor();
    // No monitor is connected here, so no stored name can be one.
    if (monitor != QLatin1String("window") && monitor != QLatin1String("all"))
        std::abort();
    return 0;
}
