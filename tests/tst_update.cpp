#include "app/frmMenu.h"
#include "platform/AppVersion.h"
#include "platform/ElidedLabel.h"
#include "update/UpdateCheck.h"
#include "support/TestSupport.h"
#include "update/frmUpdate.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <sys/socket.h>

namespace {

// A message box as "title, icon: text"; the update dialog as "dialog: version over running version".
const QString Silent = QStringLiteral("Update Check, %1: The server is not responding.\r\n"
                                      "Please check your Internet connection and try again.")
                           .arg(QMessageBox::Warning);
const QString Latest
    = QStringLiteral("Update Check, %1: You have the latest version of Quorbel!\r\nNo update is necessary.")
          .arg(QMessageBox::Information);
const auto dialog = [](const QString &version, const QString &running = QStringLiteral("4.0.0")) {
    return QStringLiteral("dialog: %1 over %2").arg(version, running);
};
// The dialog's size, as it shows for a short version.
QSize shownSize()
{
    frmUpdate reference(QStringLiteral("4.0.1"), QStringLiteral("4.0.0"));
    reference.show();
    return reference.size();
}
const auto response = [](const QByteArray &body, const QByteArray &status = "200 OK") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"
        + body;
};

// A loopback server answering each path with exact bytes (an unknown path: 404). Its answers stop at a "+":
// what follows it comes a second later, with nothing after it the connection stays open, and a "!" resets it.
struct Server
{
    Server()
        : tcp(new QTcpServer)
    {
        tcp->listen(QHostAddress::LocalHost);
        url = "http://127.0.0.1:" + QByteArray::number(tcp->serverPort());
        QObject::connect(tcp.get(), &QTcpServer::pendingConnectionAvailable, [this] {
            while (QTcpSocket *socket = tcp->nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { serve(socket); });
        });
    }
    void serve(QTcpSocket *socket)
    {
        if (!socket->peek(1 << 16).endsWith("\r\n\r\n"))
            return;
        const QByteArray head = socket->readAll();
        requests.append(head.toLower());
        // A proxy is asked for the whole address, a server for its path.
        const QByteArray path = QUrl(QString::fromLatin1(head.split(' ').value(1))).path().toLatin1();
        const QList<QByteArray> parts = routes.value(path, response("9.9.9", "404 Not Found")).split('+');
        socket->write(parts[0]);
        if (parts.size() == 1 || !parts[1].isEmpty())
            QTimer::singleShot(parts.size() == 1 ? 0 : 1000, socket, [socket, rest = parts.value(1)] {
                const linger reset { 1, 0 };
                if (rest == "!")
                    setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
                socket->write(rest == "!" ? "" : rest), socket->disconnectFromHost();
            });
    }

    std::unique_ptr<QTcpServer> tcp;
    QByteArray url;
    QMap<QByteArray, QByteArray> routes;
    QList<QByteArray> requests;
};

} // namespace

