#pragma once

#include <QString>

// The application object's version numbers, from the build's project version.
namespace AppVersion {
int Major();
int Minor();
int Revision();
// Major "." Minor "." Revision in plain decimal.
QString text();

// For tests that need another running version; nullopt-like reset with resetForTest().
void setForTest(int major, int minor, int revision);
void resetForTest();
} // namespace AppVersion
