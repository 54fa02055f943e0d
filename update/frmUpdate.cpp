#include "update/frmUpdate.h"

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

frmUpdate::frmUpdate()
    : Form(DialogFlags)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(QStringLiteral("Update Check"));
    setWindowIcon(applicationIcon());
    setClientSizeTwips(ClientWidth, ClientHeight);
    createControls();
    connectHandlers();
}

void frmUpdate::createControls()
{
    // Created bottom of the stacking first, so the first control of the design lies on top.
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    placeTwips(cmdOK, 3360, 1800, 1215, 495);
    cmdOK->setAutoDefault(false);
    cmdOK->setDefault(false);

    lblThisVersion = makeLabel(this, "lblThisVersion", QStringLiteral("This Version"), 1440, 480, 1215, 255);
    lblYourVersion = makeLabel(this, "lblYourVersion", QStringLiteral("Your Version:"), 120, 480, 1215, 255);
    lblUpdateMessage = makeLabel(
        this, "lblUpdateMessage", QStringLiteral("Download the latest version from:"), 120, 1320, 2415, 255);

    lblDownloadURL = new LinkLabel(WebPage, this);
    lblDownloadURL->setObjectName(QStringLiteral("lblDownloadURL"));
    lblDownloadURL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(lblDownloadURL, LinkLeft, 1320, RightMargin - LinkLeft, 255);

    lblVersion = makeLabel(this, "lblVersion", QStringLiteral("Version"), 1440, 840, 1215, 255);
    lblCurrentVersion
        = makeLabel(this, "lblCurrentVersion", QStringLiteral("Current Version:"), 120, 840, 1215, 255);
    lblNewVersion = makeLabel(this, "lblNewVersion",
        QStringLiteral("A new version of Quorbel! is now available."), 120, 120, 4455, 255);
}

void frmUpdate::connectHandlers()
{
    connect(lblDownloadURL, &LinkLabel::clicked, this,
        handler("lblDownloadURL_Click", &frmUpdate::lblDownloadURL_Click));
    connect(cmdOK, &QPushButton::clicked, this, handler("cmdOK_Click", &frmUpdate::cmdOK_Click));
}

void frmUpdate::showEvent(QShowEvent *event)
{
    Form::showEvent(event);
    // Labels take no focus: the button holds it.
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmUpdate::lblDownloadURL_Click()
{
    Shell::open(WebPage);
}

void frmUpdate::cmdOK_Click()
{
    Unload();
}
