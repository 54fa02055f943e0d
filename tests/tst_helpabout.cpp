// The help window and the about box: layout, texts, selection, focus, links and closing.
#include "BuildConfig.h"
#include "app/frmMenu.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelp.h"
#include "platform/AppVersion.h"
#include "platform/LinkLabel.h"
#include "support/TestSupport.h"

#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

namespace {
const QString WebUrl = QStringLiteral(QRBL_WEB_URL);
const QString Email = QStringLiteral(QRBL_SUPPORT_EMAIL);
const QString Welcome
    = QStringLiteral("Welcome to Quorbel! Help.\r\n\r\nTo get help on a particular topic, click "
                     "on it's title in the list on the left side of this window.");

QRect inTwips(const QRect &pixels)
{
    return QRect(pixels.x() * 15, pixels.y() * 15, pixels.width() * 15, pixels.height() * 15);
}

// What a text box shows for a text: CR LF is one line break.
QString shown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

bool isBlue(QRgb p)
{
    return qBlue(p) > 180 && qRed(p) < 90 && qGreen(p) < 90;
}
} // namespace

// Records what the desktop is asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class tst_helpabout : public QObject
{
    Q_OBJECT

private:
    template <class T> T &shownActive()
    {
        T &window = form<T>();
        window.Show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("window did not become active");
        return window;
    }

    void unloadAll()
    {
        unload<frmHelp>();
        unload<frmAbout>();
        unload<frmMenu>();
        TestSupport::flushDeletes();
    }

    // Loads T with the application font at a size so small that no control has to grow.
    template <class T> T &loadedAtSmallFont()
    {
        const QFont before = QApplication::font();
        QFont small = before;
        small.setPointSizeF(5);
        QApplication::setFont(small);
        T &window = form<T>();
        QApplication::setFont(before);
        return window;
    }

    void clickRow(QListWidget *list, int row)
    {
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

private slots:
    void initTestCase() { TestSupport::freshSettings(); }
    void cleanup()
    {
        AppVersion::resetForTest();
        unloadAll();
    }

    // ---- help window ----

    void helpLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("lblTitle") << "lblTitle" << QRect(120, 120, 7095, 735);
        QTest::newRow("lstHelpIndex") << "lstHelpIndex" << QRect(120, 960, 1935, 2790);
        QTest::newRow("txtHelp") << "txtHelp" << QRect(2160, 960, 5055, 2775);
        QTest::newRow("cmdOK") << "cmdOK" << QRect(6000, 3840, 1215, 495);
    }

    void helpLayout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        frmHelp &help = loadedAtSmallFont<frmHelp>();
        QCOMPARE(inTwips(QRect(QPoint(), help.size())), QRect(0, 0, 7335, 4455));
        QCOMPARE(inTwips(help.findChild<QWidget *>(name)->geometry()), twips);
    }

    void helpIndexNotClipped()
    {
        frmHelp &help = form<frmHelp>();
        QListWidget *list = help.lstHelpIndex;
        for (int row = 0; row < list->count(); ++row) {
            const int needed = list->fontMetrics().horizontalAdvance(list->item(row)->text());
            QVERIFY2(needed <= list->visualItemRect(list->item(row)).width() - 2,
                qPrintable(list->item(row)->text()));
            QVERIFY(list->visualItemRect(list->item(row)).right() < list->viewport()->width());
        }
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
        // Whatever the list needs, the text box keeps its top, height and right edge and never overlaps it.
        const QRect text = inTwips(help.txtHelp->geometry());
        QCOMPARE(text.top(), 960);
        QCOMPARE(text.height(), 2775);
        QCOMPARE(text.left() + text.width(), 2160 + 5055);
        QVERIFY(help.txtHelp->x() > list->geometry().right());
        QCOMPARE(inTwips(list->geometry()).topLeft(), QPoint(120, 960));
        QVERIFY(inTwips(list->geometry()).width() >= 1935);
    }

    void helpOpening()
    {
        frmHelp &help = shownActive<frmHelp>();
        QCOMPARE(help.windowTitle(), QStringLiteral("Quorbel! Help"));
        QListWidget *list = help.lstHelpIndex;
        QCOMPARE(list->count(), 8);
        const QStringList entries { "About Help", "", "Test Patterns", "", "Check For Update",
            "Show Pre-Test Message", "", "Support" };
        for (int row = 0; row < 8; ++row)
            QCOMPARE(list->item(row)->text(), entries[row]);
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(help.ListIndex(), -1);
        QCOMPARE(help.txtHelp->toPlainText(), shown(Welcome));
        // The two CR LF show as two line breaks: a line, an empty line, a line.
        QCOMPARE(help.txtHelp->document()->blockCount(), 3);
        QVERIFY(help.txtHelp->document()->findBlockByNumber(1).text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), help.cmdOK);
    }

    void helpTitle_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("title");
        QTest::newRow("this program") << 4 << 0 << 0 << "Quorbel!\r\nVersion 4.0.0";
        QTest::newRow("plain decimals") << 12 << 3 << 456 << "Quorbel!\r\nVersion 12.3.456";
    }

    void helpTitle()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, title);
        AppVersion::setForTest(major, minor, revision);
        frmHelp &help = shownActive<frmHelp>();
        QCOMPARE(help.lblTitle->text(), title);

        // On screen: two centred lines, the carriage return leaving no mark.
        QLabel plain(shown(title));
        plain.setFont(help.lblTitle->font());
        plain.setAlignment(help.lblTitle->alignment());
        plain.setPalette(help.lblTitle->palette());
        plain.resize(help.lblTitle->size());
        const QImage seen = help.lblTitle->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(seen, plain.grab().toImage().convertToFormat(QImage::Format_RGB32));
        const QRgb background = seen.pixel(0, 0);
        int bands = 0;
        bool inText = false;
        for (int y = 0; y < seen.height(); ++y) {
            const bool ink = TestSupport::countNot(seen, background, QRect(0, y, seen.width(), 1)) > 0;
            bands += ink && !inText;
            inText = ink;
        }
        QCOMPARE(bands, 2);
        // Centred: about as much ink left of the middle as right of it.
        const int leftInk
            = TestSupport::countNot(seen, background, QRect(0, 0, seen.width() / 2, seen.height()));
        const int rightInk = TestSupport::countNot(
            seen, background, QRect(seen.width() / 2, 0, seen.width() / 2, seen.height()));
        QVERIFY(qAbs(leftInk - rightInk) < (leftInk + rightInk) / 3);
    }

    void helpTopics_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("0 About Help") << 0 << Welcome;
        QTest::newRow("1 blank") << 1 << QString();
        QTest::newRow("2 Test Patterns")
            << 2
            << QStringLiteral(
                   "To display a test pattern, click it's button. A pre-test message may appear telling "
                   "you how to exit the test. If you don't want to see this message every time, "
                   "uncheck the box marked 'Always show this dialog'. You can press the Esc key on "
                   "your keyboard to exit the test and go back to the main menu.");
        QTest::newRow("3 blank") << 3 << QString();
        QTest::newRow("4 Check For Update")
            << 4
            << QStringLiteral(
                   "This will check for updates to Quorbel! on the Internet. If a newer version is "
                   "found, you will be given the option of downloading it.\r\n\r\nThis feature will "
                   "require Internet access.");
        QTest::newRow("5 Show Pre-Test Message")
            << 5
            << QStringLiteral(
                   "If there is a check besides the Show Pre-Test Message option on the File menu, a "
                   "dialog will appear before any test is run telling you how to exit the test. To "
                   "disable this dialog, select the Show Pre-Test Messge menu option and it will "
                   "disable.");
        QTest::newRow("6 blank") << 6 << QString();
        QTest::newRow("7 Support") << 7
                                   << QStringLiteral("For further support, please see ") + WebUrl
                + QStringLiteral(" or email ") + Email;
    }

    void helpTopics()
    {
        QFETCH(int, position);
        QFETCH(QString, text);
        QCOMPARE(frmHelp::topicText(position), text);

        frmHelp &help = shownActive<frmHelp>();
        QListWidget *list = help.lstHelpIndex;
        // By mouse, starting from a neighbour's text so that the click must replace it.
        const int neighbour = position == 0 ? 1 : position - 1;
        clickRow(list, neighbour);
        QCOMPARE(help.txtHelp->toPlainText(), shown(frmHelp::topicText(neighbour)));
        QVERIFY(help.txtHelp->toPlainText() != shown(text));
        clickRow(list, position);
        QCOMPARE(help.ListIndex(), position);
        QCOMPARE(help.txtHelp->toPlainText(), shown(text));

        // By keyboard, arriving from the neighbour.
        clickRow(list, neighbour);
        QTest::keyClick(list, position > neighbour ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(help.ListIndex(), position);
        QCOMPARE(help.txtHelp->toPlainText(), shown(text));
    }

    void helpTextNeverKeepsFocus_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("click into the text") << 0;
        QTest::newRow("tab from OK") << 1;
        QTest::newRow("click on the scroll bar") << 2;
        QTest::newRow("focus given by code") << 3;
    }

    void helpTextNeverKeepsFocus()
    {
        QFETCH(int, how);
        frmHelp &help = shownActive<frmHelp>();
        clickRow(help.lstHelpIndex, 2);
        QCOMPARE(QApplication::focusWidget(), help.lstHelpIndex);
        help.cmdOK->setFocus(Qt::OtherFocusReason);
        switch (how) {
        case 0:
            QTest::mouseClick(help.txtHelp->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
            break;
        case 1:
            QTest::keyClick(help.cmdOK, Qt::Key_Tab);
            break;
        case 2:
            QTest::mouseClick(help.txtHelp->verticalScrollBar(), Qt::LeftButton, {},
                help.txtHelp->verticalScrollBar()->rect().center());
            break;
        default:
            help.txtHelp->setFocus(Qt::OtherFocusReason);
        }
        QCOMPARE(QApplication::focusWidget(), help.cmdOK);
        // Typing then goes nowhere near the text.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
        QVERIFY(!help.txtHelp->toPlainText().contains(QLatin1String("abc")));
    }

    void helpListReachedBackwards()
    {
        frmHelp &help = shownActive<frmHelp>();
        QTest::keyClick(help.cmdOK, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), help.lstHelpIndex);
        // Arriving in the list selects nothing by itself.
        QCOMPARE(help.ListIndex(), -1);
        QCOMPARE(help.txtHelp->toPlainText(), shown(Welcome));
        QTest::keyClick(help.lstHelpIndex, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), help.cmdOK);
    }

    void helpEscDoesNothing()
    {
        bool stillOpen = false;
        TestSupport::whenModal<frmHelp>([&](frmHelp &help) {
            help.activateWindow();
            TestSupport::pressEsc(help.cmdOK);
            clickRow(help.lstHelpIndex, 4);
            TestSupport::pressEsc(help.lstHelpIndex);
            TestSupport::pressEsc(&help);
            stillOpen = isLoaded<frmHelp>() && help.isVisible() && help.isModalShowing();
            help.cmdOK->click();
        });
        form<frmHelp>().Show(Form::Modal);
        QVERIFY(stillOpen);
        QVERIFY(!isLoaded<frmHelp>());
    }

    void helpClosing_data()
    {
        QTest::addColumn<bool>("byOK");
        QTest::newRow("OK shows the main window") << true;
        QTest::newRow("close box does not") << false;
    }

    void helpClosing()
    {
        QFETCH(bool, byOK);
        QVERIFY(!isLoaded<frmMenu>());
        TestSupport::whenModal<frmHelp>([&](frmHelp &help) {
            if (byOK)
                QTest::mouseClick(help.cmdOK, Qt::LeftButton);
            else
                help.close();
        });
        form<frmHelp>().Show(Form::Modal);
        QVERIFY(!isLoaded<frmHelp>());
        QCOMPARE(isLoaded<frmMenu>(), byOK);
        if (byOK)
            QVERIFY(form<frmMenu>().isVisible());
    }

    // ---- about box ----

    void aboutLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("picIcon") << "picIcon" << QRect(240, 240, 540, 540);
        QTest::newRow("lblTitle") << "lblTitle" << QRect(1050, 240, 3885, 480);
        QTest::newRow("lblVersion") << "lblVersion" << QRect(1050, 780, 3885, 225);
        QTest::newRow("lblDescription") << "lblDescription" << QRect(1050, 1125, 3885, 810);
        QTest::newRow("lblURL") << "lblURL" << QRect(1080, 2040, 1575, 255);
        QTest::newRow("lblEmail") << "lblEmail" << QRect(1080, 2280, 2295, 255);
        QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QRect(255, 2880, 3870, 1065);
        QTest::newRow("cmdOK") << "cmdOK" << QRect(4200, 3000, 1260, 435);
    }

    void aboutLayout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        frmAbout &about = loadedAtSmallFont<frmAbout>();
        QCOMPARE(inTwips(QRect(QPoint(), about.size())), QRect(0, 0, 5730, 3975));
        QCOMPARE(inTwips(about.findChild<QWidget *>(name)->geometry()), twips);
    }

    void aboutNothingClipped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("lblTitle") << "lblTitle";
        QTest::newRow("lblVersion") << "lblVersion";
        QTest::newRow("lblDescription") << "lblDescription";
        QTest::newRow("lblURL") << "lblURL";
        QTest::newRow("lblEmail") << "lblEmail";
    }

    void aboutNothingClipped()
    {
        QFETCH(QString, name);
        frmAbout &about = form<frmAbout>();
        auto *label = about.findChild<QLabel *>(name);
        if (label->wordWrap()) {
            QVERIFY(label->heightForWidth(label->width()) <= label->height());
        } else {
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
            QVERIFY(label->fontMetrics().height() <= label->height());
        }
        QVERIFY(label->geometry().right() < about.width());
        // Grown labels keep their place, and no text runs into the next label or the separator.
        const QList<QLabel *> stack { about.lblTitle, about.lblVersion, about.lblDescription, about.lblURL,
            about.lblEmail };
        const auto textBottom = [](QLabel *l) {
            return l->y() + (l->wordWrap() ? l->heightForWidth(l->width()) : l->fontMetrics().height());
        };
        for (int i = 1; i < stack.size(); ++i)
            QVERIFY(textBottom(stack[i - 1]) <= stack[i]->y());
        QVERIFY(textBottom(about.lblEmail) <= 179);
    }

    void aboutTexts_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("version");
        QTest::newRow("this program") << 4 << 0 << 0 << "Version 4.0.0";
        QTest::newRow("plain decimals") << 10 << 20 << 3 << "Version 10.20.3";
    }

    void aboutTexts()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, version);
        AppVersion::setForTest(major, minor, revision);
        frmAbout &about = shownActive<frmAbout>();
        QCOMPARE(about.windowTitle(), QStringLiteral("About Quorbel!"));
        QCOMPARE(about.lblTitle->text(), QStringLiteral("Quorbel!"));
        QCOMPARE(about.lblVersion->text(), version);
        const QString description
            = QStringLiteral("A test pattern utility to assist with changing monitor settings.\r\n\r\n"
                             "Created by ")
            + QStringLiteral(QRBL_AUTHOR);
        QCOMPARE(about.lblDescription->text(), description);
        QCOMPARE(about.lblURL->text(), WebUrl);
        QCOMPARE(about.lblEmail->text(), Email);
        QCOMPARE(about.lblDisclaimer->text(), QString());
        QCOMPARE(QApplication::focusWidget(), about.cmdOK);

        // The carriage returns show nothing of their own: the same picture as plain line breaks.
        QLabel plain(shown(description));
        plain.setWordWrap(true);
        plain.setFont(about.lblDescription->font());
        plain.setAlignment(about.lblDescription->alignment());
        plain.setPalette(about.lblDescription->palette());
        plain.resize(about.lblDescription->size());
        QCOMPARE(about.lblDescription->grab().toImage().convertToFormat(QImage::Format_RGB32),
            plain.grab().toImage().convertToFormat(QImage::Format_RGB32));
        for (QLabel *label : { about.lblTitle, about.lblDescription, about.lblDisclaimer })
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    }

    void aboutIcon()
    {
        frmAbout &about = shownActive<frmAbout>();
        const QPixmap picture = about.picIcon->pixmap();
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(32, 32));
        const QImage seen = about.picIcon->grab().toImage();
        const QRgb background = seen.pixel(0, 0);
        // The artwork fills most of the 32 x 32 square in the middle of the box.
        QVERIFY(TestSupport::countNot(seen, background, QRect(2, 2, 32, 32)) > 500);
        QCOMPARE(TestSupport::countNot(seen, background, QRect(0, 0, 36, 2)), 0);
    }

    void fonts_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("points");
        QTest::newRow("help title") << "frmHelp"
                                    << "lblTitle" << 12.0;
        QTest::newRow("help text") << "frmHelp"
                                   << "txtHelp" << 9.75;
        QTest::newRow("about title") << "frmAbout"
                                     << "lblTitle" << 13.5;
        QTest::newRow("about version") << "frmAbout"
                                       << "lblVersion" << QApplication::font().pointSizeF();
        QTest::newRow("about link") << "frmAbout"
                                    << "lblURL" << QApplication::font().pointSizeF();
    }

    void fonts()
    {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(qreal, points);
        Form *owner = window == QLatin1String("frmHelp") ? static_cast<Form *>(&form<frmHelp>())
                                                         : static_cast<Form *>(&form<frmAbout>());
        const QFont font = owner->findChild<QWidget *>(name)->font();
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.family(), QApplication::font().family());
        QVERIFY(!font.bold());
        QVERIFY(!font.italic());
    }

    void separator()
    {
        frmAbout &about = shownActive<frmAbout>();
        const QImage seen = about.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb grey = qRgb(0x80, 0x80, 0x80);
        const QRgb white = qRgb(0xFF, 0xFF, 0xFF);
        // Grey from (90, 2685) to (5654, 2685) twips; white two pixels wide from (105, 2700).
        QCOMPARE(TestSupport::countOf(seen, grey, QRect(6, 179, 371, 1)), 371);
        QCOMPARE(TestSupport::countOf(seen, white, QRect(7, 180, 370, 2)), 740);
        QVERIFY(seen.pixel(5, 179) != grey);
        QVERIFY(seen.pixel(377, 179) != grey);
        QVERIFY(seen.pixel(6, 180) != white);
        QVERIFY(seen.pixel(377, 181) != white);
        QCOMPARE(TestSupport::countOf(seen, white, QRect(7, 182, 370, 1)), 0);
        QCOMPARE(TestSupport::countOf(seen, grey, QRect(6, 178, 371, 1)), 0);
    }

    void linkStyle_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("web page") << "lblURL";
        QTest::newRow("e-mail") << "lblEmail";
    }

    void linkStyle()
    {
        QFETCH(QString, name);
        frmAbout &about = shownActive<frmAbout>();
        auto *link = about.findChild<LinkLabel *>(name);
        QVERIFY(link);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);

        // On screen: blue text, and an underline as a blue run across (nearly) the whole caption.
        const QImage seen = link->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int textWidth = link->fontMetrics().horizontalAdvance(link->text());
        int longestRun = 0;
        for (int y = 0; y < seen.height(); ++y) {
            int run = 0;
            for (int x = 0; x < seen.width(); ++x) {
                run = isBlue(seen.pixel(x, y)) ? run + 1 : 0;
                longestRun = qMax(longestRun, run);
            }
        }
        QVERIFY2(longestRun >= textWidth * 9 / 10, qPrintable(QString::number(longestRun)));
    }

    void linksOpenThroughDesktop()
    {
        UrlRecorder recorder;
        for (const char *scheme : { "http", "https", "mailto" })
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
        frmAbout &about = shownActive<frmAbout>();
        QTest::mouseClick(about.lblURL, Qt::LeftButton, {}, QPoint(10, 8));
        QTest::mouseClick(about.lblEmail, Qt::LeftButton, {}, QPoint(10, 8));
        QTest::mouseClick(about.lblURL, Qt::LeftButton, {}, QPoint(30, 8));
        // Pressed on the link but released off it: no click.
        QTest::mousePress(about.lblEmail, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(about.lblEmail, Qt::LeftButton, {}, QPoint(5, -40));
        for (const char *scheme : { "http", "https", "mailto" })
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

        const QList<QUrl> expected { QUrl(WebUrl), QUrl(QStringLiteral("mailto:") + Email), QUrl(WebUrl) };
        QCOMPARE(recorder.opened, expected);
        QVERIFY(isLoaded<frmAbout>());
        QVERIFY(about.isVisible());
    }

    void aboutClosing_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("menuShown");
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << true;
        QTest::newRow("OK clicked") << 0 << true;
        QTest::newRow("close box") << -1 << false;
    }

    void aboutClosing()
    {
        QFETCH(int, how);
        QFETCH(bool, menuShown);
        QVERIFY(!isLoaded<frmMenu>());
        TestSupport::whenModal<frmAbout>([&](frmAbout &about) {
            about.activateWindow();
            if (how > 0)
                QTest::keyClick(
                    QApplication::focusWidget() ? QApplication::focusWidget() : &about, Qt::Key(how));
            else if (how == 0)
                QTest::mouseClick(about.cmdOK, Qt::LeftButton);
            else
                about.close();
        });
        form<frmAbout>().Show(Form::Modal);
        QVERIFY(!isLoaded<frmAbout>());
        QCOMPARE(isLoaded<frmMenu>(), menuShown);
        if (menuShown)
            QVERIFY(form<frmMenu>().isVisible());
    }

    void aboutOpenedFromMenuIsModal()
    {
        frmMenu &menu = shownActive<frmMenu>();
        bool modal = false;
        TestSupport::whenModal<frmAbout>([&](frmAbout &about) {
            modal = about.windowModality() == Qt::ApplicationModal;
            TestSupport::pressEsc(&about);
        });
        menu.menitmAbout->trigger();
        QVERIFY(modal);
        QVERIFY(!isLoaded<frmAbout>());
        QVERIFY(menu.isVisible());
    }
};

QTEST_MAIN(tst_helpabout)
#include "tst_helpabout.moc"
