#include "update/UpdateCheck.h"

#include "platform/AppVersion.h"
#include "platform/Dialog.h"
#include "update/FetchProcess.h"
#include "update/frmUpdate.h"

#include "BuildConfig.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

#include <algorithm>
#include <cstring>
#include <optional>

const QString UpdateCheck::Agent = QStringLiteral("vb wininet");
const QString UpdateCheck::Title = QStringLiteral("Update Check");
const QString UpdateCheck::NotResponding
    = QStringLiteral("The server is not responding.\r\nPlease check your Internet connection and try again.");
const QString UpdateCheck::LatestVersion
    = QStringLiteral("You have the latest version of Quorbel!\r\nNo update is necessary.");

namespace {
constexpr int DefaultTimeoutMs = 30000;
const QString HelperName = QStringLiteral("quorbel-fetch");
std::optional<QString> s_addressForTest;
std::optional<QString> s_helperForTest;
int s_timeoutMs = DefaultTimeoutMs;

// Heap-allocated and guarded: the owner may take the window with it while it is open.
void execOwned(QDialog *window)
{
    QPointer<QDialog> guard(window);
    guard->exec();
    delete guard;
}

bool isAsciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isVersionCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
        || (c != 0 && std::strchr(" .-+_~", c));
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

QString UpdateCheck::helper()
{
    if (s_helperForTest)
        return *s_helperForTest;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = dir + u'/' + HelperName;
    return QFileInfo::exists(beside) ? beside : dir + QStringLiteral("/../libexec/quorbel/") + HelperName;
}

void UpdateCheck::setHelperForTest(const QString &path)
{
    s_helperForTest = path;
}

void UpdateCheck::setTimeoutForTest(int milliseconds)
{
    s_timeoutMs = milliseconds;
}

void UpdateCheck::run(QWidget *owner)
{
    const QPointer<QWidget> guard(owner);
    QByteArray buffer(ReadBufferLength, ' ');
    QByteArray received;
    FetchProcess fetch(helper(), { address(), Agent, QString::number(s_timeoutMs) }, s_timeoutMs);
    while (const int bytesRead = fetch.read(buffer.data(), int(buffer.size()))) {
        received.append(buffer.constData(), bytesRead);
        // The main window stays usable meanwhile; a check started now runs to its end right here.
        QCoreApplication::processEvents();
    }

    // The program is ending (File, Exit during the download, the main window closed): nobody is left to tell.
    if (!guard || !guard->isVisible() || fetch.interrupted())
        return;
    const QString text = fetch.succeeded() ? versionText(received) : QString();
    const QString running = AppVersion::text();
    switch (verdict(text, running)) {
    case Verdict::NotResponding:
        Dialog::message(owner, QMessageBox::Warning, Title, NotResponding);
        return;
    case Verdict::Newer:
        execOwned(new frmUpdate(text, running, owner));
        return;
    case Verdict::Latest:
        Dialog::message(owner, QMessageBox::Information, Title, LatestVersion);
        return;
    }
}

QString UpdateCheck::versionText(const QByteArray &body)
{
    // White space at both ends: ASCII's, the no-break space (in UTF-8), and a byte order mark in front.
    const QByteArrayView Bom("\xef\xbb\xbf"), NoBreakSpace("\xc2\xa0");
    QByteArrayView text(body);
    if (text.startsWith(Bom))
        text = text.sliced(Bom.size());
    for (;;) {
        if (!text.isEmpty() && isAsciiSpace(text.front()))
            text = text.sliced(1);
        else if (!text.isEmpty() && isAsciiSpace(text.back()))
            text.chop(1);
        else if (text.startsWith(NoBreakSpace))
            text = text.sliced(NoBreakSpace.size());
        else if (text.endsWith(NoBreakSpace))
            text.chop(NoBreakSpace.size());
        else
            break;
    }
    if (text.size() > VersionLimit || !std::all_of(text.begin(), text.end(), isVersionCharacter))
        return QString();
    return QString::fromLatin1(text);
}

UpdateCheck::Verdict UpdateCheck::verdict(const QString &received, const QString &running)
{
    if (received.isEmpty())
        return Verdict::NotResponding;
    return compareVersions(running, received) < 0 ? Verdict::Newer : Verdict::Latest;
}
