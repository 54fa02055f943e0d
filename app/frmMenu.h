#pragma once

#include "app/Options.h"

#include <QPointer>
#include <QWidget>

class PatternForm;
class QAction;
class QGroupBox;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QScreen;

namespace TestCatalog {
struct Test;
}

// The main window: thirteen test buttons in three groups, the description panel and two menus. It opens
// every other window, owns it, and applies its answer: the pre-test message's choice, a test's end.
class frmMenu : public QWidget
{
    Q_OBJECT
public:
    frmMenu();

    void setVisible(bool visible) override;
    // Shown, in front and with the keyboard: at start, and after a window it opened has closed.
    void bringToFront();
    // Opens the test at once, without the message before it, on the chosen monitors: "window" (the one
    // holding this window), "all", or a monitor's name.
    void openTest(const TestCatalog::Test &test, const QString &monitors);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void createMenus();
    void connectHandlers();

    void Form_Load();
    void txtTestInformation_GotFocus();
    void menitmShowPreTestMessage_Click();
    void mnuFileCheckForUpdate_Click();
    void menitmQRBLHelp_Click();
    void menitmAbout_Click();
    void menitmExit_Click();

    void listMonitors();
    void chooseMonitor(const QString &choice);
    void startTest(const TestCatalog::Test &test);
    void endTest();
    void showPreTestMessageIfOn();
    void setShowInfo(bool on);
    // The first choice in a run that cannot be stored is told in a message box; later ones on stderr.
    void tell(const Options::Saved &saved);
    QList<QScreen *> testScreens(const QString &choice) const;

    // The client area below the menu bar; every control is a child of it.
    QWidget *m_client;
    QGroupBox *fraTestPatterns;
    QGroupBox *fraLCDPixelColorTests;
    QGroupBox *fraBWTestPatterns;
    QGroupBox *fraTestInformation;
    QPushButton *cmdBoxes;
    QPlainTextEdit *txtTestInformation;

    QMenuBar *menuBar;
    QMenu *menFile;
    QAction *mnuFileCheckForUpdate;
    QAction *menitmShowPreTestMessage;
    QMenu *menShowTestsOn;
    QAction *menitmExit;
    QMenu *menHelp;
    QAction *menitmQRBLHelp;
    QAction *menitmAbout;

    // The description panel: a pointer move over a test button describes the test, over anything else in
    // the window it empties the box.
    QHash<QObject *, std::function<void()>> m_mouseMoveHandlers;
    // The windows of the running test, one per monitor it shows on.
    QList<QPointer<PatternForm>> m_patterns;
    QPointer<QWidget> m_focusBeforeTest;
    Options m_options;
};
