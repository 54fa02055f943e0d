// The update check's body-to-verdict path: any bytes the server sends give one clear outcome, and the
// text shown is the bytes unchanged, as plain text.
#include "update/UpdateCheck.h"
#include "update/frmUpdate.h"

#include <QApplication>
#include <QLabel>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString received = QString::fromLatin1(body);
    if (received.toLatin1() != body)
        std::abort(); // one character per byte, both ways
    const QString running = QStringLiteral("4.0.0");
    const UpdateCheck::Verdict verdict = UpdateCheck::verdict(received, running);
    if ((verdict == UpdateCheck::Verdict::NotResponding) != body.isEmpty())
        std::abort();
    if ((verdict == UpdateCheck::Verdict::Newer) != (!body.isEmpty() && running < received))
        std::abort();
    if (verdict == UpdateCheck::Verdict::Newer) {
        frmUpdate &dialog = form<frmUpdate>();
        dialog.lblVersion->setText(received);
        if (dialog.lblVersion->text() != received || dialog.lblVersion->textFormat() != Qt::PlainText)
            std::abort();
        unload<frmUpdate>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return 0;
}
