// The update check's body-to-verdict path: any bytes the server sends give one clear outcome, the text
// shown is the body without the white space around it, one short line of the version characters, shown
// whole in the update dialog's tooltip, and versions of digits and dots compare as numbers. A NUL in the
// input splits it into a running version and a body, so that both sides of the comparison get explored.
#include "platform/ElidedLabel.h"
#include "update/UpdateCheck.h"
#include "update/frmUpdate.h"

#include <QApplication>
#include <QLabel>

#include <cstdint>
#include <cstdlib>

namespace {

using Verdict = UpdateCheck::Verdict;

// Digits separated by dots, each part short enough to read as a number here.
bool isSmallDotted(const QString &text)
{
    const QStringList parts = text.split(u'.');
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 9)
            return false;
        for (QChar c : part)
            if (c < u'0' || c > u'9')
                return false;
    }
    return true;
}

// Part by part as numbers, a missing part as 0.
Verdict numericVerdict(const QString &received, const QString &running)
{
    const QStringList a = received.split(u'.'), b = running.split(u'.');
    for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i) {
        const long long x = a.value(i).toLongLong(), y = b.value(i).toLongLong();
        if (x != y)
            return x > y ? Verdict::Newer : Verdict::Latest;
    }
    return Verdict::Latest;
}

void check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArray body = split < 0 ? input : input.mid(split + 1);
    const QString running = split < 0 ? QStringLiteral("4.0.0") : UpdateCheck::versionText(input.left(split));

    // Only white space went, and what is left is a version or nothing.
    const QString text = UpdateCheck::versionText(body);
    check(text.size() <= UpdateCheck::VersionLimit && !text.startsWith(u' ') && !text.endsWith(u' '));
    if (!text.isEmpty()) {
        const QByteArray latin = text.toLatin1();
        const qsizetype at = body.indexOf(latin);
        check(at >= 0 && QString::fromLatin1(latin) == text);
        for (char c : latin)
            check(uchar(c) < 0x80
                && (QChar::isLetterOrNumber(uchar(c)) || QByteArrayView(" .-+_~").contains(c)));
        const QString around
            = QString::fromUtf8(body.left(at) + body.mid(at + latin.size())).remove(u'\uFEFF');
        for (QChar c : around)
            check(c.isSpace() && c.unicode() < 0x100);
    }

    const Verdict verdict = UpdateCheck::verdict(text, running);
    check((verdict == Verdict::NotResponding) == text.isEmpty());
    if (!text.isEmpty()) {
        check(UpdateCheck::verdict(text, text) == Verdict::Latest);
        if (!running.isEmpty())
            check(!(verdict == Verdict::Newer && UpdateCheck::verdict(running, text) == Verdict::Newer));
    }
    if (isSmallDotted(text) && isSmallDotted(running))
        check(verdict == numericVerdict(text, running));
    if (isSmallDotted(text)) {
        check(UpdateCheck::verdict(text + QStringLiteral(".0"), text) == Verdict::Latest);
        check(UpdateCheck::verdict(text + QStringLiteral(".1"), text) == Verdict::Newer);
    }

    if (verdict == Verdict::Newer) {
        const frmUpdate dialog(text, running);
        const QString shown = dialog.lblVersion->shownText();
        check(dialog.lblVersion->text() == text && dialog.lblVersion->toolTip().contains(text.toHtmlEscaped())
            && (shown == text || text.startsWith(shown.chopped(1))));
    }
    return 0;
}
