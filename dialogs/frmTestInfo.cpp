#include "dialogs/frmTestInfo.h"

#include "app/frmMenu.h"
#include "platform/FormScaler.h"
#include "platform/Screen.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

const QString frmTestInfo::Message = QStringLiteral(
    "A test pattern is about to be displayed on your screen. You can exit and return to the main window at "
    "any time by pressing the Esc key on your keyboard.");

namespace {
constexpr int ClientLeft = 2760;
constexpr int ClientTop = 3750;
constexpr int ClientWidth = 4845;
constexpr int ClientHeight = 2415;
constexpr qreal MessagePointSize = 9.75;
} // namespace

frmTestInfo::frmTestInfo()
    : Form(DialogFlags)
{
    setWindowTitle(QStringLiteral("Quorbel!"));
    setWindowIcon(applicationIcon());
    setClientSizeTwips(ClientWidth, ClientHeight);
    // Placed by its design: the client area at fixed twips from the top-left corner of the monitor the
    // pattern will use, the one holding the main window.
    if (QScreen *screen = Screen::target()) {
        setScreen(screen);
        setGeometry(twipsRect(ClientLeft, ClientTop, ClientWidth, ClientHeight)
                        .translated(screen->geometry().topLeft()));
    }
    createControls();
    connectHandlers();
}

void frmTestInfo::createControls()
{
    // Created bottom of the stacking first; tab order follows the tab indexes (OK, check box, label).
    lblHowToExit = new QLabel(this);
    lblHowToExit->setObjectName(QStringLiteral("lblHowToExit"));
    placeTwips(lblHowToExit, 120, 120, 4575, 1695);
    lblHowToExit->setWordWrap(true);
    lblHowToExit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblHowToExit->setTextFormat(Qt::PlainText);
    FormScaler::setDesignPointSize(lblHowToExit, MessagePointSize);

    chkShowEveryTime = new QCheckBox(QStringLiteral("Always show this dialog."), this);
    chkShowEveryTime->setObjectName(QStringLiteral("chkShowEveryTime"));
    placeTwips(chkShowEveryTime, 120, 2040, 2295, 255);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    placeTwips(cmdOK, 3480, 1920, 1215, 375);
    cmdOK->setAutoDefault(false);

    setTabOrder(cmdOK, chkShowEveryTime);
}

void frmTestInfo::connectHandlers()
{
    connect(cmdOK, &QPushButton::clicked, this, handler("cmdOK_Click", &frmTestInfo::cmdOK_Click));
}

void frmTestInfo::Form_Load()
{
    lblHowToExit->setText(Message);
    chkShowEveryTime->setChecked(Options().showExitInfo() == true);
}

void frmTestInfo::showEvent(QShowEvent *event)
{
    Form::showEvent(event);
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmTestInfo::cmdOK_Click()
{
    const bool always = chkShowEveryTime->isChecked();
    form<frmMenu>().options().setShowInfo(always);
    form<frmMenu>().menitmShowPreTestMessage->setChecked(always);
    Unload();
}
