#include "app/frmMenu.h"

#include "app/Options.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmTestInfo.h"
#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmColorFS.h"
#include "patterns/frmCrosshairsFS.h"
#include "patterns/frmDiagonalLines.h"
#include "patterns/frmGreysFS.h"
#include "patterns/frmOneColor.h"
#include "patterns/frmVerticalLines.h"
#include "update/UpdateCheck.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int ClientWidth = 7830;
constexpr int ClientHeight = 5415;

constexpr quint32 Red = 0x000000FF;
constexpr quint32 Green = 0x0000FF00;
constexpr quint32 Blue = 0x00FF0000;
constexpr quint32 Black = 0x00000000;
constexpr quint32 White = 0x00FFFFFF;
constexpr quint32 Grey50 = 0x00808080;

QPushButton *makeButton(QWidget *parent, const char *name, const char *caption, int left, int top)
{
    auto *button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    Form::placeTwips(button, left, top, 1215, 495);
    return button;
}

QGroupBox *makeFrame(
    QWidget *parent, const char *name, const char *caption, int left, int top, int width, int height)
{
    auto *frame = new QGroupBox(QString::fromLatin1(caption), parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFocusPolicy(Qt::NoFocus);
    Form::placeTwips(frame, left, top, width, height);
    return frame;
}
} // namespace

frmMenu::frmMenu()
    : Form(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(QStringLiteral("Quorbel!"));
    setWindowIcon(applicationIcon());
    setAsMainWindow();
    createMenus();
    createControls();
    connectHandlers();
}

void frmMenu::createControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    placeTwips(m_client, 0, 0, ClientWidth, ClientHeight);
    m_client->setFixedSize(m_client->size());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_client);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Created bottom of the stacking first, so each later control lies above the earlier ones.
    QWidget *c = m_client;
    fraTestInformation = makeFrame(c, "fraTestInformation", "Test Information", 5160, 120, 2535, 5175);
    fraTestPatterns = makeFrame(c, "fraTestPatterns", "Test Patterns", 120, 120, 4815, 1815);
    fraBWTestPatterns
        = makeFrame(c, "fraBWTestPatterns", "Black and White Test Patterns", 120, 3480, 4815, 1815);
    cmdBoxes = makeButton(c, "cmdBoxes", "Boxes", 360, 480);
    cmdColors = makeButton(c, "cmdColors", "Colors", 3480, 480);
    fraLCDPixelColorTests
        = makeFrame(c, "fraLCDPixelColorTests", "LCD Pixel Color Tests", 120, 2160, 4815, 1095);
    cmdBlue = makeButton(c, "cmdBlue", "Blue", 3480, 2520);
    cmdGreen = makeButton(c, "cmdGreen", "Green", 1920, 2520);
    cmdRed = makeButton(c, "cmdRed", "Red", 360, 2520);
    cmdBlack = makeButton(c, "cmdBlack", "Black", 360, 3840);
    cmdWhite = makeButton(c, "cmdWhite", "White", 1920, 3840);
    cmdCircles = makeButton(c, "cmdCircles", "Circles", 1920, 480);
    cmdCrosshairs = makeButton(c, "cmdCrosshairs", "Crosshairs", 360, 1200);
    cmdGrey50 = makeButton(c, "cmdGrey50", "50% Grey", 3480, 3840);
    cmdGreys = makeButton(c, "cmdGreys", "Greys", 360, 4560);
    cmdVerticalLines = makeButton(c, "cmdVerticalLines", "Vertical Lines", 1920, 1200);
    cmdDiagonalLines = makeButton(c, "cmdDiagonalLines", "Diagonal Lines", 3480, 1200);

    txtTestInformation = new QPlainTextEdit(c);
    txtTestInformation->setObjectName(QStringLiteral("txtTestInformation"));
    placeTwips(txtTestInformation, 5280, 360, 2295, 4815);
    txtTestInformation->setReadOnly(true);
    txtTestInformation->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // No scroll bar, as designed; a long description still scrolls by wheel and keys.
    txtTestInformation->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtTestInformation->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtTestInformation->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    txtTestInformation->setTextInteractionFlags(Qt::NoTextInteraction);
    txtTestInformation->viewport()->setCursor(Qt::ArrowCursor);
    QPalette palette = txtTestInformation->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    txtTestInformation->setPalette(palette);

    // Tab order by tab index: the thirteen buttons in catalogue order.
    const QList<QWidget *> order { cmdBoxes, cmdCircles, cmdColors, cmdCrosshairs, cmdVerticalLines,
        cmdDiagonalLines, cmdRed, cmdGreen, cmdBlue, cmdBlack, cmdWhite, cmdGrey50, cmdGreys };
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    setDefaultButton(cmdBoxes);
    cmdBoxes->setFocus(Qt::OtherFocusReason);
}

