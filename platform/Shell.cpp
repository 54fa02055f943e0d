#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

void Shell::open(const QString &target)
{
    QDesktopServices::openUrl(QUrl(target, QUrl::StrictMode));
}
