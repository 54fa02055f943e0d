#pragma once

#include <QString>

// The application object's version numbers, from the build's project version.
class AppVersion
{
public:
    static int Major();
    static int Minor();
    static int Revision();
    // Major "." Minor "." Revision in plain decimal.
    static QString text();

    // For tests that need another running version; nullopt-like reset with resetForTest().
    static void setForTest(int major, int minor, int revision);
    static void resetForTest();
};