void frmMenu::createMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));

    menFile = menuBar->addMenu(QStringLiteral("&File"));
    menFile->setObjectName(QStringLiteral("menFile"));
    mnuFileCheckForUpdate = menFile->addAction(QStringLiteral("Check For Update"));
    mnuFileCheckForUpdate->setObjectName(QStringLiteral("mnuFileCheckForUpdate"));
    menitmShowPreTestMessage = menFile->addAction(QStringLiteral("Show Pre-Test Message"));
    menitmShowPreTestMessage->setObjectName(QStringLiteral("menitmShowPreTestMessage"));
    menitmShowPreTestMessage->setCheckable(true);
    menitmShowPreTestMessage->setChecked(true);
    menitmFileSeperator = menFile->addSeparator();
    menitmFileSeperator->setObjectName(QStringLiteral("menitmFileSeperator"));
    menitmExit = menFile->addAction(QStringLiteral("E&xit"));
    menitmExit->setObjectName(QStringLiteral("menitmExit"));

    menHelp = menuBar->addMenu(QStringLiteral("&Help"));
    menHelp->setObjectName(QStringLiteral("menHelp"));
    menitmQRBLHelp = menHelp->addAction(QStringLiteral("Quorbel! Help"));
    menitmQRBLHelp->setObjectName(QStringLiteral("menitmQRBLHelp"));
    menitmHelpSeparator = menHelp->addSeparator();
    menitmHelpSeparator->setObjectName(QStringLiteral("menitmHelpSeparator"));
    menitmAbout = menHelp->addAction(QStringLiteral("About"));
    menitmAbout->setObjectName(QStringLiteral("menitmAbout"));
}

