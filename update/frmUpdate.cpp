#include "update/frmUpdate.h"

#include "platform/ElidedLabel.h"
#include "platform/ErrorBoundary.h"
#include "platform/FormScaler.h"
#include "platform/LinkLabel.h"
#include "platform/Shell.h"

#include "BuildConfig.h"

#include <QLabel>
#include <QPushButton>

const QString frmUpdate::WebPage = QStringLiteral(QRBL_WEB_URL);

namespace {
constexpr int ClientWidth = 4695;
constexpr int ClientHeight = 2430;
constexpr int RightMargin = 4575; // where lblNewVersion, the widest control, ends
// The address is a build setting, often longer than the design's: it may use the room up to the margin.
constexpr int LinkLeft = 2640;
} // namespace

frmUpdate::frmUpdate(const QString &version, const QString &running, QWidget *parent)
    : Dialog(parent, EscapeIgnored)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(QStringLiteral("Update Check"));
    FormScaler::setClientSize(this, ClientWidth, ClientHeight);
    createControls();
    connectHandlers();
    lblVersion->setText(version);
    lblThisVersion->setText(running);
}

void frmUpdate::createControls()
{
    // Created bottom of the stacking first, so the first control of the design lies on top.
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    FormScaler::place(cmdOK, 3360, 1800, 1215, 495);

    lblThisVersion = addLabel("lblThisVersion", QStringLiteral("This Version"), 1440, 480, 1215, 255);
    lblYourVersion = addLabel("lblYourVersion", QStringLiteral("Your Version:"), 120, 480, 1215, 255);
    lblUpdateMessage
        = addLabel("lblUpdateMessage", QStringLiteral("Download the latest version from:"), 120, 1320, 2415, 255);

    lblDownloadURL = new LinkLabel(WebPage, this);
    lblDownloadURL->setObjectName(QStringLiteral("lblDownloadURL"));
    lblDownloadURL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FormScaler::place(lblDownloadURL, LinkLeft, 1320, RightMargin - LinkLeft, 255);

    // The server's text: never wider than the design's label, whatever its length.
    lblVersion = new ElidedLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    FormScaler::place(lblVersion, 1440, 840, 1215, 255);
    lblCurrentVersion = addLabel("lblCurrentVersion", QStringLiteral("Current Version:"), 120, 840, 1215, 255);
    lblNewVersion = addLabel(
        "lblNewVersion", QStringLiteral("A new version of Quorbel! is now available."), 120, 120, 4455, 255);
    // The labels wrap at their width.
    for (QLabel *label : { lblThisVersion, lblYourVersion, lblUpdateMessage, lblCurrentVersion, lblNewVersion })
        label->setWordWrap(true);
}

void frmUpdate::connectHandlers()
{
    connect(lblDownloadURL, &LinkLabel::clicked, this,
        ErrorBoundary::handler("lblDownloadURL_Click", this, &frmUpdate::lblDownloadURL_Click));
    connect(cmdOK, &QPushButton::clicked, this, ErrorBoundary::handler("cmdOK_Click", this, &frmUpdate::cmdOK_Click));
}

void frmUpdate::showEvent(QShowEvent *event)
{
    Dialog::showEvent(event);
    // Labels take no focus: the button holds it, so Enter presses it.
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmUpdate::lblDownloadURL_Click()
{
    Shell::open(WebPage);
}

void frmUpdate::cmdOK_Click()
{
    accept();
}
