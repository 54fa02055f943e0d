#include "update/frmUpdate.h"

#include "platform/ElidedLabel.h"
#include "platform/ErrorBoundary.h"
#include "platform/Form.h"
#include "platform/FormScaler.h"
#include "platform/LinkLabel.h"
#include "platform/Shell.h"

#include "BuildConfig.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

const QString frmUpdate::WebPage = QStringLiteral(QRBL_WEB_URL);

namespace {
constexpr int ClientWidth = 4695;
constexpr int ClientHeight = 2430;
constexpr int RightMargin = 4575; // where lblNewVersion, the widest control, ends
// The address is a build setting, often longer than the design's: it may use the room up to the margin.
constexpr int LinkLeft = 2640;

// Labels draw from their top-left corner and wrap at their width; their text is never markup, since
// the version texts come from the update server.
QLabel *makeLabel(
    QWidget *parent, const char *name, const QString &caption, int left, int top, int width, int height)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    Form::placeTwips(label, left, top, width, height);
    return label;
}
} // namespace

frmUpdate::frmUpdate(const QString &version, const QString &running, QWidget *owner)
    : QDialog(owner, Form::DialogFlags)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(QStringLiteral("Update Check"));
    setWindowIcon(Form::applicationIcon());
    FormScaler::record(this, QRect(0, 0, ClientWidth, ClientHeight));
    setFixedSize(Form::twipsRect(0, 0, ClientWidth, ClientHeight).size());
    createControls();
    lblVersion->setText(version);
    lblThisVersion->setText(running);
    connectHandlers();
    FormScaler::fit(this);
}

void frmUpdate::createControls()
{
    // Created bottom of the stacking first, so the first control of the design lies on top.
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Form::placeTwips(cmdOK, 3360, 1800, 1215, 495);
    cmdOK->setAutoDefault(false);
    cmdOK->setDefault(false);

    lblThisVersion = makeLabel(this, "lblThisVersion", QStringLiteral("This Version"), 1440, 480, 1215, 255);
    lblYourVersion = makeLabel(this, "lblYourVersion", QStringLiteral("Your Version:"), 120, 480, 1215, 255);
    lblUpdateMessage = makeLabel(
        this, "lblUpdateMessage", QStringLiteral("Download the latest version from:"), 120, 1320, 2415, 255);

    lblDownloadURL = new LinkLabel(WebPage, this);
    lblDownloadURL->setObjectName(QStringLiteral("lblDownloadURL"));
    lblDownloadURL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Form::placeTwips(lblDownloadURL, LinkLeft, 1320, RightMargin - LinkLeft, 255);

    // The server's text: never wider than the design's label, whatever its length.
    lblVersion = new ElidedLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Form::placeTwips(lblVersion, 1440, 840, 1215, 255);
    lblCurrentVersion
        = makeLabel(this, "lblCurrentVersion", QStringLiteral("Current Version:"), 120, 840, 1215, 255);
    lblNewVersion = makeLabel(this, "lblNewVersion",
        QStringLiteral("A new version of Quorbel! is now available."), 120, 120, 4455, 255);
}

void frmUpdate::connectHandlers()
{
    connect(lblDownloadURL, &LinkLabel::clicked, this,
        [this] { ErrorBoundary::run("lblDownloadURL_Click", [this] { lblDownloadURL_Click(); }); });
    connect(cmdOK, &QPushButton::clicked, this,
        [this] { ErrorBoundary::run("cmdOK_Click", [this] { cmdOK_Click(); }); });
}

void frmUpdate::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Labels take no focus: the button holds it.
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmUpdate::keyPressEvent(QKeyEvent *event)
{
    // No cancel button: Esc leaves the dialog open. Enter, the keypad's too, presses OK.
    if (event->key() == Qt::Key_Escape)
        return;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmUpdate::lblDownloadURL_Click()
{
    Shell::open(WebPage);
}

void frmUpdate::cmdOK_Click()
{
    accept();
}
