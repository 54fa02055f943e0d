#include "platform/Application.h"

#include "platform/ErrorBoundary.h"
#include "platform/SettingsStore.h"

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    SettingsStore::ignoreRelativeConfigHome();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    ErrorBoundary::run("event", [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
