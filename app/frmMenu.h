#pragma once

#include "app/Options.h"
#include "platform/Form.h"

#include <QHash>

#include <functional>

class QAction;
class QGroupBox;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;

namespace TestCatalog {
struct Test;
}

// The main window: thirteen test buttons in three groups, the description panel and two menus.
class frmMenu : public Form
{
    Q_OBJECT
public:
    frmMenu();

    // The client area below the menu bar; every control is a child of it.
    QWidget *client() const { return m_client; }
    Options &options() { return m_options; }

    QGroupBox *fraTestPatterns;
    QGroupBox *fraLCDPixelColorTests;
    QGroupBox *fraBWTestPatterns;
    QGroupBox *fraTestInformation;
    QPushButton *cmdBoxes;
    QPushButton *cmdCircles;
    QPushButton *cmdColors;
    QPushButton *cmdCrosshairs;
    QPushButton *cmdVerticalLines;
    QPushButton *cmdDiagonalLines;
    QPushButton *cmdRed;
    QPushButton *cmdGreen;
    QPushButton *cmdBlue;
    QPushButton *cmdBlack;
    QPushButton *cmdWhite;
    QPushButton *cmdGrey50;
    QPushButton *cmdGreys;
    QPlainTextEdit *txtTestInformation;

    QMenuBar *menuBar;
    QMenu *menFile;
    QAction *mnuFileCheckForUpdate;
    QAction *menitmShowPreTestMessage;
    QAction *menitmFileSeperator;
    QAction *menitmExit;
    QMenu *menHelp;
    QAction *menitmQRBLHelp;
    QAction *menitmHelpSeparator;
    QAction *menitmAbout;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void createMenus();
    void connectHandlers();

    void txtTestInformation_GotFocus();

    // The description panel: a pointer move over a test button describes the test, over anything
    // else in the window it empties the box.
    QHash<QObject *, std::function<void()>> m_mouseMoveHandlers;
    std::function<void()> m_txtTestInformationGotFocus;

    void menitmShowPreTestMessage_Click();
    void mnuFileCheckForUpdate_Click();
    void menitmQRBLHelp_Click();
    void menitmAbout_Click();
    void menitmExit_Click();

    void startTest(const TestCatalog::Test &test);
    void showPreTestMessageIfOn();
    void closingSequence();
    void CheckForUpdate();

    QWidget *m_client;
    Options m_options;
};
