#include "dialogs/frmAbout.h"

#include "BuildConfig.h"
#include "platform/AppVersion.h"
#include "platform/AppIcon.h"
#include "platform/ErrorBoundary.h"
#include "platform/FormScaler.h"
#include "platform/LinkLabel.h"
#include "platform/OleColor.h"
#include "platform/Shell.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <cmath>

namespace {
constexpr int ClientWidth = 5730;
constexpr int ClientHeight = 3975;
constexpr qreal TitlePointSize = 13.5;
constexpr int IconPixels = 32;
// The links' addresses are build settings, often longer than the design's: they may use the room up
// to this far from the client area's right edge.
constexpr int RightMarginTwips = 240;
constexpr int LinkLeft = 1080;
constexpr int LinkWidth = ClientWidth - RightMarginTwips - LinkLeft;

const QString CrLf = QStringLiteral("\r\n");

void setTextColor(QLabel *label, quint32 color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(OleColor::toStandardRgb(color)));
    label->setPalette(palette);
}

QPixmap iconPicture(qreal devicePixelRatio)
{
    return AppIcon::icon().pixmap(QSize(IconPixels, IconPixels), devicePixelRatio);
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : Dialog(parent, EscapeCloses)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quorbel!"));
    FormScaler::setClientSize(this, ClientWidth, ClientHeight);
    createControls();
    connectHandlers();
    lblVersion->setText(QStringLiteral("Version ") + AppVersion::text());
    lblDescription->setText(QStringLiteral("A test pattern utility to assist with changing monitor settings.")
        + CrLf + CrLf + QStringLiteral("Created by ") + QStringLiteral(QRBL_AUTHOR));
}

void frmAbout::createControls()
{
    // Created bottom of the stacking first; only OK takes the focus.
    picIcon = addLabel("picIcon", QString(), 240, 240, 540, 540);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(iconPicture(devicePixelRatioF()));

    lblTitle = addLabel("lblTitle", QStringLiteral("Quorbel!"), 1050, 240, 3885, 480);
    FormScaler::setDesignPointSize(lblTitle, TitlePointSize);
    setTextColor(lblTitle, 0x00000000);

    lblVersion = addLabel("lblVersion", QStringLiteral("Version"), 1050, 780, 3885, 225);

    lblDescription
        = addLabel("lblDescription", QStringLiteral("App Description"), 1050, 1125, 3885, 810);
    lblDescription->setWordWrap(true);
    setTextColor(lblDescription, 0x00000000);

    lblURL = new LinkLabel(QStringLiteral(QRBL_WEB_URL), this);
    lblURL->setObjectName(QStringLiteral("lblURL"));
    lblURL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FormScaler::place(lblURL, LinkLeft, 2040, LinkWidth, 255);

    lblEmail = new LinkLabel(QStringLiteral(QRBL_SUPPORT_EMAIL), this);
    lblEmail->setObjectName(QStringLiteral("lblEmail"));
    lblEmail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FormScaler::place(lblEmail, LinkLeft, 2280, LinkWidth, 255);

    // The etched separator: a white line two pixels wide under a grey one.
    Line1[1] = { 90, 2685, 5654, 2685, 0x00808080, 1 };
    Line1[0] = { 105, 2700, 5654, 2700, 0x00FFFFFF, 2 };

    lblDisclaimer = addLabel("lblDisclaimer", QString(), 255, 2880, 3870, 1065);
    lblDisclaimer->setWordWrap(true);
    setTextColor(lblDisclaimer, 0x00000000);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    FormScaler::place(cmdOK, 4200, 3000, 1260, 435);
    cmdOK->setDefault(true);
}

void frmAbout::connectHandlers()
{
    connect(lblURL, &LinkLabel::clicked, this, ErrorBoundary::handler("lblURL_Click", this, &frmAbout::lblURL_Click));
    connect(lblEmail, &LinkLabel::clicked, this, ErrorBoundary::handler("lblEmail_Click", this, &frmAbout::lblEmail_Click));
    connect(cmdOK, &QPushButton::clicked, this, ErrorBoundary::handler("cmdOK_Click", this, &frmAbout::cmdOK_Click));
}

void frmAbout::showEvent(QShowEvent *event)
{
    Dialog::showEvent(event);
    // Sharp on the screen it opens on, whatever its scale.
    picIcon->setPixmap(iconPicture(devicePixelRatioF()));
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmAbout::paintEvent(QPaintEvent *event)
{
    Dialog::paintEvent(event);
    QPainter painter(this);
    const float twipsPerPixel = FormScaler::TwipsPerLogicalPixel / float(FormScaler::factor(this));
    // Windowless elements stack in design order, index 1 on top: index 0 is drawn first.
    for (auto line = Line1.cbegin(); line != Line1.cend(); ++line) {
        // A twips position lies in the pixel that covers it.
        const auto pixelAt = [&](float twips) { return int(std::floor(twips / twipsPerPixel)); };
        const int x1 = pixelAt(line->X1);
        const int x2 = pixelAt(line->X2);
        const int y = pixelAt(line->Y1);
        painter.fillRect(QRect(QPoint(qMin(x1, x2), y), QPoint(qMax(x1, x2), y + line->BorderWidth - 1)),
            QColor(OleColor::toStandardRgb(line->BorderColor)));
    }
}

void frmAbout::lblURL_Click()
{
    Shell::open(QStringLiteral(QRBL_WEB_URL));
}

void frmAbout::lblEmail_Click()
{
    Shell::open(QStringLiteral("mailto:") + QStringLiteral(QRBL_SUPPORT_EMAIL));
}

void frmAbout::cmdOK_Click()
{
    accept();
}
