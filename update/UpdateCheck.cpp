#include "update/UpdateCheck.h"

#include "platform/AppVersion.h"
#include "platform/Form.h"
#include "update/HttpClient.h"
#include "update/frmUpdate.h"

#include "BuildConfig.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>

#include <optional>

const QString UpdateCheck::Agent = QStringLiteral("vb wininet");
const QString UpdateCheck::Title = QStringLiteral("Update Check");
const QString UpdateCheck::NotResponding
    = QStringLiteral("The server is not responding.\r\nPlease check your Internet connection and try again.");
const QString UpdateCheck::LatestVersion
    = QStringLiteral("You have the latest version of Quorbel!\r\nNo update is necessary.");

namespace {
std::optional<QString> s_addressForTest;

void showMessage(const QString &text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, UpdateCheck::Title, QString(), QMessageBox::Ok, Form::mainWindow());
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.exec();
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

void UpdateCheck::resetAddressForTest()
{
    s_addressForTest.reset();
}

void UpdateCheck::run()
{
    QByteArray buffer(ReadBufferLength, ' ');
    QString received;
    int bytesRead = 0;
    bool continueReading = true;

    const HttpClient::Handle internet = HttpClient::open(Agent);
    const HttpClient::Handle file = HttpClient::openUrl(internet, address());
    while (continueReading) {
        buffer.fill(' ');
        HttpClient::read(file, buffer.data(), int(buffer.size()), &bytesRead);
        // One character per byte: the text is compared and shown exactly as sent.
        received += QString::fromLatin1(buffer.constData(), bytesRead);
        if (bytesRead == 0)
            continueReading = false;
        // The main window stays usable meanwhile; a check started now runs to its end right here.
        QCoreApplication::processEvents();
    }
    if (file != 0)
        HttpClient::close(file);
    if (internet != 0)
        HttpClient::close(internet);

    // Every window was closed meanwhile (File, Exit during the download): the program is ending.
    if (Form::loadedCount() == 0)
        return;
    const QString running = AppVersion::text();
    switch (verdict(received, running)) {
    case Verdict::NotResponding:
        showMessage(NotResponding, QMessageBox::Warning);
        return;
    case Verdict::Newer:
        form<frmUpdate>().lblVersion->setText(received);
        form<frmUpdate>().lblThisVersion->setText(running);
        form<frmUpdate>().Show(Form::Modal);
        return;
    case Verdict::Latest:
        showMessage(LatestVersion, QMessageBox::Information);
        return;
    }
}

UpdateCheck::Verdict UpdateCheck::verdict(const QString &received, const QString &running)
{
    if (received.isEmpty())
        return Verdict::NotResponding;
    // Ordinal: Latin-1 text in UTF-16 code units compares code by code, a prefix sorting first.
    return QString::compare(running, received, Qt::CaseSensitive) < 0 ? Verdict::Newer : Verdict::Latest;
}
