#include "dialogs/frmHelp.h"

#include "BuildConfig.h"
#include "platform/AppVersion.h"
#include "platform/ErrorBoundary.h"
#include "platform/FormScaler.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
constexpr int ClientWidth = 7335;
constexpr int ClientHeight = 4455;
constexpr qreal TitlePointSize = 12.0;
constexpr qreal HelpPointSize = 9.75;

const QString CrLf = QStringLiteral("\r\n");
} // namespace

const std::vector<frmHelp::Topic> &frmHelp::topics()
{
    static const std::vector<Topic> table = {
        { QStringLiteral("About Help"),
            QStringLiteral("Welcome to Quorbel! Help.") + CrLf + CrLf
                + QStringLiteral("To get help on a particular topic, click on it's title in the list on the "
                                 "left side of this window.") },
        {},
        { QStringLiteral("Test Patterns"),
            QStringLiteral("To display a test pattern, click it's button. A pre-test message may appear "
                           "telling you how to exit the test. If you don't want to see this message every "
                           "time, uncheck the box marked 'Always show this dialog'. You can press the Esc key "
                           "on your keyboard to exit the test and go back to the main menu.") },
        {},
        { QStringLiteral("Check For Update"),
            QStringLiteral("This will check for updates to Quorbel! on the Internet. If a newer version is "
                           "found, you will be given the option of downloading it.")
                + CrLf + CrLf + QStringLiteral("This feature will require Internet access.") },
        { QStringLiteral("Show Pre-Test Message"),
            QStringLiteral("If there is a check besides the Show Pre-Test Message option on the File menu, a "
                           "dialog will appear before any test is run telling you how to exit the test. To "
                           "disable this dialog, select the Show Pre-Test Messge menu option and it will "
                           "disable.") },
        {},
        { QStringLiteral("Support"),
            QStringLiteral("For further support, please see ") + QStringLiteral(QRBL_WEB_URL)
                + QStringLiteral(" or email ") + QStringLiteral(QRBL_SUPPORT_EMAIL) },
    };
    return table;
}

frmHelp::frmHelp(QWidget *parent)
    : Dialog(parent, EscapeIgnored)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Quorbel! Help"));
    FormScaler::setClientSize(this, ClientWidth, ClientHeight);
    createControls();
    connectHandlers();
    for (const Topic &topic : topics())
        lstHelpIndex->addItem(topic.entry);
    lblTitle->setText(QStringLiteral("Quorbel!") + CrLf + QStringLiteral("Version ") + AppVersion::text());
    txtHelp->setPlainText(topics().front().text);
}

void frmHelp::createControls()
{
    // Created bottom of the stacking first; the tab order follows the tab indexes (OK, text, list).
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    FormScaler::place(lblTitle, 120, 120, 7095, 735);
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    FormScaler::setDesignPointSize(lblTitle, TitlePointSize);

    lstHelpIndex = new QListWidget(this);
    lstHelpIndex->setObjectName(QStringLiteral("lstHelpIndex"));
    FormScaler::place(lstHelpIndex, 120, 960, 1935, 2790);
    lstHelpIndex->setSelectionMode(QAbstractItemView::SingleSelection);
    lstHelpIndex->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    FormScaler::place(txtHelp, 2160, 960, 5055, 2775);
    txtHelp->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The focus never stays here; read-only also keeps a middle-click paste or a drop out of the text.
    txtHelp->setReadOnly(true);
    QPalette helpPalette = txtHelp->palette();
    helpPalette.setColor(QPalette::Base, Qt::white);
    helpPalette.setColor(QPalette::Text, Qt::black);
    txtHelp->setPalette(helpPalette);
    FormScaler::setDesignPointSize(txtHelp, HelpPointSize);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    FormScaler::place(cmdOK, 6000, 3840, 1215, 495);

    setTabOrder(cmdOK, txtHelp);
    setTabOrder(txtHelp, lstHelpIndex);
}

void frmHelp::connectHandlers()
{
    // The list's click: raised whenever the selection changes, by mouse or by keyboard.
    connect(lstHelpIndex, &QListWidget::itemSelectionChanged, this,
        ErrorBoundary::handler("lstHelpIndex_Click", this, &frmHelp::lstHelpIndex_Click));
    connect(cmdOK, &QPushButton::clicked, this, ErrorBoundary::handler("cmdOK_Click", this, &frmHelp::cmdOK_Click));
    txtHelp->installEventFilter(this);
}

bool frmHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtHelp && event->type() == QEvent::FocusIn)
        ErrorBoundary::run("txtHelp_GotFocus", [this] { txtHelp_GotFocus(); });
    return Dialog::eventFilter(watched, event);
}

void frmHelp::showEvent(QShowEvent *event)
{
    Dialog::showEvent(event);
    cmdOK->setFocus(Qt::OtherFocusReason);
}

int frmHelp::ListIndex() const
{
    const QList<QListWidgetItem *> selected = lstHelpIndex->selectedItems();
    return selected.isEmpty() ? -1 : lstHelpIndex->row(selected.first());
}

void frmHelp::lstHelpIndex_Click()
{
    const int position = ListIndex();
    if (position >= 0 && position < int(topics().size()))
        txtHelp->setPlainText(topics()[size_t(position)].text);
}

void frmHelp::txtHelp_GotFocus()
{
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmHelp::cmdOK_Click()
{
    accept();
}
