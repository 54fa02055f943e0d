#pragma once

#include <QString>

class PatternForm;
class QWidget;

#include <vector>

// The thirteen tests, in the order of the main window's tab stops.
namespace TestCatalog {
struct Test
{
    const char *name; // the picture's name in the gallery
    const char *caption; // on the test's button
    const char *button; // the button's object name
    PatternForm *(*create)(QWidget *parent); // the test's window, ready to show
    QString description; // the panel's text while the pointer is over the button
};

const std::vector<Test> &all();
// Its name on the command line: the caption in lower case, spaces as hyphens, "%" dropped.
QString commandName(const Test &test);
// The test of that command-line name; null for any other.
const Test *byCommandName(const QString &name);
// The test a button starts; null for any other object name.
const Test *byButton(const QString &objectName);
} // namespace TestCatalog