void frmMenu::connectHandlers()
{
    connect(cmdBoxes, &QPushButton::clicked, this, handler("cmdBoxes_Click", &frmMenu::cmdBoxes_Click));
    connect(cmdCircles, &QPushButton::clicked, this, handler("cmdCircles_Click", &frmMenu::cmdCircles_Click));
    connect(cmdColors, &QPushButton::clicked, this, handler("cmdColors_Click", &frmMenu::cmdColors_Click));
    connect(cmdCrosshairs, &QPushButton::clicked, this,
        handler("cmdCrosshairs_Click", &frmMenu::cmdCrosshairs_Click));
    connect(cmdVerticalLines, &QPushButton::clicked, this,
        handler("cmdVerticalLines_Click", &frmMenu::cmdVerticalLines_Click));
    connect(cmdDiagonalLines, &QPushButton::clicked, this,
        handler("cmdDiagonalLines_Click", &frmMenu::cmdDiagonalLines_Click));
    connect(cmdRed, &QPushButton::clicked, this, handler("cmdRed_Click", &frmMenu::cmdRed_Click));
    connect(cmdGreen, &QPushButton::clicked, this, handler("cmdGreen_Click", &frmMenu::cmdGreen_Click));
    connect(cmdBlue, &QPushButton::clicked, this, handler("cmdBlue_Click", &frmMenu::cmdBlue_Click));
    connect(cmdBlack, &QPushButton::clicked, this, handler("cmdBlack_Click", &frmMenu::cmdBlack_Click));
    connect(cmdWhite, &QPushButton::clicked, this, handler("cmdWhite_Click", &frmMenu::cmdWhite_Click));
    connect(cmdGrey50, &QPushButton::clicked, this, handler("cmdGrey50_Click", &frmMenu::cmdGrey50_Click));
    connect(cmdGreys, &QPushButton::clicked, this, handler("cmdGreys_Click", &frmMenu::cmdGreys_Click));

    connect(menitmShowPreTestMessage, &QAction::triggered, this,
        handler("menitmShowPreTestMessage_Click", &frmMenu::menitmShowPreTestMessage_Click));
    connect(mnuFileCheckForUpdate, &QAction::triggered, this,
        handler("mnuFileCheckForUpdate_Click", &frmMenu::mnuFileCheckForUpdate_Click));
    connect(menitmQRBLHelp, &QAction::triggered, this,
        handler("menitmQRBLHelp_Click", &frmMenu::menitmQRBLHelp_Click));
    connect(
        menitmAbout, &QAction::triggered, this, handler("menitmAbout_Click", &frmMenu::menitmAbout_Click));
    connect(menitmExit, &QAction::triggered, this, handler("menitmExit_Click", &frmMenu::menitmExit_Click));

    // Pointer moves over the description panel's sources. Qt reports moves without a held button only
    // to widgets that track the mouse, and the text box's moves arrive at its viewport.
    const std::pair<QWidget *, std::function<void()>> moves[] = {
        { cmdBoxes, handler("cmdBoxes_MouseMove", &frmMenu::cmdBoxes_MouseMove) },
        { cmdCircles, handler("cmdCircles_MouseMove", &frmMenu::cmdCircles_MouseMove) },
        { cmdColors, handler("cmdColors_MouseMove", &frmMenu::cmdColors_MouseMove) },
        { cmdCrosshairs, handler("cmdCrosshairs_MouseMove", &frmMenu::cmdCrosshairs_MouseMove) },
        { cmdVerticalLines, handler("cmdVerticalLines_MouseMove", &frmMenu::cmdVerticalLines_MouseMove) },
        { cmdDiagonalLines, handler("cmdDiagonalLines_MouseMove", &frmMenu::cmdDiagonalLines_MouseMove) },
        { cmdRed, handler("cmdRed_MouseMove", &frmMenu::cmdRed_MouseMove) },
        { cmdGreen, handler("cmdGreen_MouseMove", &frmMenu::cmdGreen_MouseMove) },
        { cmdBlue, handler("cmdBlue_MouseMove", &frmMenu::cmdBlue_MouseMove) },
        { cmdBlack, handler("cmdBlack_MouseMove", &frmMenu::cmdBlack_MouseMove) },
        { cmdWhite, handler("cmdWhite_MouseMove", &frmMenu::cmdWhite_MouseMove) },
        { cmdGrey50, handler("cmdGrey50_MouseMove", &frmMenu::cmdGrey50_MouseMove) },
        { cmdGreys, handler("cmdGreys_MouseMove", &frmMenu::cmdGreys_MouseMove) },
        { m_client, handler("Form_MouseMove", &frmMenu::Form_MouseMove) },
        { fraTestPatterns, handler("fraTestPatterns_MouseMove", &frmMenu::fraTestPatterns_MouseMove) },
        { fraLCDPixelColorTests,
            handler("fraLCDPixelColorTests_MouseMove", &frmMenu::fraLCDPixelColorTests_MouseMove) },
        { fraBWTestPatterns, handler("fraBWTestPatterns_MouseMove", &frmMenu::fraBWTestPatterns_MouseMove) },
        { fraTestInformation,
            handler("fraTestInformation_MouseMove", &frmMenu::fraTestInformation_MouseMove) },
        { txtTestInformation,
            handler("txtTestInformation_MouseMove", &frmMenu::txtTestInformation_MouseMove) },
        { txtTestInformation->viewport(),
            handler("txtTestInformation_MouseMove", &frmMenu::txtTestInformation_MouseMove) },
    };
    for (const auto &[control, onMove] : moves) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
        m_mouseMoveHandlers.insert(control, onMove);
    }
    m_txtTestInformationGotFocus
        = handler("txtTestInformation_GotFocus", &frmMenu::txtTestInformation_GotFocus);
}

void frmMenu::Form_Load()
{
    if (Options::equals(Options::ShowInfo(), 1)) {
        menitmShowPreTestMessage->setChecked(true);
        return;
    }
    // Read again, as the rule is written; any value but 0 leaves the mark as designed.
    if (Options::equals(Options::ShowInfo(), 0))
        menitmShowPreTestMessage->setChecked(false);
}

void frmMenu::showPreTestMessageIfOn()
{
    if (Options::equals(Options::ShowInfo(), 1))
        form<frmTestInfo>().Show(Modal);
}

