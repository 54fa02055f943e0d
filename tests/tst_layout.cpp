// Every window at the desktop fonts users have: each text whole, inside its control and its window, none
// under another control, the ordinary captions at one size. Each font setting runs as a child process.
#include "app/frmMenu.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmTestInfo.h"
#include "support/TestSupport.h"
#include "update/UpdateCheck.h"

#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

namespace {
// Where a control shows its text, in its window, as the user sees it: its own font, wrapped where it wraps.
QRect shownText(QWidget *w, QRect *room)
{
    const QFontMetrics fm(w->font());
    const QString text = w->property(w->inherits("QGroupBox") ? "title" : "text").toString();
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    const QPoint at = w->mapTo(w->window(), QPoint());
    if (auto *button = qobject_cast<QPushButton *>(w)) { // inside the style's frame and margin
        QStyleOptionButton option;
        option.initFrom(button);
        *room = w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).translated(at);
    } else if (auto *label = qobject_cast<QLabel *>(w)) {
        flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        *room = label->contentsRect().translated(at);
    } else if (w->inherits("QCheckBox") || w->inherits("QGroupBox")) {
        flags = w->inherits("QGroupBox") ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignRight | Qt::AlignVCenter;
        *room = w->rect().adjusted(w->inherits("QGroupBox") ? 0 : 20, 0, 0, 0).translated(at);
    } else if (auto *list = qobject_cast<QListWidget *>(w)) {
        *room = list->viewport()->geometry().translated(at);
        QRect entries;
        for (int row = 0; row < list->count(); ++row) {
            const QRect item = list->visualItemRect(list->item(row)).translated(room->topLeft());
            entries |= QRect(
                item.topLeft(), QSize(fm.horizontalAdvance(list->item(row)->text()) + 4, item.height()));
        }
        return entries;
    }
    return text.isEmpty() ? QRect() : fm.boundingRect(*room, flags, text);
}

void checkWindow(QWidget *window, const QString &what)
{
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>())
        if (w->isVisibleTo(window)
            && (w->inherits("QAbstractButton") || w->inherits("QLabel") || w->inherits("QGroupBox")
                || w->inherits("QAbstractScrollArea")))
            controls << w;
    // The desktop's font, or one size smaller for the whole window where the desktop's would not fit its
    // screen; and no window past its screen's edge.
    const qreal size = window->font().pointSizeF();
    const QSize room = window->screen()->availableGeometry().size() * 0.9;
    QVERIFY2(size == QApplication::font().pointSizeF() || window->width() > room.width() || window->height() > room.height(),
        qPrintable(what + " shrank its text without need"));
    QVERIFY2(window->screen()->availableGeometry().contains(window->frameGeometry()), qPrintable(what + " past its screen"));
    for (QWidget *a : controls) {
        QRect room, unused;
        const QRect text = shownText(a, &room);
        const QString where = what + ' ' + a->objectName() + ' ' + a->metaObject()->className() + ": ";
        QVERIFY2(a->font().pointSizeF() >= size - 1, qPrintable(where + "small font"));
        if ((!a->inherits("QLabel") && !a->inherits("QPlainTextEdit")) || a->inherits("LinkLabel"))
            QVERIFY2(a->font().pointSizeF() == size, qPrintable(where + "not the window's font size"));
        if (text.isNull())
            continue;
        QVERIFY2(room.contains(text) && window->rect().contains(text), qPrintable(where + "clipped"));
        // No two texts overlap; none lies under a control that hides it (labels and frames do not).
        for (QWidget *b : controls) {
            const QRect other(b->mapTo(window, QPoint()), b->size());
            const bool hides = !b->inherits("QLabel") && !b->inherits("QGroupBox")
                && !other.contains(QRect(a->mapTo(window, QPoint()), a->size()));
            if (b != a && !b->isAncestorOf(a) && !a->isAncestorOf(b))
                QVERIFY2(!text.intersects(shownText(b, &unused)) && !(hides && other.intersects(text)),
                    qPrintable(where + "under " + b->objectName()));
        }
    }
}

} // namespace

