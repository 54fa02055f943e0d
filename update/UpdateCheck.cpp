#include "update/UpdateCheck.h"

#include "platform/AppVersion.h"
#include "platform/WindowHints.h"
#include "update/HttpClient.h"
#include "update/frmUpdate.h"

#include "BuildConfig.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>

#include <algorithm>
#include <optional>

const QString UpdateCheck::Agent = QStringLiteral("vb wininet");
const QString UpdateCheck::Title = QStringLiteral("Update Check");
const QString UpdateCheck::NotResponding
    = QStringLiteral("The server is not responding.\r\nPlease check your Internet connection and try again.");
const QString UpdateCheck::LatestVersion
    = QStringLiteral("You have the latest version of Quorbel!\r\nNo update is necessary.");

namespace {
std::optional<QString> s_addressForTest;

void showMessage(const QString &text, QMessageBox::Icon icon, QWidget *owner)
{
    QMessageBox box(icon, UpdateCheck::Title, QString(), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    WindowHints::keepOffTaskBar(&box);
    box.exec();
}

// Digits separated by dots, nothing else.
bool isDottedDecimal(const QStringList &parts)
{
    return std::all_of(parts.begin(), parts.end(), [](const QString &part) {
        return !part.isEmpty()
            && std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    });
}

// Compared as digit strings, so that numbers of any length never overflow.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.startsWith(u'0'))
        a = a.mid(1);
    while (b.startsWith(u'0'))
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

// Number by number when both are dotted decimal (a missing part counts as 0), else ordinal.
int compareVersions(const QString &a, const QString &b)
{
    const QStringList partsA = a.split(u'.');
    const QStringList partsB = b.split(u'.');
    if (!isDottedDecimal(partsA) || !isDottedDecimal(partsB))
        return QString::compare(a, b, Qt::CaseSensitive);
    for (qsizetype i = 0; i < qMax(partsA.size(), partsB.size()); ++i)
        if (const int order = compareNumbers(partsA.value(i), partsB.value(i)))
            return order;
    return 0;
}
} // namespace

QString UpdateCheck::address()
{
    return s_addressForTest.value_or(QStringLiteral(QRBL_UPDATE_URL));
}

void UpdateCheck::setAddressForTest(const QString &address)
{
    s_addressForTest = address;
}

void UpdateCheck::run(QWidget *owner)
{
    const QPointer<QWidget> window(owner);
    QByteArray buffer(ReadBufferLength, ' ');
    QByteArray received;
    int bytesRead = 0;
    bool continueReading = true;

    HttpClient http(Agent);
    http.open(address());
    while (continueReading) {
        buffer.fill(' ');
        bytesRead = http.read(buffer.data(), int(buffer.size()));
        received.append(buffer.constData(), bytesRead);
        if (bytesRead == 0)
            continueReading = false;
        // The main window stays usable meanwhile; a check started now runs to its end right here.
        QCoreApplication::processEvents();
    }
    http.close();

    // The window was closed meanwhile (File, Exit during the download): the program is ending.
    if (!window || !window->isVisible())
        return;
    const QString text = versionText(received);
    const QString running = AppVersion::text();
    switch (verdict(text, running)) {
    case Verdict::NotResponding:
        showMessage(NotResponding, QMessageBox::Warning, window);
        return;
    case Verdict::Newer:
        frmUpdate(text, running, window).exec();
        return;
    case Verdict::Latest:
        showMessage(LatestVersion, QMessageBox::Information, window);
        return;
    }
}

QString UpdateCheck::versionText(const QByteArray &body)
{
    // Decoded as a whole, so a character split between two reads stays one character; a byte order mark
    // goes with the decoding, so trimming comes after it.
    return QString::fromUtf8(body).trimmed();
}

UpdateCheck::Verdict UpdateCheck::verdict(const QString &received, const QString &running)
{
    if (received.isEmpty())
        return Verdict::NotResponding;
    return compareVersions(running, received) < 0 ? Verdict::Newer : Verdict::Latest;
}