template <class Pattern> void frmMenu::startTest()
{
    showPreTestMessageIfOn();
    form<Pattern>().Show(Modal);
}

void frmMenu::startSolidColourTest(quint32 color)
{
    showPreTestMessageIfOn();
    form<frmOneColor>().setBackColor(color);
    form<frmOneColor>().Show(Modal);
}

void frmMenu::cmdBoxes_Click()
{
    startTest<frmBoxesFS>();
}
void frmMenu::cmdCircles_Click()
{
    startTest<frmCirclesFS>();
}
void frmMenu::cmdColors_Click()
{
    startTest<frmColorFS>();
}
void frmMenu::cmdCrosshairs_Click()
{
    startTest<frmCrosshairsFS>();
}
void frmMenu::cmdVerticalLines_Click()
{
    startTest<frmVerticalLines>();
}
void frmMenu::cmdDiagonalLines_Click()
{
    startTest<frmDiagonalLines>();
}
void frmMenu::cmdRed_Click()
{
    startSolidColourTest(Red);
}
void frmMenu::cmdGreen_Click()
{
    startSolidColourTest(Green);
}
void frmMenu::cmdBlue_Click()
{
    startSolidColourTest(Blue);
}
void frmMenu::cmdBlack_Click()
{
    startSolidColourTest(Black);
}
void frmMenu::cmdWhite_Click()
{
    startSolidColourTest(White);
}
void frmMenu::cmdGrey50_Click()
{
    startSolidColourTest(Grey50);
}
void frmMenu::cmdGreys_Click()
{
    startTest<frmGreysFS>();
}

void frmMenu::menitmShowPreTestMessage_Click()
{
    // The action has already flipped its mark; the rule looks at the mark as it was before the click.
    const bool wasChecked = !menitmShowPreTestMessage->isChecked();
    menitmShowPreTestMessage->setChecked(!wasChecked);
    Options::saveShowInfo(!wasChecked);
}

void frmMenu::mnuFileCheckForUpdate_Click()
{
    CheckForUpdate();
}

void frmMenu::CheckForUpdate()
{
    UpdateCheck().run();
}

void frmMenu::menitmQRBLHelp_Click()
{
    form<frmHelp>().Show(Modal);
}

void frmMenu::menitmAbout_Click()
{
    form<frmAbout>().Show(Modal);
}

void frmMenu::menitmExit_Click()
{
    closingSequence();
}

void frmMenu::Form_Unload()
{
    closingSequence();
}

void frmMenu::closingSequence()
{
    unload<frmAbout>();
    unload<frmBoxesFS>();
    unload<frmCirclesFS>();
    unload<frmColorFS>();
    unload<frmCrosshairsFS>();
    unload<frmDiagonalLines>();
    unload<frmTestInfo>();
    unload<frmGreysFS>();
    unload<frmHelp>();
    unload<frmOneColor>();
    unload<frmVerticalLines>();
    unload<frmMenu>();
}

namespace {
const QString VerticalAndDiagonalLines = QStringLiteral(
    "This test draws lines 1 pixel apart on the screen. The lines should look clear and sharp. Fuzzy lines "
    "could indicate a poor quality or damaged monitor. If you feel the picture is unnacceptably blury, "
    "contact your monitor's manufacture or your place of purchase for further advice.");

QString lcdDescription(const char *colour)
{
    return QStringLiteral("This test is for LCDs. It simply colors the screen ") + QLatin1String(colour)
        + QStringLiteral(
            " so you can see if all the pixels on the LCD are working. Failure of some pixels is generally "
            "considered acceptable. If you feel there is an unnaceptable number pixels which are not colored "
            "or are stuck on one color, contact your LCD manufacturer or place of purchase for further "
            "advice.");
}
} // namespace

bool frmMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        const auto onMove = m_mouseMoveHandlers.constFind(watched);
        // A move that a button or frame ignores travels on to the client area; only the control
        // actually under the pointer raises its event.
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (onMove != m_mouseMoveHandlers.constEnd() && !static_cast<QWidget *>(watched)->childAt(at))
            (*onMove)();
    } else if (event->type() == QEvent::FocusIn && watched == txtTestInformation) {
        m_txtTestInformationGotFocus();
    }
    return Form::eventFilter(watched, event);
}