class tst_layout : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowAtEveryFont_data()
    {
        QTest::addColumn<QStringList>("env");
        QTest::addColumn<QRect>("screen");
        const QRect large(0, 0, 2560, 1600);
        QTest::newRow("desktop default") << QStringList() << large;
        QTest::newRow("font dpi 144") << QStringList { "QT_ENABLE_HIGHDPI_SCALING=0", "QT_FONT_DPI=144" } << large;
        QTest::newRow("font dpi 192") << QStringList { "QT_ENABLE_HIGHDPI_SCALING=0", "QT_FONT_DPI=192" } << large;
        QTest::newRow("font dpi 192 on 1366x768")
            << QStringList { "QT_ENABLE_HIGHDPI_SCALING=0", "QT_FONT_DPI=192" } << QRect(0, 0, 1366, 768);
        QTest::newRow("only DejaVu") << QStringList { "FONTS=/usr/share/fonts/truetype/dejavu" } << large;
        QTest::newRow("only URW") << QStringList { "FONTS=/usr/share/fonts/opentype/urw-base35" } << large;
        QTest::newRow("no fonts") << QStringList { "FONTS=/nonexistent" } << large;
    }

    void everyWindowAtEveryFont()
    {
        QFETCH(QStringList, env);
        QFETCH(QRect, screen);
        QTemporaryDir dir;
        QFile fonts(dir.filePath("fonts.conf"));
        if (!env.isEmpty() && env.first().startsWith("FONTS=")) { // the system's rules, but one folder's fonts
            QVERIFY(fonts.open(QIODevice::WriteOnly));
            fonts.write(("<fontconfig><dir>" + env.first().mid(6) + "</dir><cachedir>" + dir.path()
                + "</cachedir><include>/etc/fonts/conf.d</include></fontconfig>").toUtf8());
            fonts.close();
            env << "FONTCONFIG_FILE=" + fonts.fileName();
        }
        const auto child = TestSupport::startOnMonitors({ { screen } }, { "childEveryWindow" },
            env << "QRBL_LAYOUT_CHILD=1" << "XDG_CONFIG_HOME=" + dir.path());
        QVERIFY(child->waitForFinished(120000));
        const QByteArray output = child->readAll(), errors = child->readAllStandardError();
        QVERIFY2(child->exitCode() == 0 && output.contains(" 0 failed, 0 skipped"), output.constData());
        QVERIFY2(!(output + errors).contains("QFont::"), (output + errors).constData());
    }

    void childEveryWindow()
    {
        if (qEnvironmentVariableIsEmpty("QRBL_LAYOUT_CHILD"))
            QSKIP("the child of everyWindowAtEveryFont");
        frmMenu menu;
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        checkWindow(&menu, "main window");
        // The captions in tab order, each describing its test: the whole description can be read, as its
        // end scrolls into the box.
        for (const char *caption : { "Boxes", "Circles", "Colors", "Crosshairs", "Vertical Lines",
                 "Diagonal Lines", "Red", "Green", "Blue", "Black", "White", "50% Grey", "Greys" }) {
            QCOMPARE(qobject_cast<QPushButton *>(QApplication::focusWidget())->text(), caption);
            QTest::mouseMove(QApplication::focusWidget());
            for (int page = 0; page < 20; ++page)
                QTest::keyClick(&menu, Qt::Key_PageDown);
            auto *box = TestSupport::control<QPlainTextEdit>(&menu, "txtTestInformation");
            QTextCursor end(box->document());
            end.movePosition(QTextCursor::End);
            QVERIFY2(box->toPlainText().size() > 50 && box->viewport()->rect().contains(box->cursorRect(end)),
                caption);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        int modals = 0;
        QObject scope; // every modal window that comes up is checked, then closed by its first button
        TestSupport::answerModals(&scope, [&modals](QWidget &modal) {
            ++modals;
            checkWindow(&modal, modal.windowTitle());
            modal.findChild<QPushButton *>()->click();
        });
        frmTestInfo(true, &menu).exec();
        frmAbout(&menu).exec();
        frmHelp help(&menu);
        help.show();
        auto *topics = TestSupport::control<QListWidget>(&help, "lstHelpIndex");
        for (int row = 0; row < topics->count(); ++row) {
            topics->setCurrentRow(row);
            checkWindow(&help, "help topic " + QString::number(row));
        }
        topics->setCurrentRow(0); // one topic exactly, a guard against a slip in the texts
        QCOMPARE(TestSupport::control<QPlainTextEdit>(&help, "txtHelp")->toPlainText(),
            "Welcome to Quorbel! Help.\n\nTo get help on a particular topic, click on it's title in the list "
            "on the left side of this window.");
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
        UpdateCheck::setHelperForTest(QStringLiteral(QRBL_FETCH_HELPER));
        for (const char *answer : { "99.0.0", "4.0.0", "" }) {
            body = answer;
            if (body.isEmpty())
                server.close();
            UpdateCheck::run(&menu);
        }
        QCOMPARE(modals, 5);
    }
};

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
