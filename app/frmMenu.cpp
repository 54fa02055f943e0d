#include "app/frmMenu.h"

#include "app/Options.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmTestInfo.h"
#include "patterns/PatternForm.h"
#include "patterns/TestCatalog.h"
#include "platform/AppIcon.h"
#include "platform/Dialog.h"
#include "platform/ErrorBoundary.h"
#include "platform/FormScaler.h"
#include "platform/Screen.h"
#include "update/UpdateCheck.h"

#include <QAction>
#include <QActionGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
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
    FormScaler::place(button, left, top, 1215, 495);
    return button;
}

QGroupBox *makeFrame(
    QWidget *parent, const char *name, const char *caption, int left, int top, int width, int height)
{
    auto *frame = new QGroupBox(QString::fromLatin1(caption), parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(frame, left, top, width, height);
    return frame;
}

QAction *menuItem(QMenu *menu, const char *name, const char *caption)
{
    QAction *action = caption ? menu->addAction(QString::fromLatin1(caption)) : menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}
} // namespace

frmMenu::frmMenu()
    : QWidget(nullptr,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(QStringLiteral("Quorbel!"));
    setWindowIcon(AppIcon::icon());
    createMenus();
    createControls();
    connectHandlers();
    Form_Load();
}

void frmMenu::createControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    FormScaler::place(m_client, 0, 0, ClientWidth, ClientHeight);
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
    makeButton(c, "cmdColors", 3480, 480);
    fraLCDPixelColorTests
        = makeFrame(c, "fraLCDPixelColorTests", "LCD Pixel Color Tests", 120, 2160, 4815, 1095);
    makeButton(c, "cmdBlue", 3480, 2520);
    makeButton(c, "cmdGreen", 1920, 2520);
    makeButton(c, "cmdRed", 360, 2520);
    makeButton(c, "cmdBlack", 360, 3840);
    makeButton(c, "cmdWhite", 1920, 3840);
    makeButton(c, "cmdCircles", 1920, 480);
    makeButton(c, "cmdCrosshairs", 360, 1200);
    makeButton(c, "cmdGrey50", 3480, 3840);
    makeButton(c, "cmdGreys", 360, 4560);
    makeButton(c, "cmdVerticalLines", 1920, 1200);
    makeButton(c, "cmdDiagonalLines", 3480, 1200);

    txtTestInformation = new QPlainTextEdit(c);
    txtTestInformation->setObjectName(QStringLiteral("txtTestInformation"));
    FormScaler::place(txtTestInformation, 5280, 360, 2295, 4815);
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
    cmdBoxes->setFocus(Qt::OtherFocusReason);
}

void frmMenu::createMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));

    menFile = menuBar->addMenu(QStringLiteral("&File"));
    menFile->setObjectName(QStringLiteral("menFile"));
    mnuFileCheckForUpdate = menuItem(menFile, "mnuFileCheckForUpdate", "Check For Update");
    menitmShowPreTestMessage = menuItem(menFile, "menitmShowPreTestMessage", "Show Pre-Test Message");
    menitmShowPreTestMessage->setCheckable(true);
    menitmShowPreTestMessage->setChecked(true);
    menShowTestsOn = menFile->addMenu(QStringLiteral("Show Tests On"));
    menShowTestsOn->setObjectName(QStringLiteral("menShowTestsOn"));
    menuItem(menFile, "menitmFileSeperator", nullptr);
    menitmExit = menuItem(menFile, "menitmExit", "E&xit");

    menHelp = menuBar->addMenu(QStringLiteral("&Help"));
    menHelp->setObjectName(QStringLiteral("menHelp"));
    menitmQRBLHelp = menuItem(menHelp, "menitmQRBLHelp", "Quorbel! Help");
    menuItem(menHelp, "menitmHelpSeparator", nullptr);
    menitmAbout = menuItem(menHelp, "menitmAbout", "About");
}

