#pragma once

#include <QApplication>

// Handlers catch their own errors where the event enters our code (ErrorBoundary). Qt does not support an
// exception thrown through its event delivery: one that still gets here is logged as a last resort.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
