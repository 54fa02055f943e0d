#pragma once

#include <QApplication>

// The last line of the error boundary: anything a handler let through is reported, never fatal.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
