#include "platform/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
QSettings::Status syncedStatus(QSettings &settings)
{
    settings.sync();
    return settings.status();
}

// Said on stderr once a run: every read of the file would say it again.
bool tooLarge(const QString &path)
{
    if (QFileInfo(path).size() <= SettingsStore::MaxFileSize)
        return false;
    static bool told = false;
    if (!std::exchange(told, true))
        std::fprintf(stderr, "quorbel: %s is larger than 64 KiB: it is neither read nor written\n",
            qPrintable(QDir::toNativeSeparators(path)));
    return true;
}

QString errnoText()
{
    return qt_error_string(errno);
}

// QSettings tells only that it could not write. The system's reason comes from taking the same steps
// again: make the folder, open the file (through its links), create a file beside it.
QString whyUnwritable(const QString &path)
{
    QString folder;
    for (const QString &part : QFileInfo(path).absolutePath().split(u'/', Qt::SkipEmptyParts)) {
        folder += u'/' + part;
        if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST)
            return errnoText();
    }
    QString target = path;
    for (int depth = 0; depth < 40 && QFileInfo(target).isSymLink(); ++depth)
        target = QFileInfo(target).symLinkTarget();
    const QString link = target == path ? QString() : QStringLiteral("link to %1: ").arg(target);
    const QByteArray native = QFile::encodeName(target);
    const bool existed = QFileInfo::exists(target);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return link + errnoText();
    ::close(fd);
    if (!existed)
        ::unlink(native.constData());
    QByteArray beside
        = QFile::encodeName(QFileInfo(target).absolutePath() + QStringLiteral("/.settings-XXXXXX"));
    const int tmp = ::mkstemp(beside.data());
    if (tmp < 0)
        return link + errnoText();
    ::close(tmp);
    ::unlink(beside.constData());
    return QStringLiteral("reason unknown");
}
} // namespace

QString SettingsStore::GetSetting(
    const QString &application, const QString &section, const QString &key, const QString &defaultValue)
{
    if (tooLarge(fileName(application)))
        return defaultValue;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    settings.beginGroup(section);
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited value with commas reads back as a list; it then counts as no number at all.
    return value.userType() == QMetaType::QString ? value.toString() : QString();
}

SettingsStore::SaveResult SettingsStore::SaveSetting(
    const QString &application, const QString &section, const QString &key, const QString &value)
{
    const QString path = fileName(application);
    if (tooLarge(path))
        return { path, QStringLiteral("file larger than 64 KiB") };
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    settings.beginGroup(section);
    const bool had = settings.contains(key);
    const QVariant old = settings.value(key);
    settings.setValue(key, value);
    // A file that did not parse (FormatError) has just been written afresh: only access counts.
    if (syncedStatus(settings) != QSettings::AccessError && settings.isWritable())
        return { path, {} };
    // Not saved: take the value back, or Qt's shared cache of the file would serve it to every
    // later read in this process as if it were stored.
    if (had)
        settings.setValue(key, old);
    else
        settings.remove(key);
    return { path, whyUnwritable(path) };
}

QString SettingsStore::fileName(const QString &application)
{
    // Found beside the organisation-wide file, which Qt names without reading ours: a file too large
    // to read must not be parsed just to learn where it is.
    const QSettings beside(QSettings::NativeFormat, QSettings::UserScope, application);
    return QFileInfo(beside.fileName()).absolutePath() + u'/' + application + u'/' + application
        + QStringLiteral(".conf");
}

void SettingsStore::ignoreRelativeConfigHome()
{
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    if (home.isEmpty() || home.startsWith('/'))
        return;
    qunsetenv("XDG_CONFIG_HOME");
    // QSettings keeps the folders it found at its first use for the whole run.
    QSettings::setPath(
        QSettings::NativeFormat, QSettings::UserScope, QDir::homePath() + QStringLiteral("/.config"));
}
