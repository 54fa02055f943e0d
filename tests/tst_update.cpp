#include "app/frmMenu.h"
#include "platform/AppVersion.h"
#include "update/HttpClient.h"
#include "update/UpdateCheck.h"
#include "update/frmUpdate.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSslKey>
#include <QSslServer>
#include <QtTest>

#include <cstdlib>

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
const auto response = [](const QByteArray &body, const QByteArray &status = "200 OK") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"
        + body;
};

// A loopback server answering each path with exact bytes (an unknown path: 404). Its answers stop at a "+":
// what follows it comes a second later, and with nothing after it the connection stays open.
struct Server
{
    explicit Server(QTcpServer *server = new QTcpServer)
        : tcp(server)
    {
        tcp->listen(QHostAddress::LocalHost);
        url = (qobject_cast<QSslServer *>(server) ? "https://127.0.0.1:" : "http://127.0.0.1:")
            + QByteArray::number(tcp->serverPort());
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
            QTimer::singleShot(parts.size() == 1 ? 0 : 1000, socket,
                [socket, rest = parts.value(1)] { socket->write(rest), socket->disconnectFromHost(); });
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
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        // The loopback servers are reached directly, whatever proxy the desktop running the tests has.
        for (const char *name : { "http_proxy", "https_proxy", "all_proxy", "no_proxy", "XDG_CURRENT_DESKTOP",
                 "DESKTOP_SESSION", "KDE_FULL_SESSION" })
            qunsetenv(name), qunsetenv(QByteArray(name).toUpper());
        QStandardPaths::setTestModeEnabled(true);
        HttpClient::setTransferTimeout(3000);
        // The https server's certificate for 127.0.0.1, which the program trusts.
        QDir::setCurrent(m_dir.path());
        QCOMPARE(
            std::system(
                "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -subj /CN=127.0.0.1 "
                "-addext subjectAltName=IP:127.0.0.1 -keyout k -out c 2>&-"),
            0);
        QFile key(QStringLiteral("k"));
        key.open(QIODevice::ReadOnly);
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setPrivateKey(QSslKey(&key, QSsl::Ec));
        tls.setLocalCertificate(QSslCertificate::fromPath(QStringLiteral("c")).value(0));
        tls.addCaCertificate(tls.localCertificate());
        QSslConfiguration::setDefaultConfiguration(tls);
    }

