#pragma once

#include <QString>

class QWidget;

// File, Check For Update: fetches the version file, compares it with the running version and tells
// the user the result. The main window's CheckForUpdate runs it.
namespace UpdateCheck {
constexpr int ReadBufferLength = 2048;
// The longest text taken for a version.
constexpr int VersionLimit = 64;

extern const QString Agent;
extern const QString Title;
extern const QString NotResponding;
extern const QString LatestVersion;

enum class Verdict { NotResponding, Latest, Newer };

// Returns when the message box or the update dialog has been closed; they belong to owner. Shows nothing
// when owner is gone by the time the answer is in (the program is closing).
void run(QWidget *owner);

// The version a body names, without the white space around it; empty when the body is no version: more
// than one line of letters, digits, spaces and ".-+_~", or longer than VersionLimit.
QString versionText(const QByteArray &body);
// What the user is told for that text beside the running version.
Verdict verdict(const QString &received, const QString &running);

// The version file's address: the one the program was built with, unless a test set another.
QString address();
void setAddressForTest(const QString &address);
// The fetch helper: beside the program, or in ../libexec/quorbel when installed, unless a test set another.
QString helper();
void setHelperForTest(const QString &path);
// How long a check waits for the whole answer.
void setTimeoutForTest(int milliseconds);
} // namespace UpdateCheck
