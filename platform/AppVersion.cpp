#include "platform/AppVersion.h"

#include "BuildConfig.h"

namespace {
int s_major = QRBL_VERSION_MAJOR;
int s_minor = QRBL_VERSION_MINOR;
int s_revision = QRBL_VERSION_PATCH;
} // namespace

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
