#include "app/frmMenu.h"
#include "platform/AppVersion.h"
#include "update/HttpClient.h"
#include "platform/LinkLabel.h"
#include "support/TestSupport.h"
#include "update/UpdateCheck.h"
#include "update/frmUpdate.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

namespace {

constexpr int TestTimeoutMs = 10000;

QByteArray response(const QByteArray &body, const QByteArray &status = "200 OK")
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QByteArray chunked(const QList<QByteArray> &chunks)
{
    QByteArray raw = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (const QByteArray &chunk : chunks)
        raw += QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n";
    return raw + "0\r\n\r\n";
}

// Distinct content all along, so a chunk out of order or lost shows.
QByteArray numberedBody(const QByteArray &start, int size)
{
    QByteArray body = start;
    while (body.size() < size)
        body += QByteArray::number(body.size()) + ',';
    return body.left(size);
}

// A loopback HTTP server answering with exact raw bytes per path: what is sent and when the
// connection closes are the test's to choose, faults included.
class RawHttpServer
{
public:
    struct Route
    {
        QByteArray raw; // sent as soon as the request is complete
        bool close = true; // then close the connection (false: keep it open and say nothing more)
        QByteArray held; // sent by release(), then the connection closes
    };

    RawHttpServer()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection())
                serve(socket);
        });
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path);
    }

    void route(const QByteArray &path, Route r) { routes[path] = std::move(r); }

    void release(const QByteArray &path)
    {
        for (auto &[socket, p] : waiting)
            if (socket && p == path) {
                socket->write(routes[path].held);
                socket->disconnectFromHost();
            }
    }

    QList<QByteArray> requests; // each request's head, request line first
    std::function<void(const QByteArray &path)> onRequest;

private:
    void serve(QTcpSocket *socket)
    {
        auto head = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
            if (head->endsWith("\r\n\r\n"))
                return;
            *head += socket->readAll();
            if (!head->contains("\r\n\r\n"))
                return;
            requests.append(*head);
            const QByteArray path = head->split(' ').value(1);
            const Route r = routes.count(path) ? routes[path] : Route { response("", "404 Not Found") };
            if (!r.raw.isEmpty())
                socket->write(r.raw);
            if (!r.held.isEmpty())
                waiting.push_back({ socket, path });
            else if (r.close)
                socket->disconnectFromHost();
            if (onRequest)
                onRequest(path);
        });
    }

    QTcpServer server;
    std::map<QByteArray, Route> routes;
    std::vector<std::pair<QPointer<QTcpSocket>, QByteArray>> waiting;
};

// What the user saw: each message box or update dialog, in order. Each is answered with OK.
struct Seen
{
    QString kind; // "box" or "dialog"
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text; // the box's text, or the dialog's lblVersion
    QString thisVersion; // the dialog's lblThisVersion
    bool plain = false; // every text shown as plain text
    bool okOnly = false;
};

class ModalWatcher
{
public:
    ModalWatcher()
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] { look(); });
        timer.start();
    }

    QList<Seen> seen;
    std::function<void(const Seen &)> onSeen;

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            Seen s { QStringLiteral("box"), box->icon(), box->windowTitle(), box->text() };
            s.plain = box->textFormat() == Qt::PlainText;
            s.okOnly = box->standardButtons() == QMessageBox::Ok;
            record(s);
            box->button(QMessageBox::Ok)->click();
        } else if (auto *dialog = qobject_cast<frmUpdate *>(modal)) {
            Seen s { QStringLiteral("dialog"), QMessageBox::NoIcon, dialog->windowTitle(),
                dialog->lblVersion->text(), dialog->lblThisVersion->text() };
            s.plain = dialog->lblVersion->textFormat() == Qt::PlainText
                && dialog->lblThisVersion->textFormat() == Qt::PlainText;
            s.okOnly = true;
            record(s);
            dialog->cmdOK->click();
        }
    }

    void record(const Seen &s)
    {
        seen.append(s);
        if (onSeen)
            onSeen(s);
    }

    QTimer timer;
};

QString refusedUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1/qrblver.dat").arg(port);
}

const QString UnresolvableUrl = QStringLiteral("http://qrbl-update.invalid/qrblver.dat");

QString fromBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.constData(), bytes.size());
}

// Every read until the one that delivers nothing; the counts, the bytes and the last result.
struct ReadAll
{
    QList<int> counts;
    QByteArray bytes;
    bool lastResult = true;
};

