#include "app/frmMenu.h"

#include "app/Options.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmTestInfo.h"
#include "patterns/TestCatalog.h"
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

// The caption comes from the catalogue of tests.
QPushButton *makeButton(QWidget *parent, const char *name, int left, int top)
{
    const TestCatalog::Test *test = TestCatalog::byButton(QLatin1String(name));
    Q_ASSERT(test);
    auto *button = new QPushButton(test ? QString::fromLatin1(test->caption) : QString(), parent);
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

// A handler by name: an error raised in it ends the handler, not the program.
std::function<void()> guarded(const QByteArray &where, std::function<void()> body)
{
    return [where, body] { ErrorBoundary::run(where.constData(), body); };
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
    cmdBoxes = makeButton(c, "cmdBoxes", 360, 480);
    cmdColors = makeButton(c, "cmdColors", 3480, 480);
    fraLCDPixelColorTests
        = makeFrame(c, "fraLCDPixelColorTests", "LCD Pixel Color Tests", 120, 2160, 4815, 1095);
    cmdBlue = makeButton(c, "cmdBlue", 3480, 2520);
    cmdGreen = makeButton(c, "cmdGreen", 1920, 2520);
    cmdRed = makeButton(c, "cmdRed", 360, 2520);
    cmdBlack = makeButton(c, "cmdBlack", 360, 3840);
    cmdWhite = makeButton(c, "cmdWhite", 1920, 3840);
    cmdCircles = makeButton(c, "cmdCircles", 1920, 480);
    cmdCrosshairs = makeButton(c, "cmdCrosshairs", 360, 1200);
    cmdGrey50 = makeButton(c, "cmdGrey50", 3480, 3840);
    cmdGreys = makeButton(c, "cmdGreys", 360, 4560);
    cmdVerticalLines = makeButton(c, "cmdVerticalLines", 1920, 1200);
    cmdDiagonalLines = makeButton(c, "cmdDiagonalLines", 3480, 1200);

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
    QWidget *previous = nullptr;
    for (const TestCatalog::Test &test : TestCatalog::all()) {
        auto *button = c->findChild<QPushButton *>(QLatin1String(test.button));
        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }
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
    std::vector<std::pair<QWidget *, std::function<void()>>> moves;
    for (const TestCatalog::Test &test : TestCatalog::all()) {
        auto *button = m_client->findChild<QPushButton *>(QLatin1String(test.button));
        const QByteArray name(test.button);
        connect(button, &QPushButton::clicked, this,
            guarded(name + "_Click", [this, &test] { startTest(test); }));
        moves.emplace_back(button, guarded(name + "_MouseMove", [this, &test] {
            txtTestInformation->setPlainText(test.description);
        }));
    }
    const std::pair<QWidget *, const char *> elsewhere[] = {
        { m_client, "Form_MouseMove" },
        { fraTestPatterns, "fraTestPatterns_MouseMove" },
        { fraLCDPixelColorTests, "fraLCDPixelColorTests_MouseMove" },
        { fraBWTestPatterns, "fraBWTestPatterns_MouseMove" },
        { fraTestInformation, "fraTestInformation_MouseMove" },
        { txtTestInformation, "txtTestInformation_MouseMove" },
        { txtTestInformation->viewport(), "txtTestInformation_MouseMove" },
    };
    for (const auto &[control, name] : elsewhere)
        moves.emplace_back(control, guarded(name, [this] { txtTestInformation->clear(); }));
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

void frmMenu::startTest(const TestCatalog::Test &test)
{
    showPreTestMessageIfOn();
    test.show();
}

void frmMenu::menitmShowPreTestMessage_Click()
{
    // The action has already flipped its mark: the new mark is the new option.
    Options::saveShowInfo(menitmShowPreTestMessage->isChecked());
}

void frmMenu::mnuFileCheckForUpdate_Click()
{
    CheckForUpdate();
}

void frmMenu::CheckForUpdate()
{
    UpdateCheck::run(this);
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

void frmMenu::txtTestInformation_GotFocus()
{
    // The box never keeps the focus, so its text cannot be edited or selected from the keyboard.
    cmdBoxes->setFocus(Qt::OtherFocusReason);
}
