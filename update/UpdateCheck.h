#pragma once

#include <QString>

class QWidget;

// File, Check For Update: fetches the version file, compares it with the running version and tells
// the user the result. The main window's CheckForUpdate runs it.
class UpdateCheck
{
public:
    static constexpr int ReadBufferLength = 2048;

    static const QString Agent;
    static const QString Title;
    static const QString NotResponding;
    static const QString LatestVersion;

    enum class Verdict { NotResponding, Latest, Newer };

    // Returns when the message box or the update dialog, owned by owner, has been closed.
    void run(QWidget *owner);

    // The body as the text to compare and show: UTF-8, white space around it dropped.
    static QString versionText(const QByteArray &body);
    // What the user is told for that text beside the running version.
    static Verdict verdict(const QString &received, const QString &running);

    // The version file's address: the one the program was built with, unless a test set another.
    static QString address();
    static void setAddressForTest(const QString &address);
};