    void check_showsWhatTheServerSaid_data()
    {
        QTest::addColumn<QByteArray>("answer"); // the server's, for /update/qrblver.dat
        // The address asked ({http}, {https}: the loopback servers; {gone}: a closed port), and the proxy.
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
        row("4.0.0 and LF", response("4.0.0\n"), { Latest });
        row("4.0.0 and CR LF", response("4.0.0\r\n"), { Latest });
        row("spaces around 4.1.0", response(" 4.1.0 "), { dialog("4.1.0") });
        row("10.0.0 after 4.0.0", response("10.0.0"), { dialog("10.0.0") });
        row("4.0.10 after 4.0.9", response("4.0.10"), { dialog("4.0.10", "4.0.9") }, 9);
        row("4.0 equals 4.0.0", response("4.0"), { Latest });
        row("past 64 bits", response("4.0.18446744073709551616"), { dialog("4.0.18446744073709551616") });
        row("not numbers: ordinal", response("4.0.0-beta"), { dialog("4.0.0-beta") });
        row("UTF-8", response("4.1.0-\xce\xb2"), { dialog(QStringLiteral("4.1.0-β")) });
        row("invalid UTF-8", response("4.1.0-\xff"), { dialog(QStringLiteral("4.1.0-\uFFFD")) });
        const QByteArray betas = QByteArray("\xce\xb2").repeated(1100); // one of them split between two reads
        row("UTF-8 in two reads", response("4.1.0" + betas), { dialog("4.1.0" + QString::fromUtf8(betas)) });
        row("markup stays text", response("<b>4.1</b>"), { dialog("<b>4.1</b>") });
        const QByteArray huge
            = QByteArray("0123456789").repeated(20000); // digits all along, so a chunk lost or out of order
                                                        // shows; the rest of the body comes in a second piece
        row("only the first 64 KiB", response(huge).insert(40000, "+"), { dialog(huge.left(64 * 1024)) });
        row("empty body", response(""), { Silent });
        row("404 page", response("<html><title>404 Not Found</title></html>", "404 Not Found"), { Silent });
        row("500 with a newer body", response("9.9.9", "500 Internal Server Error"), { Silent });
        row("redirect followed", response("9.9.9", "302 Found\r\nLocation: /moved"), { dialog("4.0.5") });
        row("redirect to a 404", response("", "302 Found\r\nLocation: /missing"), { Silent });
        row("https", response("4.0.1"), { dialog("4.0.1") }, 0, "{https}");
        row("https redirected to http", response("", "302 Found\r\nLocation: {http}/moved"), { Silent }, 0,
            "{https}");
        row("the desktop's proxy", response("4.0.1"), { dialog("4.0.1") }, 0, "http://quorbel.example.org",
            "{http}");
        row("proxy unreachable", "", { Silent }, 0, "http://quorbel.example.org", "{gone}");
        row("connection refused", "", { Silent }, 0, "{gone}");
        row("never answers", "+", { Silent });
        row("headers, then nothing", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n+", { Silent });
        const QByteArray slow = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n+4.0.1";
        row("a second check during a read", slow, { Latest, dialog("4.0.1") }, 0, "{http}", "second check");
        row("File, Exit during a read", slow, {}, 0, "{http}", "exit");
    }

    void check_showsWhatTheServerSaid()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, proxy);
        QFETCH(int, revision);
        QFETCH(QStringList, seen);
        Server http, https(new QSslServer), gone;
        gone.tcp->close();
        const auto expand = [&](QByteArray text) {
            return text.replace("{https}", https.url).replace("{http}", http.url).replace("{gone}", gone.url);
        };
        (address == "{https}" ? https : http).routes["/update/qrblver.dat"] = expand(answer);
        http.routes["/moved"] = response("4.0.5");
        UpdateCheck::setAddressForTest(QString::fromLatin1(expand(address + "/update/qrblver.dat")));
        // No name is looked up through a proxy, which answers for any host.
        qputenv("http_proxy", proxy.startsWith('{') ? expand(proxy) : QByteArray());
        AppVersion::setForTest(4, 0, revision);
        frmMenu menu;
        menu.show();
        QTimer watch; // also ends the row's pending actions with it
        if (proxy == "second check" || proxy == "exit") // while the first check reads
            QTimer::singleShot(300, &watch, [&] {
                http.routes["/update/qrblver.dat"] = response("4.0.0");
                TestSupport::control<QAction>(&menu, proxy == "exit" ? "menitmExit" : "mnuFileCheckForUpdate")->trigger();
            });
        // What the user saw: each message box or update dialog as a line, closed with OK.
        QStringList saw;
        connect(&watch, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                saw << QStringLiteral("%1, %2: %3").arg(box->windowTitle()).arg(box->icon()).arg(box->text());
                box->button(QMessageBox::Ok)->click();
            } else if (auto *update = qobject_cast<frmUpdate *>(modal)) {
                const auto *version = TestSupport::control<QLabel>(update, "lblVersion");
                saw << dialog(version->text(), TestSupport::control<QLabel>(update, "lblThisVersion")->text())
                        + (version->textFormat() == Qt::PlainText ? "" : " as markup");
                TestSupport::control<QPushButton>(update, "cmdOK")->click();
            }
        });
        watch.start(5);
        TestSupport::control<QAction>(&menu, "mnuFileCheckForUpdate")->trigger();
        QCOMPARE(saw, seen);
        // The file is asked for afresh, uncompressed, as the program's own agent.
        const QByteArray request = (https.requests + http.requests).value(0);
        const QByteArray target
            = (proxy == "{http}" ? address : QByteArray()) + "/update/qrblver.dat http/1.1\r";
        for (const QByteArray &line : QByteArrayList { "get " + target, "\nuser-agent: vb wininet\r",
                 "\ncache-control: no-cache\r", "\npragma: no-cache\r", "\naccept-encoding: identity\r" })
            QVERIFY2(answer.isEmpty() || request.contains(line), request.constData());
    }
};

QTEST_MAIN(tst_update)
#include "tst_update.moc"
