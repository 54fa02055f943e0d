// Every window at the desktop fonts users have: each text whole, inside its control and its window, none
// under another control, the ordinary captions at one size. Each font setting runs as a child process.
#include "app/frmMenu.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmTestInfo.h"
#include "update/UpdateCheck.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
// Where a control shows its text, in its window, as the user sees it: its own font, wrapped where it wraps.
QRect shownText(QWidget *w, QRect *room)
{
    const QString text = w->property(w->inherits("QGroupBox") ? "title" : "text").toString();
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    *room = w->rect().adjusted(4, 2, -4, -2); // a button's frame
    if (auto *label = qobject_cast<QLabel *>(w)) {
        flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        *room = label->contentsRect();
    } else if (w->inherits("QCheckBox")) {
        flags = Qt::AlignRight | Qt::AlignVCenter | Qt::TextShowMnemonic;
        *room = w->rect().adjusted(w->style()->pixelMetric(QStyle::PM_IndicatorWidth), 0, 0, 0);
    } else if (w->inherits("QGroupBox")) {
        flags = Qt::AlignLeft | Qt::AlignTop;
        *room = w->rect();
    }
    *room = room->translated(w->mapTo(w->window(), QPoint()));
    return text.isEmpty() ? QRect() : QFontMetrics(w->font()).boundingRect(*room, flags, text);
}

void checkWindow(QWidget *window, const QString &what)
{
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>())
        if (w->isVisibleTo(window)
            && (w->inherits("QAbstractButton") || w->inherits("QLabel") || w->inherits("QGroupBox")
                || w->inherits("QAbstractScrollArea")))
            controls << w;
    const qreal desktop = QApplication::font().pointSizeF();
    for (QWidget *a : controls) {
        QRect room;
        const QRect text = shownText(a, &room);
        const QString where = what + ' ' + a->objectName() + ' ' + a->metaObject()->className() + ": ";
        QVERIFY2(a->font().pointSizeF() >= desktop - 1, qPrintable(where + "small font"));
        if (!a->inherits("QLabel") && !a->inherits("QPlainTextEdit") || a->inherits("LinkLabel"))
            QVERIFY2(a->font().pointSizeF() == desktop, qPrintable(where + "not the window's font size"));
        if (auto *list = qobject_cast<QListWidget *>(a))
            for (int row = 0; row < list->count(); ++row) {
                const QRect item = list->visualItemRect(list->item(row));
                QVERIFY2(list->viewport()->rect().contains(item), qPrintable(where + "entry cut off"));
                QVERIFY2(list->fontMetrics().horizontalAdvance(list->item(row)->text()) < item.width() - 2,
                    qPrintable(where + "entry too wide"));
            }
        if (text.isNull())
            continue;
        QVERIFY2(room.contains(text) && window->rect().contains(text), qPrintable(where + "clipped"));
        // No two texts overlap; none lies under a control that hides it (labels and frames do not).
        for (QWidget *b : controls) {
            const QRect other(b->mapTo(window, QPoint()), b->size());
            const bool hides = !b->inherits("QLabel") && !b->inherits("QGroupBox")
                && !other.contains(QRect(a->mapTo(window, QPoint()), a->size()));
            if (b != a && !b->isAncestorOf(a) && !a->isAncestorOf(b))
                QVERIFY2(!text.intersects(shownText(b, &room)) && !(hides && other.intersects(text)),
                    qPrintable(where + "under " + b->objectName()));
        }
    }
}

// Runs open(); whatever modal window comes up is checked and closed by its first button.
void checkModals(const std::function<void()> &open, int *seen)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [seen] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            ++*seen;
            checkWindow(modal, modal->windowTitle());
            modal->findChild<QPushButton *>()->click();
        }
    });
    poll.start(20);
    open();
}
} // namespace