void frmMenu::connectHandlers()
{
    using ErrorBoundary::handler;
    connect(menitmShowPreTestMessage, &QAction::triggered, this,
        handler("menitmShowPreTestMessage_Click", this, &frmMenu::menitmShowPreTestMessage_Click));
    connect(mnuFileCheckForUpdate, &QAction::triggered, this,
        handler("mnuFileCheckForUpdate_Click", this, &frmMenu::mnuFileCheckForUpdate_Click));
    connect(menitmQRBLHelp, &QAction::triggered, this,
        handler("menitmQRBLHelp_Click", this, &frmMenu::menitmQRBLHelp_Click));
    connect(menitmAbout, &QAction::triggered, this, handler("menitmAbout_Click", this, &frmMenu::menitmAbout_Click));
    connect(menitmExit, &QAction::triggered, this, handler("menitmExit_Click", this, &frmMenu::menitmExit_Click));
    // The monitors as they are when the menu opens: they come and go, and change their size.
    connect(menShowTestsOn, &QMenu::aboutToShow, this, handler("menShowTestsOn_Click", this, &frmMenu::listMonitors));

    // Pointer moves over the description panel's sources. Qt reports moves without a held button only
    // to widgets that track the mouse, and the text box's moves arrive at its viewport.
    std::vector<std::tuple<QWidget *, QByteArray, std::function<void()>>> moves;
    for (const TestCatalog::Test &test : TestCatalog::all()) {
        auto *button = m_client->findChild<QPushButton *>(QLatin1String(test.button));
        const QByteArray name(test.button);
        connect(button, &QPushButton::clicked, this,
            [this, &test, where = name + "_Click"] { ErrorBoundary::run(where.constData(), [&] { startTest(test); }); });
        moves.emplace_back(button, name + "_MouseMove", [this, &test] {
            txtTestInformation->setPlainText(test.description);
        });
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
        moves.emplace_back(control, name, [this] { txtTestInformation->clear(); });
    for (const auto &[control, name, onMove] : moves) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
        m_mouseMoveHandlers.insert(control, [where = name, onMove] { ErrorBoundary::run(where.constData(), onMove); });
    }
}

void frmMenu::Form_Load()
{
    // Any stored value but 1 or 0 leaves the mark as designed.
    if (const std::optional<bool> stored = m_options.showInfo())
        menitmShowPreTestMessage->setChecked(*stored);
}

void frmMenu::setVisible(bool visible)
{
    // Laid out as late as this: the desktop's font is known once the window is about to show.
    if (visible)
        FormScaler::fit(this);
    QWidget::setVisible(visible);
}

void frmMenu::bringToFront()
{
    show();
    raise();
    activateWindow();
}

void frmMenu::setShowInfo(bool on)
{
    menitmShowPreTestMessage->setChecked(on);
    tell(m_options.setShowInfo(on));
}

void frmMenu::tell(const Options::Saved &saved)
{
    if (saved.firstFailure)
        Dialog::message(this, QMessageBox::Warning, windowTitle(), saved.message);
}

void frmMenu::showPreTestMessageIfOn()
{
    // Read afresh for every test: another program may have changed it.
    if (m_options.showInfo() != true)
        return;
    frmTestInfo message(m_options.showExitInfo() == true, this);
    // Its close box starts the test all the same, without storing anything; OK stores only a change, so
    // a store that cannot be written is not mentioned unless the user changes the option.
    if (message.exec() == QDialog::Accepted && !message.showEveryTime())
        setShowInfo(false);
}

QList<QScreen *> frmMenu::testScreens(const QString &choice) const
{
    if (choice == QLatin1String("all"))
        return QGuiApplication::screens();
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->name() == choice)
            return { screen };
    return { Screen::holding(this) };
}

