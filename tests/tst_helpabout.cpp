// Help and About as their user meets them: the topics, the keys, and the links handed to the desktop.
#include "BuildConfig.h"
#include "app/frmMenu.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelp.h"
#include "platform/LinkLabel.h"

#include <QDesktopServices>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class tst_helpabout : public QObject
{
    Q_OBJECT
private slots:
    void helpTopicFollowsSelection_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("text");
        QTest::newRow("About Help")
            << 0 << "About Help"
            << "Welcome to Quorbel! Help.\n\nTo get help on a particular topic, click on "
               "it's title in the list on the left side of this window.";
        QTest::newRow("blank") << 6 << ""
                               << "";
        QTest::newRow("Support") << 7 << "Support"
                                 << "For further support, please see " QRBL_WEB_URL
                                    " or email " QRBL_SUPPORT_EMAIL;
    }

    void helpTopicFollowsSelection()
    {
        QFETCH(int, row);
        QFETCH(QString, entry);
        QFETCH(QString, text);
        frmHelp &help = form<frmHelp>();
        help.Show();
        QVERIFY(QTest::qWaitForWindowActive(&help));
        QListWidget *list = help.lstHelpIndex;
        QCOMPARE(list->item(row)->text(), entry);
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QCOMPARE(help.txtHelp->toPlainText(), text);
        QTest::keyClick(list, row ? Qt::Key_Up : Qt::Key_Down);
        QTest::keyClick(list, row ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(help.txtHelp->toPlainText(), text);
        // The text box never keeps the focus, so typing cannot change the text.
        QTest::mouseClick(help.txtHelp->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(QApplication::focusWidget(), help.cmdOK);
        QTest::keyClicks(help.txtHelp, "abc");
        QCOMPARE(help.txtHelp->toPlainText(), text);
        unload<frmHelp>();
    }

    void aboutLinksOpenThroughDesktop()
    {
        UrlRecorder recorder;
        for (const char *scheme : { "http", "https", "mailto" })
            QDesktopServices::setUrlHandler(scheme, &recorder, "open");
        frmAbout &about = form<frmAbout>();
        about.Show();
        QTest::mouseClick(about.lblURL, Qt::LeftButton, {}, QPoint(10, 8));
        QTest::mouseClick(about.lblEmail, Qt::LeftButton, {}, QPoint(10, 8));
        // Pressed on the link but released off it: no click.
        QTest::mousePress(about.lblEmail, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(about.lblEmail, Qt::LeftButton, {}, QPoint(5, -40));
        for (const char *scheme : { "http", "https", "mailto" })
            QDesktopServices::unsetUrlHandler(scheme);
        QCOMPARE(recorder.opened, QList<QUrl>({ QUrl(QRBL_WEB_URL), QUrl("mailto:" QRBL_SUPPORT_EMAIL) }));
        QVERIFY(about.isVisible());
        // Esc, like OK, closes the box and brings the main window.
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!isLoaded<frmAbout>());
        QVERIFY(Form::mainWindow() && Form::mainWindow()->isVisible());
        unload<frmMenu>();
    }
};

QTEST_MAIN(tst_helpabout)
#include "tst_helpabout.moc"