class tst_layout : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowAtEveryFont_data()
    {
        QTest::addColumn<QString>("fontDpi");
        QTest::addColumn<QString>("onlyFonts");
        QTest::newRow("desktop default") << ""
                                         << "";
        QTest::newRow("font dpi 144") << "144"
                                      << "";
        QTest::newRow("font dpi 192") << "192"
                                      << "";
        QTest::newRow("only DejaVu") << ""
                                     << "/usr/share/fonts/truetype/dejavu";
        QTest::newRow("only URW") << ""
                                  << "/usr/share/fonts/opentype/urw-base35";
    }

    void everyWindowAtEveryFont()
    {
        QFETCH(QString, fontDpi);
        QFETCH(QString, onlyFonts);
        QTemporaryDir dir;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!fontDpi.isEmpty()) {
            env.insert("QT_ENABLE_HIGHDPI_SCALING", "0");
            env.insert("QT_FONT_DPI", fontDpi);
        }
        QFile conf(dir.filePath("fonts.conf")), screen(dir.filePath("screen.json"));
        if (!onlyFonts.isEmpty() && conf.open(QIODevice::WriteOnly)) {
            conf.write(
                QStringLiteral("<fontconfig><dir>%1</dir><cachedir>%2</cachedir><include>/etc/fonts/conf.d"
                               "</include></fontconfig>")
                    .arg(onlyFonts, dir.path())
                    .toUtf8());
            conf.close();
            env.insert("FONTCONFIG_FILE", conf.fileName());
        }
        QVERIFY(screen.open(QIODevice::WriteOnly));
        screen.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":2560,"height":1600}]})");
        screen.close();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.fileName());
        env.insert("QRBL_LAYOUT_CHILD", "1");
        env.insert("XDG_CONFIG_HOME", dir.path());
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), { "childEveryWindow" });
        QVERIFY(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitCode() == 0 && output.contains(" 0 failed, 0 skipped"), output.constData());
    }

    void childEveryWindow()
    {
        if (qEnvironmentVariableIsEmpty("QRBL_LAYOUT_CHILD"))
            QSKIP("the child of everyWindowAtEveryFont");
        qInfo() << QApplication::font() << QFontInfo(QApplication::font()).family()
                << QFontMetrics(QApplication::font()).height() << "px";
        frmMenu &menu = form<frmMenu>();
        menu.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        checkWindow(&menu, "main window");
        for (QPushButton *button : menu.client()->findChildren<QPushButton *>()) {
            QTest::mouseMove(button);
            // The whole description can be read: its end scrolls into the box.
            for (int page = 0; page < 20; ++page)
                QTest::keyClick(&menu, Qt::Key_PageDown);
            QPlainTextEdit *box = menu.txtTestInformation;
            QTextCursor end(box->document());
            end.movePosition(QTextCursor::End);
            QVERIFY2(box->toPlainText().size() > 50 && box->viewport()->rect().contains(box->cursorRect(end)),
                qPrintable(button->text()));
        }
        int modals = 0;
        checkModals([] { form<frmTestInfo>().Show(Form::Modal); }, &modals);
        checkModals([] { form<frmAbout>().Show(Form::Modal); }, &modals);
        form<frmHelp>().Show();
        for (int row = 0; row < frmHelp::TopicCount; ++row) {
            form<frmHelp>().lstHelpIndex->setCurrentRow(row);
            checkWindow(&form<frmHelp>(), "help topic " + QString::number(row));
        }
        // The update check against a loopback server: a newer version, the latest, then no answer.
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QByteArray body;
        connect(&server, &QTcpServer::newConnection, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            socket->write("HTTP/1.0 200 OK\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
        UpdateCheck::setAddressForTest(QStringLiteral("http://127.0.0.1:%1/v").arg(server.serverPort()));
        for (const char *answer : { "99.0.0", "4.0.0", "" }) {
            body = answer;
            if (body.isEmpty())
                server.close();
            checkModals([] { UpdateCheck().run(); }, &modals);
        }
        QCOMPARE(modals, 5);
        menu.Unload();
    }
};

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
