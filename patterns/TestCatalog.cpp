#include "patterns/TestCatalog.h"

#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmColorFS.h"
#include "patterns/frmCrosshairsFS.h"
#include "patterns/frmDiagonalLines.h"
#include "patterns/frmGreysFS.h"
#include "patterns/frmOneColor.h"
#include "patterns/frmVerticalLines.h"

namespace {
template <class Pattern> PatternForm *pattern(QWidget *parent)
{
    return new Pattern(parent);
}

template <quint32 Color> PatternForm *solidColour(QWidget *parent)
{
    auto *window = new frmOneColor(parent);
    window->setBackColor(Color);
    return window;
}

const QString Lines = QStringLiteral(
    "This test draws lines 1 pixel apart on the screen. The lines should look clear and sharp. Fuzzy lines "
    "could indicate a poor quality or damaged monitor. If you feel the picture is unnacceptably blury, "
    "contact your monitor's manufacture or your place of purchase for further advice.");

QString lcd(const char *colour)
{
    return QStringLiteral("This test is for LCDs. It simply colors the screen ") + QLatin1String(colour)
        + QStringLiteral(
            " so you can see if all the pixels on the LCD are working. Failure of some pixels is generally "
            "considered acceptable. If you feel there is an unnaceptable number pixels which are not colored "
            "or are stuck on one color, contact your LCD manufacturer or place of purchase for further "
            "advice.");
}
} // namespace

const std::vector<TestCatalog::Test> &TestCatalog::all()
{
    static const std::vector<Test> tests = {
        { "boxes", "Boxes", "cmdBoxes", pattern<frmBoxesFS>,
            QStringLiteral("The boxes help to adjust pincushion and trapezoid controls.") },
        { "circles", "Circles", "cmdCircles", pattern<frmCirclesFS>,
            QStringLiteral(
                "The circles test helps to help adjust pincushion and trapezoid controls, as well as "
                "picture height and width.") },
        { "colors", "Colors", "cmdColors", pattern<frmColorFS>,
            QStringLiteral(
                "The colors test pattern allows you to get a good overall look at the basic colors your "
                "monitor can display. The main colors are the primary colors. Between them are the secondary colors. "
                "Black and white are both displayed at the bottom of the screen. This test should help to "
                "identify and help adjust color settings for a monitor or video projector.") },
        { "crosshairs", "Crosshairs", "cmdCrosshairs", pattern<frmCrosshairsFS>,
            QStringLiteral("This helps identify the outer edge and centre of the visible display image. This "
                           "is particularly useful for projectors.") },
        { "vertical-lines", "Vertical Lines", "cmdVerticalLines", pattern<frmVerticalLines>, Lines },
        { "diagonal-lines", "Diagonal Lines", "cmdDiagonalLines", pattern<frmDiagonalLines>, Lines },
        { "red", "Red", "cmdRed", solidColour<0x000000FF>, lcd("red") },
        { "green", "Green", "cmdGreen", solidColour<0x0000FF00>, lcd("green") },
        { "blue", "Blue", "cmdBlue", solidColour<0x00FF0000>, lcd("blue") },
        { "black", "Black", "cmdBlack", solidColour<0x00000000>,
            QStringLiteral(
                "Use this for adjusting contrast and brightness controls on your monitor. Sometimes, after "
                "setting the contrast and brightness controls, black can look greenish. Use this after the "
                "Colors test to make sure black still looks OK.") },
        { "white", "White", "cmdWhite", solidColour<0x00FFFFFF>,
            QStringLiteral(
                "Use this for adjusting contrast and brightness controls on your monitor. Sometimes, after "
                "setting the contrast and brightness controls, white can look dull or grey. Use this after "
                "the Colors test to make sure white still looks OK.") },
        { "grey-50", "50% Grey", "cmdGrey50", solidColour<0x00808080>,
            QStringLiteral("This is for adjusting contrast and brightness controls on your monitor.") },
        { "greys", "Greys", "cmdGreys", pattern<frmGreysFS>,
            QStringLiteral(
                "This is for adjusting contrast and brightness controls on your monitor. Sometimes, after "
                "setting the contrast and brightness controls, black can look greenish and white can look a "
                "little dull. This in particular gives a good scope of the entire grey scale. This will only "
                "appear correctly if your monitor is set to 32 bit color depth.") },
    };
    return tests;
}

const TestCatalog::Test *TestCatalog::byButton(const QString &objectName)
{
    for (const Test &test : all())
        if (objectName == QLatin1String(test.button))
            return &test;
    return nullptr;
}

QString TestCatalog::commandName(const Test &test)
{
    return QString::fromLatin1(test.caption).toLower().remove(QLatin1Char('%')).replace(QLatin1Char(' '), QLatin1Char('-'));
}

const TestCatalog::Test *TestCatalog::byCommandName(const QString &name)
{
    for (const Test &test : all())
        if (name == commandName(test))
            return &test;
    return nullptr;
}