ReadAll readAll(HttpClient::Handle file)
{
    ReadAll r;
    char buffer[2048];
    for (int guard = 0; guard < 100; ++guard) {
        int count = -1;
        r.lastResult = HttpClient::read(file, buffer, int(sizeof buffer), &count);
        r.counts.append(count);
        r.bytes.append(buffer, qMax(count, 0));
        if (count <= 0)
            break;
    }
    return r;
}

} // namespace

class tst_update : public QObject
{
    Q_OBJECT
public slots:
    void openUrlInShell(const QUrl &url) { m_opened.append(url); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void check_showsWhatTheServerSaid_data();
    void check_showsWhatTheServerSaid();
    void check_secondCheckRunsInsideTheFirst();

    void read_deliversTheBody_data();
    void read_deliversTheBody();
    void openUrl_givesNoHandleWithoutAResponse_data();
    void openUrl_givesNoHandleWithoutAResponse();
    void close_internetHandleClosesItsFiles();

    void dialog_layout();
    void dialog_showsALineBreakAsABreak();
    void dialog_linkOpensTheWebPageAndStaysOpen();
    void dialog_keysAndCloseBox_data();
    void dialog_keysAndCloseBox();

private:
    QList<QUrl> m_opened;
};

void tst_update::initTestCase()
{
    // The loopback servers must be reached directly, whatever proxy the desktop running the tests has.
    for (const char *name : { "http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
             "ALL_PROXY", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION" })
        qunsetenv(name);
    TestSupport::freshSettings();
}

void tst_update::init()
{
    HttpClient::setTransferTimeout(TestTimeoutMs);
    m_opened.clear();
}

void tst_update::cleanup()
{
    UpdateCheck::resetAddressForTest();
    AppVersion::resetForTest();
    unload<frmUpdate>();
    TestSupport::flushDeletes();
    QCOMPARE(HttpClient::openHandleCount(), 0);
}

void tst_update::check_showsWhatTheServerSaid_data()
{
    QTest::addColumn<QString>("where"); // "server", "refused" or "unresolvable"
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("hangs"); // the server keeps the connection open: the time limit ends the check
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("text"); // the update dialog's version, or the message box's text

    const QString latest = UpdateCheck::LatestVersion;
    const QString silent = UpdateCheck::NotResponding;
    const auto row = [](const char *name, const QByteArray &raw, const QString &text,
                         const QString &running = QStringLiteral("4.0.0"), bool hangs = false,
                         const QString &where = QStringLiteral("server")) {
        QTest::newRow(name) << where << raw << hangs << running << text;
    };
    row("4.0.1 is newer", response("4.0.1"), "4.0.1");
    row("4.0.0 is the same", response("4.0.0"), latest);
    row("3.9.9 is older", response("3.9.9"), latest);
    row("line break sorts after", response("4.0.0\r\n"), "4.0.0\r\n");
    row("4.0.10 sorts before 4.0.9", response("4.0.10"), latest, "4.0.9");
    row("4.0.10 sorts after 4.0.1", response("4.0.10"), "4.0.10", "4.0.1");
    const QByteArray exact = numberedBody("4.0.1;", 2048);
    row("exactly 2048 bytes", response(exact), fromBytes(exact));
    const QByteArray long5000 = numberedBody("4.0.2;", 5000);
    row("5000 bytes in three chunks", response(long5000), fromBytes(long5000));
    row("empty body", response(""), silent);
    const QByteArray page = "<html><body><h1>404 Not Found</h1></body></html>";
    row("404 page is the text", response(page, "404 Not Found"), fromBytes(page));
    row("404 page sorting first", response("3 Not Found", "404 Not Found"), latest);
    row("chunked", chunked({ "4.0", ".", "1" }), "4.0.1");
    // What arrived before the connection broke is the text, like any body.
    row("closed mid-body", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n4.0.3", "4.0.3");
    row("closed before any body", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n", silent);
    row("never answers", QByteArray(), silent, "4.0.0", true);
    row("sends headers, then nothing", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", silent, "4.0.0", true);
    row("refused connection", QByteArray(), silent, "4.0.0", false, "refused");
    row("unresolvable host", QByteArray(), silent, "4.0.0", false, "unresolvable");
    const QByteArray html = "<b>4.1</b><img src=\"x.png\"><a href=\"http://x.invalid/\">get</a>";
    row("HTML body", response(html), fromBytes(html));
    const QByteArray binary("4.1\0\xe9\xff\x80\x01", 8);
    row("NUL and high bytes", response(binary), fromBytes(binary));
    const QByteArray huge = numberedBody("4.0.4;", 200000);
    row("larger than the limit", response(huge), fromBytes(huge.left(int(HttpClient::BodyLimit))));
    row("redirect is followed",
        "HTTP/1.1 302 Found\r\nLocation: /moved/qrblver.dat\r\nContent-Length: 5\r\n\r\n9.9.9", "4.0.5");
}

void tst_update::check_showsWhatTheServerSaid()
{
    QFETCH(QString, where);
    QFETCH(QByteArray, raw);
    QFETCH(bool, hangs);
    QFETCH(QString, running);
    QFETCH(QString, text);
    constexpr int HangLimitMs = 600;

    RawHttpServer server;
    server.route("/update/qrblver.dat", { raw, !hangs, {} });
    server.route("/moved/qrblver.dat", { response("4.0.5") });
    UpdateCheck::setAddressForTest(where == QLatin1String("refused") ? refusedUrl()
            : where == QLatin1String("unresolvable")                 ? UnresolvableUrl
                                                     : server.url(QStringLiteral("/update/qrblver.dat")));
    const QList<QString> parts = running.split(QLatin1Char('.'));
    AppVersion::setForTest(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
    if (hangs)
        HttpClient::setTransferTimeout(HangLimitMs);

    ModalWatcher watcher;
    QElapsedTimer clock;
    clock.start();
    form<frmMenu>().mnuFileCheckForUpdate->trigger();
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(watcher.seen.size(), 1);
    const Seen &s = watcher.seen.first();
    const bool box = text == UpdateCheck::LatestVersion || text == UpdateCheck::NotResponding;
    QCOMPARE(s.kind, box ? QStringLiteral("box") : QStringLiteral("dialog"));
    QCOMPARE(s.title, QStringLiteral("Update Check"));
    QVERIFY(s.plain);
    QVERIFY(s.okOnly);
    QCOMPARE(s.text.size(), text.size());
    QCOMPARE(s.text, text);
    if (box)
        QCOMPARE(
            s.icon, text == UpdateCheck::NotResponding ? QMessageBox::Warning : QMessageBox::Information);
    else
        QCOMPARE(s.thisVersion, running);
    if (hangs) // the time limit, not the server, ended the check
        QVERIFY2(elapsed >= HangLimitMs - 50 && elapsed < HangLimitMs + 5000,
            qPrintable(QString::number(elapsed)));
    QVERIFY(!isLoaded<frmUpdate>());
    if (where != QLatin1String("server"))
        return;
    // The file is asked for afresh every time, as the program's own agent.
    const QList<QByteArray> lines = server.requests.value(0).split('\n');
    QCOMPARE(lines.first(), QByteArray("GET /update/qrblver.dat HTTP/1.1\r"));
    QMap<QByteArray, QByteArray> headers;
    for (const QByteArray &line : lines.mid(1))
        if (line.indexOf(':') > 0)
            headers.insert(line.left(line.indexOf(':')).toLower(), line.mid(line.indexOf(':') + 1).trimmed());
    QCOMPARE(headers.value("user-agent"), QByteArray("vb wininet"));
    QCOMPARE(headers.value("cache-control"), QByteArray("no-cache"));
    QCOMPARE(headers.value("pragma"), QByteArray("no-cache"));
    QCOMPARE(headers.value("accept-encoding"), QByteArray("identity"));
    QVERIFY(!headers.contains("if-modified-since") && !headers.contains("if-none-match"));
}

void tst_update::check_secondCheckRunsInsideTheFirst()
{
    RawHttpServer server;
    // The first answer's headers come at once, its body only when the test lets it go.
    server.route("/slow/qrblver.dat", { "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", true, "4.0.1" });
    server.route("/fast/qrblver.dat", { response("4.0.0") });
    UpdateCheck::setAddressForTest(server.url(QStringLiteral("/slow/qrblver.dat")));

    QStringList log;
    int handlesWhileSecondStarts = -1;
    int handlesWhenSecondEnded = -1;
    ModalWatcher watcher;
    watcher.onSeen
        = [&](const Seen &s) { log << s.kind + QLatin1Char(' ') + s.text.section(QLatin1Char('\r'), 0, 0); };
    server.onRequest = [&](const QByteArray &path) {
        log << QStringLiteral("request ") + QString::fromLatin1(path);
        if (path != "/slow/qrblver.dat")
            return;
        QTimer::singleShot(100, [&] {
            handlesWhileSecondStarts = HttpClient::openHandleCount();
            UpdateCheck::setAddressForTest(server.url(QStringLiteral("/fast/qrblver.dat")));
            log << QStringLiteral("second starts");
            form<frmMenu>().mnuFileCheckForUpdate->trigger();
            log << QStringLiteral("second ended");
            handlesWhenSecondEnded = HttpClient::openHandleCount();
            server.release("/slow/qrblver.dat");
        });
    };

    form<frmMenu>().mnuFileCheckForUpdate->trigger();
    log << QStringLiteral("first ended");

    const QStringList expected { QStringLiteral("request /slow/qrblver.dat"), QStringLiteral("second starts"),
        QStringLiteral("request /fast/qrblver.dat"),
        QStringLiteral("box You have the latest version of Quorbel!"), QStringLiteral("second ended"),
        QStringLiteral("dialog 4.0.1"), QStringLiteral("first ended") };
    QCOMPARE(log, expected);
    // The first check's two handles stayed open around the whole second check.
    QCOMPARE(handlesWhileSecondStarts, 2);
    QCOMPARE(handlesWhenSecondEnded, 2);
}

void tst_update::read_deliversTheBody_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("hangs");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("lastResult");

    const auto sized = [](const char *name, int size, const QList<int> &counts) {
        const QByteArray body = numberedBody("x", size);
        QTest::newRow(name) << response(body) << false << counts << body.left(int(HttpClient::BodyLimit))
                            << true;
    };
    sized("empty", 0, { 0 });
    sized("5 bytes", 5, { 5, 0 });
    sized("2047 bytes", 2047, { 2047, 0 });
    sized("exactly 2048 needs a second read", 2048, { 2048, 0 });
    sized("2049 bytes", 2049, { 2048, 1, 0 });
    sized("5000 bytes", 5000, { 2048, 2048, 904, 0 });
    sized("limit exactly", 65536, QList<int>(32, 2048) << 0);
    sized("past the limit is not read", 70000, QList<int>(32, 2048) << 0);
    const QByteArray cut = "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n4.0";
    QTest::newRow("error page is a body") << response("gone", "500 Internal Server Error") << false
                                          << QList<int> { 4, 0 } << QByteArray("gone") << true;
    QTest::newRow("connection lost") << cut << false << QList<int> { 3, 0 } << QByteArray("4.0") << false;
    QTest::newRow("time-out") << cut << true << QList<int> { 3, 0 } << QByteArray("4.0") << false;
}

void tst_update::read_deliversTheBody()
{
    QFETCH(QByteArray, raw);
    QFETCH(bool, hangs);
    QFETCH(QList<int>, counts);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, lastResult);

    HttpClient::setTransferTimeout(500);
    RawHttpServer server;
    server.route("/f", { raw, !hangs, {} });
    const HttpClient::Handle internet = HttpClient::open(QStringLiteral("agent"));
    const HttpClient::Handle file = HttpClient::openUrl(internet, server.url(QStringLiteral("/f")));
    QVERIFY(internet != 0);
    QVERIFY(file != 0 && file != internet);

    const ReadAll r = readAll(file);
    // Close first, so a failed comparison below cannot leave handles open for the next test.
    const auto closeBoth = qScopeGuard([&] {
        HttpClient::close(file);
        HttpClient::close(internet);
    });
    QCOMPARE(r.counts, counts);
    QCOMPARE(r.bytes, bytes);
    // A connection cut mid-body may reach Qt as an error or, on a loaded machine, as a plain end; the
    // check never looks at the result, only at the bytes and the final 0, so only clean ends are pinned.
    if (QByteArray(QTest::currentDataTag()) != "connection lost")
        QCOMPARE(r.lastResult, lastResult);
    if (lastResult) {
        // At the end every further read delivers nothing as well.
        char buffer[16];
        int count = -1;
        QVERIFY(HttpClient::read(file, buffer, 16, &count));
        QCOMPARE(count, 0);
    }
}

void tst_update::openUrl_givesNoHandleWithoutAResponse_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("validInternetHandle");

    QTest::newRow("refused") << refusedUrl() << true;
    QTest::newRow("unresolvable") << UnresolvableUrl << true;
    QTest::newRow("never answers") << QStringLiteral("silent") << true;
    QTest::newRow("not HTTP") << QStringLiteral("file:///etc/hostname") << true;
    QTest::newRow("not an address") << QStringLiteral("http//qrblver.dat") << true;
    QTest::newRow("no internet handle") << QStringLiteral("server") << false;
}

void tst_update::openUrl_givesNoHandleWithoutAResponse()
{
    QFETCH(QString, url);
    QFETCH(bool, validInternetHandle);

    HttpClient::setTransferTimeout(500);
    RawHttpServer server;
    server.route("/silent", { {}, false, {} });
    server.route("/f", { response("4.0.1") });
    if (url == QLatin1String("silent"))
        url = server.url(QStringLiteral("/silent"));
    else if (url == QLatin1String("server"))
        url = server.url(QStringLiteral("/f"));

    const HttpClient::Handle internet = HttpClient::open(QStringLiteral("agent"));
    const HttpClient::Handle file
        = HttpClient::openUrl(validInternetHandle ? internet : internet + 1000, url);
    QCOMPARE(file, HttpClient::Handle(0));
    // A missing handle reads as a failure with no bytes, so the check loop ends at once.
    char buffer[2048];
    int count = -1;
    QVERIFY(!HttpClient::read(file, buffer, 2048, &count));
    QCOMPARE(count, 0);
    QCOMPARE(HttpClient::openHandleCount(), 1);
    HttpClient::close(internet);
}

void tst_update::close_internetHandleClosesItsFiles()
{
    RawHttpServer server;
    server.route("/f", { response("4.0.1") });
    const HttpClient::Handle internet = HttpClient::open(QStringLiteral("agent"));
    const HttpClient::Handle file = HttpClient::openUrl(internet, server.url(QStringLiteral("/f")));
    QVERIFY(file != 0);
    QCOMPARE(HttpClient::openHandleCount(), 2);
    HttpClient::close(internet);
    QCOMPARE(HttpClient::openHandleCount(), 0);
    char buffer[2048];
    int count = -1;
    QVERIFY(!HttpClient::read(file, buffer, 2048, &count));
    QCOMPARE(count, 0);
    HttpClient::close(file); // closing again does nothing
}

void tst_update::dialog_layout()
{
    frmUpdate &dialog = form<frmUpdate>();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Update Check"));
    QCOMPARE(dialog.size(), QSize(313, 162)); // 4695 x 2430 twips
    QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    struct Control
    {
        QWidget *widget;
        const char *name;
        QString text;
        QRect twips;
    };
    const QList<Control> controls {
        { dialog.lblNewVersion, "lblNewVersion", "A new version of Quorbel! is now available.",
            { 120, 120, 4455, 255 } },
        { dialog.lblCurrentVersion, "lblCurrentVersion", "Current Version:", { 120, 840, 1215, 255 } },
        { dialog.lblVersion, "lblVersion", "Version", { 1440, 840, 1215, 255 } },
        { dialog.lblDownloadURL, "lblDownloadURL", frmUpdate::WebPage, { 2640, 1320, 1575, 255 } },
        { dialog.lblUpdateMessage, "lblUpdateMessage",
            "Download the latest version from:", { 120, 1320, 2415, 255 } },
        { dialog.lblYourVersion, "lblYourVersion", "Your Version:", { 120, 480, 1215, 255 } },
        { dialog.lblThisVersion, "lblThisVersion", "This Version", { 1440, 480, 1215, 255 } },
        { dialog.cmdOK, "cmdOK", "&OK", { 3360, 1800, 1215, 495 } },
    };
    for (const Control &c : controls) {
        QCOMPARE(c.widget->objectName(), QString::fromLatin1(c.name));
        const QRect design(c.twips.x() / 15, c.twips.y() / 15, c.twips.width() / 15, c.twips.height() / 15);
        if (c.widget == dialog.lblDownloadURL) {
            // The link may take the room its address needs, up to the right margin at 4575 twips.
            QCOMPARE(c.widget->pos(), design.topLeft());
            QCOMPARE(c.widget->height(), design.height());
            QVERIFY(c.widget->width() >= design.width());
            QVERIFY(c.widget->geometry().right() < 305);
        } else {
            QCOMPARE(c.widget->geometry(), design);
        }
        if (auto *label = qobject_cast<QLabel *>(c.widget)) {
            QCOMPARE(label->text(), c.text);
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        } else {
            QCOMPARE(qobject_cast<QPushButton *>(c.widget)->text(), c.text);
        }
    }
    QVERIFY(!dialog.cmdOK->isDefault());
    QVERIFY(dialog.lblDownloadURL->font().underline());
    QCOMPARE(dialog.lblDownloadURL->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(dialog.lblDownloadURL->cursor().shape(), Qt::PointingHandCursor);

    // Read from top to bottom, each caption starts where the design puts it: drawn from the top left.
    dialog.lblVersion->setText(QStringLiteral("4.0.1"));
    dialog.show();
    const QImage shot = dialog.grab().toImage();
    const QRgb face = shot.pixel(dialog.width() - 2, 2);
    const QList<QLabel *> firstLines { dialog.lblNewVersion, dialog.lblYourVersion, dialog.lblVersion,
        dialog.lblDownloadURL };
    for (QLabel *label : firstLines) {
        const QRect top(label->x(), label->y(), 12, 9);
        QVERIFY2(TestSupport::countNot(shot, face, top) > 0, label->objectName().toLatin1());
    }
}

void tst_update::dialog_showsALineBreakAsABreak()
{
    // The carriage return draws nothing and the line feed starts a second line, below the first.
    frmUpdate &dialog = form<frmUpdate>();
    dialog.show();
    const auto shown = [&](const QString &text) {
        dialog.lblVersion->setText(text);
        return dialog.lblVersion->grab().toImage();
    };
    const QImage oneLine = shown(QStringLiteral("4.0.0"));
    QCOMPARE(shown(QStringLiteral("4.0.0\r\n")), oneLine);
    QVERIFY(shown(QStringLiteral("4.0.0\r")) == oneLine);
    QVERIFY(shown(QStringLiteral("4.0.0\r\n4")) != oneLine);
    QCOMPARE(dialog.lblVersion->text(), QStringLiteral("4.0.0\r\n4"));
}

void tst_update::dialog_linkOpensTheWebPageAndStaysOpen()
{
    const QString scheme = QUrl(frmUpdate::WebPage).scheme();
    QDesktopServices::setUrlHandler(scheme, this, "openUrlInShell");
    frmUpdate &dialog = form<frmUpdate>();
    dialog.show();
    QTest::mouseClick(dialog.lblDownloadURL, Qt::LeftButton);
    QTest::mouseClick(dialog.lblDownloadURL, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(m_opened, (QList<QUrl> { QUrl(frmUpdate::WebPage), QUrl(frmUpdate::WebPage) }));
    QVERIFY(isLoaded<frmUpdate>());
    QVERIFY(dialog.isVisible());
}

void tst_update::dialog_keysAndCloseBox_data()
{
    QTest::addColumn<int>("key"); // 0: the close box, -1: a click on OK
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("closes");

    QTest::newRow("Esc does nothing") << int(Qt::Key_Escape) << 0 << false;
    QTest::newRow("Enter presses OK") << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("Space presses OK") << int(Qt::Key_Space) << 0 << true;
    QTest::newRow("Alt+O presses OK") << int(Qt::Key_O) << int(Qt::AltModifier) << true;
    QTest::newRow("close box") << 0 << 0 << true;
    QTest::newRow("click OK") << -1 << 0 << true;
}

void tst_update::dialog_keysAndCloseBox()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, closes);

    bool stillShown = false;
    bool focusOnOK = false;
    TestSupport::whenModal<frmUpdate>([&](frmUpdate &dialog) {
        // Once the window is active, the button holds the focus.
        focusOnOK = QTest::qWaitFor([&] { return QApplication::focusWidget() == dialog.cmdOK; }, 2000);
        if (key > 0)
            QTest::keyClick(dialog.windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        else if (key == 0)
            dialog.close();
        else
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        QTest::qWait(200); // a mnemonic clicks the button after a short animation
        stillShown = isLoaded<frmUpdate>() && dialog.isVisible();
        if (stillShown)
            dialog.cmdOK->click();
    });
    form<frmUpdate>().Show(Form::Modal);
    QVERIFY(focusOnOK);
    QCOMPARE(stillShown, !closes);
    QVERIFY(!isLoaded<frmUpdate>());
}

QTEST_MAIN(tst_update)
#include "tst_update.moc"
