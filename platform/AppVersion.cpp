#include "platform/AppVersion.h"

#include "BuildConfig.h"

namespace {
int s_major = QRBL_VERSION_MAJOR;
int s_minor = QRBL_VERSION_MINOR;
int s_revision = QRBL_VERSION_PATCH;
} // namespace

int AppVersion::Major()
{
    return s_major;
}
int AppVersion::Minor()
{
    return s_minor;
}
int AppVersion::Revision()
{
    return s_revision;
}

QString AppVersion::text()
{
    return QString::number(s_major) + QLatin1Char('.') + QString::number(s_minor) + QLatin1Char('.')
        + QString::number(s_revision);
}

void AppVersion::setForTest(int major, int minor, int revision)
{
    s_major = major;
    s_minor = minor;
    s_revision = revision;
}

void AppVersion::resetForTest()
{
    setForTest(QRBL_VERSION_MAJOR, QRBL_VERSION_MINOR, QRBL_VERSION_PATCH);
}
