#include "dialogs/frmHelp.h"

#include "BuildConfig.h"
#include "app/frmMenu.h"
#include "platform/AppVersion.h"
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
constexpr int IndexLeft = 120;
constexpr int IndexWidth = 1935;
constexpr int HelpLeft = 2160;
constexpr int HelpWidth = 5055;

const QString CrLf = QStringLiteral("\r\n");
} // namespace

frmHelp::frmHelp()
    : Form(DialogFlags)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Quorbel! Help"));
    setWindowIcon(applicationIcon());
    setClientSizeTwips(ClientWidth, ClientHeight);
    createControls();
    connectHandlers();
}

QString frmHelp::topicEntry(int position)
{
    switch (position) {
    case 0:
        return QStringLiteral("About Help");
    case 2:
        return QStringLiteral("Test Patterns");
    case 4:
        return QStringLiteral("Check For Update");
    case 5:
        return QStringLiteral("Show Pre-Test Message");
    case 7:
        return QStringLiteral("Support");
    default:
        return QString(); // the blank rows separate the groups
    }
}

QString frmHelp::topicText(int position)
{
    switch (position) {
    case 0:
        return QStringLiteral("Welcome to Quorbel! Help.") + CrLf + CrLf
            + QStringLiteral("To get help on a particular topic, click on it's title in the list on the left "
                             "side of this window.");
    case 2:
        return QStringLiteral(
            "To display a test pattern, click it's button. A pre-test message may appear telling you how to "
            "exit the test. If you don't want to see this message every time, uncheck the box marked 'Always "
            "show this dialog'. You can press the Esc key on your keyboard to exit the test and go back to "
            "the "
            "main menu.");
    case 4:
        return QStringLiteral(
                   "This will check for updates to Quorbel! on the Internet. If a newer version is "
                   "found, you will be given the option of downloading it.")
            + CrLf + CrLf + QStringLiteral("This feature will require Internet access.");
    case 5:
        return QStringLiteral(
            "If there is a check besides the Show Pre-Test Message option on the File menu, a dialog will "
            "appear before any test is run telling you how to exit the test. To disable this dialog, select "
            "the "
            "Show Pre-Test Messge menu option and it will disable.");
    case 7:
        return QStringLiteral("For further support, please see ") + QStringLiteral(QRBL_WEB_URL)
            + QStringLiteral(" or email ") + QStringLiteral(QRBL_SUPPORT_EMAIL);
    default:
        return QString();
    }
}

void frmHelp::createControls()
{
    // Created bottom of the stacking first; the tab order follows the tab indexes (OK, text, list).
    lblTitle = new QLabel(QStringLiteral("Title"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    placeTwips(lblTitle, 120, 120, 7095, 735);
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    FormScaler::setDesignPointSize(lblTitle, TitlePointSize);

    lstHelpIndex = new QListWidget(this);
    lstHelpIndex->setObjectName(QStringLiteral("lstHelpIndex"));
    placeTwips(lstHelpIndex, IndexLeft, 960, IndexWidth, 2790);
    lstHelpIndex->setSelectionMode(QAbstractItemView::SingleSelection);
    lstHelpIndex->setSortingEnabled(false);
    lstHelpIndex->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    placeTwips(txtHelp, HelpLeft, 960, HelpWidth, 2775);
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
    txtHelp->setPlainText(QStringLiteral("Help Text") + CrLf);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    placeTwips(cmdOK, 6000, 3840, 1215, 495);
    cmdOK->setAutoDefault(false);

    setTabOrder(cmdOK, txtHelp);
    setTabOrder(txtHelp, lstHelpIndex);
}

void frmHelp::connectHandlers()
{
    // The list's click: raised whenever the selection changes, by mouse or by keyboard.
    connect(lstHelpIndex, &QListWidget::itemSelectionChanged, this,
        handler("lstHelpIndex_Click", &frmHelp::lstHelpIndex_Click));
    connect(cmdOK, &QPushButton::clicked, this, handler("cmdOK_Click", &frmHelp::cmdOK_Click));
    m_txtHelpGotFocus = handler("txtHelp_GotFocus", &frmHelp::txtHelp_GotFocus);
    txtHelp->installEventFilter(this);
}

bool frmHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtHelp && event->type() == QEvent::FocusIn)
        m_txtHelpGotFocus();
    return Form::eventFilter(watched, event);
}

void frmHelp::Form_Load()
{
    for (int position = 0; position < TopicCount; ++position)
        lstHelpIndex->insertItem(position, topicEntry(position));
    lblTitle->setText(QStringLiteral("Quorbel!") + CrLf + QStringLiteral("Version ") + AppVersion::text());
    txtHelp->setPlainText(topicText(0));
}

void frmHelp::showEvent(QShowEvent *event)
{
    Form::showEvent(event);
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
    if (position >= 0 && position < TopicCount)
        txtHelp->setPlainText(topicText(position));
}

void frmHelp::txtHelp_GotFocus()
{
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmHelp::cmdOK_Click()
{
    Unload();
    form<frmMenu>().Show();
}