void frmMenu::listMonitors()
{
    // A stored monitor that is not connected stays stored, for when it comes back; meanwhile tests open on
    // this window's monitor, and the mark says so.
    const QString chosen = m_options.monitor();
    menShowTestsOn->clear();
    auto *choices = new QActionGroup(menShowTestsOn);
    const auto item = [&](const QString &caption, const QString &choice) {
        QAction *action = menShowTestsOn->addAction(caption);
        action->setObjectName(QStringLiteral("menitmShowTestsOn"));
        action->setData(choice);
        action->setCheckable(true);
        action->setChecked(choice == chosen);
        action->setActionGroup(choices);
        connect(action, &QAction::triggered, this, [this, choice] {
            ErrorBoundary::run("menitmShowTestsOn_Click", [&] { chooseMonitor(choice); });
        });
    };
    item(QStringLiteral("This Window's Monitor"), QStringLiteral("window"));
    item(QStringLiteral("All Monitors"), QStringLiteral("all"));
    menShowTestsOn->addSeparator();
    for (QScreen *screen : QGuiApplication::screens()) {
        const QSize device = (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize();
        item(QStringLiteral("%1 (%2\u00d7%3)").arg(screen->name()).arg(device.width()).arg(device.height()),
            screen->name());
    }
}

void frmMenu::chooseMonitor(const QString &choice)
{
    tell(m_options.setMonitor(choice));
}

void frmMenu::startTest(const TestCatalog::Test &test)
{
    if (!m_patterns.isEmpty())
        return; // one test at a time
    showPreTestMessageIfOn();
    openTest(test, m_options.monitor());
}

void frmMenu::openTest(const TestCatalog::Test &test, const QString &monitors)
{
    if (!m_patterns.isEmpty())
        return;
    // While the test runs the main window takes no input, wherever it lies.
    m_focusBeforeTest = focusWidget();
    m_client->setEnabled(false);
    menuBar->setEnabled(false);
    for (QScreen *screen : testScreens(monitors)) {
        PatternForm *pattern = test.create(this);
        connect(pattern, &PatternForm::escaped, this, ErrorBoundary::handler("Form_KeyPress", this, &frmMenu::endTest));
        m_patterns.append(pattern);
        pattern->showOn(screen);
    }
}

void frmMenu::endTest()
{
    if (m_patterns.isEmpty())
        return;
    for (const QPointer<PatternForm> &pattern : std::exchange(m_patterns, {}))
        if (pattern)
            pattern->close();
    m_client->setEnabled(true);
    menuBar->setEnabled(true);
    if (m_focusBeforeTest)
        m_focusBeforeTest->setFocus(Qt::OtherFocusReason);
    bringToFront();
}

void frmMenu::menitmShowPreTestMessage_Click()
{
    // The action has already flipped its mark: the new mark is the new option.
    setShowInfo(menitmShowPreTestMessage->isChecked());
}

void frmMenu::mnuFileCheckForUpdate_Click()
{
    UpdateCheck::run(this);
}

void frmMenu::menitmQRBLHelp_Click()
{
    frmHelp(this).exec();
    bringToFront();
}

void frmMenu::menitmAbout_Click()
{
    frmAbout(this).exec();
    bringToFront();
}

void frmMenu::menitmExit_Click()
{
    // Every window the main window opened goes with it, and the program ends; nothing is saved.
    close();
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
        ErrorBoundary::run("txtTestInformation_GotFocus", [this] { txtTestInformation_GotFocus(); });
    }
    return QWidget::eventFilter(watched, event);
}

void frmMenu::keyPressEvent(QKeyEvent *event)
{
    // A compositor may leave the keyboard here when the test opens on another output: Esc still ends it.
    if (event->key() == Qt::Key_Escape && !m_patterns.isEmpty()) {
        endTest();
        return;
    }
    // Enter, on the main keyboard or the keypad, presses the focused button, else the default one.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        auto *focused = qobject_cast<QPushButton *>(focusWidget());
        (focused ? focused : cmdBoxes)->click();
        return;
    }
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
    QWidget::keyPressEvent(event);
}

void frmMenu::txtTestInformation_GotFocus()
{
    // The box never keeps the focus, so its text cannot be edited or selected from the keyboard.
    cmdBoxes->setFocus(Qt::OtherFocusReason);
}