void frmMenu::keyPressEvent(QKeyEvent *event)
{
    // The description box never keeps the focus, so its scrolling keys reach it from the window (the
    // arrow keys stay with the buttons).
    const std::pair<int, QAbstractSlider::SliderAction> scrolls[] = {
        { Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub },
        { Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd },
    };
    for (const auto &[key, action] : scrolls) {
        if (event->key() == key && event->modifiers() == Qt::NoModifier) {
            txtTestInformation->verticalScrollBar()->triggerAction(action);
            return;
        }
    }
    Form::keyPressEvent(event);
}

void frmMenu::cmdBoxes_MouseMove()
{
    txtTestInformation->setPlainText(
        QStringLiteral("The boxes help to adjust pincushion and trapezoid controls."));
}

void frmMenu::cmdCircles_MouseMove()
{
    txtTestInformation->setPlainText(
        QStringLiteral("The circles test helps to help adjust pincushion and trapezoid controls, as well as "
                       "picture height and width."));
}

void frmMenu::cmdColors_MouseMove()
{
    txtTestInformation->setPlainText(QStringLiteral(
        "The colors test pattern allows you to get a good overall look at the basic colors your monitor can "
        "display. The main colors are the primary colors. Between them are the secondary colors. Black and "
        "white are both displayed at the bottom of the screen. This test should help to identify and help "
        "adjust color settings for a monitor or video projector."));
}

void frmMenu::cmdCrosshairs_MouseMove()
{
    txtTestInformation->setPlainText(
        QStringLiteral("This helps identify the outer edge and centre of the visible display image. This is "
                       "particularly useful for projectors."));
}

void frmMenu::cmdVerticalLines_MouseMove()
{
    txtTestInformation->setPlainText(VerticalAndDiagonalLines);
}

void frmMenu::cmdDiagonalLines_MouseMove()
{
    txtTestInformation->setPlainText(VerticalAndDiagonalLines);
}

void frmMenu::cmdRed_MouseMove()
{
    txtTestInformation->setPlainText(lcdDescription("red"));
}

void frmMenu::cmdGreen_MouseMove()
{
    txtTestInformation->setPlainText(lcdDescription("green"));
}

void frmMenu::cmdBlue_MouseMove()
{
    txtTestInformation->setPlainText(lcdDescription("blue"));
}

void frmMenu::cmdBlack_MouseMove()
{
    txtTestInformation->setPlainText(QStringLiteral(
        "Use this for adjusting contrast and brightness controls on your monitor. Sometimes, after setting "
        "the contrast and brightness controls, black can look greenish. Use this after the Colors test to "
        "make sure black still looks OK."));
}

void frmMenu::cmdWhite_MouseMove()
{
    txtTestInformation->setPlainText(QStringLiteral(
        "Use this for adjusting contrast and brightness controls on your monitor. Sometimes, after setting "
        "the contrast and brightness controls, white can look dull or grey. Use this after the Colors test "
        "to make sure white still looks OK."));
}

void frmMenu::cmdGrey50_MouseMove()
{
    txtTestInformation->setPlainText(
        QStringLiteral("This is for adjusting contrast and brightness controls on your monitor."));
}

void frmMenu::cmdGreys_MouseMove()
{
    txtTestInformation->setPlainText(QStringLiteral(
        "This is for adjusting contrast and brightness controls on your monitor. Sometimes, after setting "
        "the contrast and brightness controls, black can look greenish and white can look a little dull. "
        "This in particular gives a good scope of the entire grey scale. This will only appear correctly if "
        "your monitor is set to 32 bit color depth."));
}

void frmMenu::Form_MouseMove()
{
    txtTestInformation->clear();
}

void frmMenu::fraTestPatterns_MouseMove()
{
    txtTestInformation->clear();
}

void frmMenu::fraLCDPixelColorTests_MouseMove()
{
    txtTestInformation->clear();
}

void frmMenu::fraBWTestPatterns_MouseMove()
{
    txtTestInformation->clear();
}

void frmMenu::fraTestInformation_MouseMove()
{
    txtTestInformation->clear();
}

void frmMenu::txtTestInformation_MouseMove()
{
    txtTestInformation->clear();
}

void frmMenu::txtTestInformation_GotFocus()
{
    // The box never keeps the focus, so its text cannot be edited or selected from the keyboard.
    cmdBoxes->setFocus(Qt::OtherFocusReason);
}
