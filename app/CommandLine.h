#pragma once

#include <QString>

class QCommandLineParser;
class QScreen;

namespace TestCatalog {
struct Test;
}

// The program's own options beside --help and --version: scripted checks, and a projector set up from a
// terminal.
namespace CommandLine {
void addOptions(QCommandLineParser &parser);

struct Request
{
    bool listMonitors = false;
    const TestCatalog::Test *test = nullptr; // opened at once, without the message before it
    QString monitor; // where: a monitor's name or "all"; empty for the stored choice
    QString error; // one line for stderr: a name that does not exist, with the valid ones
};
// Checks the names against the tests and the monitors connected now.
Request read(const QCommandLineParser &parser);

// One line per monitor, in the desktop's order: name, size in device pixels, position, scale.
QString monitorList();
} // namespace CommandLine
