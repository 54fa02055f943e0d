#include "dialogs/frmTestInfo.h"

#include "platform/ErrorBoundary.h"
#include "platform/FormScaler.h"
#include "platform/Screen.h"

#include <QCheckBox>
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

frmTestInfo::frmTestInfo(bool showEveryTime, QWidget *parent)
    : Dialog(parent, EscapeIgnored)
{
    setObjectName(QStringLiteral("frmTestInfo"));
    setWindowTitle(QStringLiteral("Quorbel!"));
    FormScaler::setClientSize(this, ClientWidth, ClientHeight);
    // Placed by its design: the client area at fixed twips from the top-left corner of the monitor that
    // holds the window it was opened from.
    if (QScreen *screen = Screen::holding(parent)) {
        setScreen(screen);
        setGeometry(FormScaler::twipsRect(ClientLeft, ClientTop, ClientWidth, ClientHeight)
                        .translated(screen->geometry().topLeft()));
    }
    createControls();
    connectHandlers();
    lblHowToExit->setText(Message);
    chkShowEveryTime->setChecked(showEveryTime);
}

void frmTestInfo::createControls()
{
    // Created bottom of the stacking first; tab order follows the tab indexes (OK, check box, label).
    lblHowToExit = new QLabel(this);
    lblHowToExit->setObjectName(QStringLiteral("lblHowToExit"));
    FormScaler::place(lblHowToExit, 120, 120, 4575, 1695);
    lblHowToExit->setWordWrap(true);
    lblHowToExit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblHowToExit->setTextFormat(Qt::PlainText);
    FormScaler::setDesignPointSize(lblHowToExit, MessagePointSize);

    chkShowEveryTime = new QCheckBox(QStringLiteral("Always show this dialog."), this);
    chkShowEveryTime->setObjectName(QStringLiteral("chkShowEveryTime"));
    FormScaler::place(chkShowEveryTime, 120, 2040, 2295, 255);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    FormScaler::place(cmdOK, 3480, 1920, 1215, 375);

    setTabOrder(cmdOK, chkShowEveryTime);
}

void frmTestInfo::connectHandlers()
{
    connect(cmdOK, &QPushButton::clicked, this, ErrorBoundary::handler("cmdOK_Click", this, &frmTestInfo::cmdOK_Click));
}

bool frmTestInfo::showEveryTime() const
{
    return chkShowEveryTime->isChecked();
}

void frmTestInfo::showEvent(QShowEvent *event)
{
    Dialog::showEvent(event);
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmTestInfo::cmdOK_Click()
{
    accept();
}