class tst_update : public QObject
{
    Q_OBJECT
    // The row that waits out the default deadline runs in a second process, alongside the others.
    QProcess m_deadlineRow;
    const bool m_inDeadlineRow = qEnvironmentVariableIsSet("QRBL_DEADLINE_ROW");

private slots:
    void initTestCase()
    {
        // The loopback servers are reached directly, whatever proxy the desktop running the tests has.
        for (const char *name : { "http_proxy", "https_proxy", "all_proxy", "no_proxy", "XDG_CURRENT_DESKTOP",
                 "DESKTOP_SESSION", "KDE_FULL_SESSION" })
            qunsetenv(name), qunsetenv(QByteArray(name).toUpper());
        QStandardPaths::setTestModeEnabled(true);
        UpdateCheck::setHelperForTest(QStringLiteral(QRBL_FETCH_HELPER));
        if (!m_inDeadlineRow) {
            UpdateCheck::setTimeoutForTest(3000);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QRBL_DEADLINE_ROW"), QStringLiteral("1"));
            m_deadlineRow.setProcessEnvironment(env);
            m_deadlineRow.setProcessChannelMode(QProcess::MergedChannels);
            m_deadlineRow.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("check_showsWhatTheServerSaid:30 s by default") });
        }
    }

    void check_showsWhatTheServerSaid_data()
    {
        QTest::addColumn<QByteArray>("answer"); // the server's, for /update/qrblver.dat
        // The address asked ({http}: the loopback server; {gone}: a closed port), and the proxy.
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QByteArray>("proxy");
        QTest::addColumn<int>("revision"); // of the running version 4.0
        QTest::addColumn<QStringList>("seen");
        const auto row = [](const char *name, const QByteArray &answer, const QStringList &seen,
                             int revision = 0, const char *address = "{http}", const char *proxy = "") {
            QTest::newRow(name) << answer << QByteArray(address) << QByteArray(proxy) << revision << seen;
        };
        row("4.0.1 is newer", response("4.0.1"), { dialog("4.0.1") });
        row("4.0.0 is the same", response("4.0.0"), { Latest });
        row("3.9.9 is older", response("3.9.9"), { Latest });
        row("white space around 4.1.0", response("\xef\xbb\xbf\xc2\xa0 4.1.0\t\r\n\xc2\xa0"),
            { dialog("4.1.0") });
        row("10.0.0 after 4.0.0", response("10.0.0"), { dialog("10.0.0") });
        row("4.0.10 after 4.0.9", response("4.0.10"), { dialog("4.0.10", "4.0.9") }, 9);
        row("4.0 equals 4.0.0", response("4.0"), { Latest });
        row("past 64 bits", response("4.0.18446744073709551616"),
            { dialog("4.0.18446744073709551616") + ", elided" });
        row("not numbers: ordinal", response("4.0.0-beta"), { dialog("4.0.0-beta") });
        row("4.1.0 beta", response("4.1.0 beta"), { dialog("4.1.0 beta") });
        const QByteArray longest = "4." + QByteArray(62, '9');
        row("64 characters", response(longest), { dialog(longest) + ", elided" });
        row("2,000 characters", response("4." + QByteArray(1998, '9')), { Silent });
        row("past 64 KiB", response(QByteArray(70000, ' ') + "4.0.1"), { Silent });
        row("not ASCII", response("4.1.0-\xce\xb2"), { Silent });
        row("U+202E in front", response("\u202e0.0.5"), { Silent });
        row("U+200B behind", response("4.0.0\xe2\x80\x8b"), { Silent });
        row("NUL behind", response(QByteArray("4.0.0\0", 6)), { Silent });
        row("two lines", response("4.0.1\n4.0.2"), { Silent });
        row("captive portal",
            response("<html>Log in</html>", "200 OK\r\nContent-Type: text/html; charset=utf-8"), { Silent });
        row("5.0.0 as text/html", response("5.0.0", "200 OK\r\nContent-Type: Text/HTML"), { Silent });
        row("HTML as a plain file",
            response("<html><p>4.0.1</p></html>", "200 OK\r\nContent-Type: text/plain"), { Silent });
        const QByteArray gzipped = QByteArray::fromHex("1f8b080000000000020333d133d0330400d0dddcac05000000");
        row("gzip", response(gzipped, "200 OK\r\nContent-Encoding: gzip"), { Silent });
        row("4.0.1 said to be compressed", response("4.0.1", "200 OK\r\nContent-Encoding: br"), { Silent });
        row("empty body", response(""), { Silent });
        row("404 page", response("<html><title>404 Not Found</title></html>", "404 Not Found"), { Silent });
        row("500 with a newer body", response("9.9.9", "500 Internal Server Error"), { Silent });
        row("redirect followed", response("9.9.9", "302 Found\r\nLocation: /moved"), { dialog("4.0.5") });
        row("redirect to a 404", response("", "302 Found\r\nLocation: /missing"), { Silent });
        row("the desktop's proxy", response("4.0.1"), { dialog("4.0.1") }, 0, "http://quorbel.example.org",
            "{http}");
        row("proxy unreachable", "", { Silent }, 0, "http://quorbel.example.org", "{gone}");
        row("connection refused", "", { Silent }, 0, "{gone}");
        row("never answers", "+", { Silent });
        const QByteArray cut = "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n4.0.1+";
        row("cut short, then reset", cut + "!", { Silent });
        row("cut short, then stalled", cut, { Silent });
        row("cut short, then closed", cut + "\n", { Silent });
        const QByteArray slow = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n+4.0.1";
        row("a second check during a read", slow, { Latest, dialog("4.0.1") }, 0, "{http}", "second check");
        row("File, Exit during a read", slow, {}, 0, "{http}", "exit");
        row("30 s by default", cut, { Silent });
    }

    void check_showsWhatTheServerSaid()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, proxy);
        QFETCH(int, revision);
        QFETCH(QStringList, seen);
        const bool deadlineRow = QTest::currentDataTag() == QLatin1String("30 s by default");
        if (deadlineRow && !m_inDeadlineRow) {
            QVERIFY(m_deadlineRow.waitForFinished(60000));
            QVERIFY2(m_deadlineRow.exitCode() == 0, m_deadlineRow.readAll().constData());
            return;
        }
        Server http, gone;
        gone.tcp->close();
        const auto expand
            = [&](QByteArray text) { return text.replace("{http}", http.url).replace("{gone}", gone.url); };
        http.routes["/update/qrblver.dat"] = expand(answer);
        http.routes["/moved"] = response("4.0.5");
        UpdateCheck::setAddressForTest(QString::fromLatin1(expand(address + "/update/qrblver.dat")));
        // No name is looked up through a proxy, which answers for any host.
        qputenv("http_proxy", proxy.startsWith('{') ? expand(proxy) : QByteArray());
        AppVersion::setForTest(4, 0, revision);
        frmMenu menu;
        menu.show();
        const auto action = [&menu](const char *name) { return TestSupport::control<QAction>(&menu, name); };
        QObject watch; // also ends the row's pending actions with it
        if (proxy == "second check" || proxy == "exit") // while the first check reads
            QTimer::singleShot(300, &watch, [&] {
                http.routes["/update/qrblver.dat"] = response("4.0.0");
                action(proxy == "exit" ? "menitmExit" : "mnuFileCheckForUpdate")->trigger();
            });
        // What the user saw: each message box or update dialog as a line, closed with OK.
        QStringList saw;
        TestSupport::answerModals(&watch, [&](QWidget &modal) {
            if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
                saw << QStringLiteral("%1, %2: %3").arg(box->windowTitle()).arg(box->icon()).arg(box->text());
                box->button(QMessageBox::Ok)->click();
            } else if (auto *update = qobject_cast<frmUpdate *>(&modal)) {
                // A version too long for its label is cut short with "…", whole in its tooltip; the dialog
                // keeps its size.
                const auto *label = TestSupport::control<ElidedLabel>(update, "lblVersion");
                const QString version = label->text(), shown = label->shownText();
                saw << dialog(version, TestSupport::control<QLabel>(update, "lblThisVersion")->text())
                        + (shown == version                                                    ? ""
                                : shown.endsWith(u'…') && version.startsWith(shown.chopped(1)) ? ", elided"
                                                                                               : ", cut")
                        + (label->toolTip().contains(version) ? "" : ", no tooltip")
                        + (update->size() == shownSize() ? "" : ", resized");
                TestSupport::control<QPushButton>(update, "cmdOK")->click();
            }
        });
        QElapsedTimer clock;
        clock.start();
        action("mnuFileCheckForUpdate")->trigger();
        QCOMPARE(saw, seen);
        QVERIFY2(!deadlineRow || (clock.elapsed() >= 30000 && clock.elapsed() < 35000),
            QByteArray::number(clock.elapsed()));
        // The file is asked for afresh, uncompressed, as the program's own agent.
        const QByteArray request = http.requests.value(0);
        const QByteArray target
            = (proxy == "{http}" ? address : QByteArray()) + "/update/qrblver.dat http/1.1\r";
        for (const QByteArray &line : QByteArrayList { "get " + target, "\nuser-agent: vb wininet\r",
                 "\ncache-control: no-cache\r", "\npragma: no-cache\r", "\naccept-encoding: identity\r" })
            QVERIFY2(answer.isEmpty() || request.contains(line), request.constData());
    }
};

QTEST_MAIN(tst_update)
#include "tst_update.moc"
