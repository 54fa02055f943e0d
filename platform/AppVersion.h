#pragma once

#include <QString>

// The program's version, from the build's project version.
namespace AppVersion {
// Major "." Minor "." Revision in plain decimal.
QString text();

// For tests that need another running version.
void setForTest(int major, int minor, int revision);
} // namespace AppVersion
