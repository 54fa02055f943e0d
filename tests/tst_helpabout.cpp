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

    // The picture a label like this one gives the text with plain line breaks for its CR LF.
    QImage asPlainLines(QLabel *like, const QString &text)
    {
        QLabel plain(shown(text));
        plain.setWordWrap(like->wordWrap());
        plain.setFont(like->font());
        plain.setAlignment(like->alignment());
        plain.setPalette(like->palette());
        plain.resize(like->size());
        return plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
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

    void layout_data()
    {
        QTest::addColumn<bool>("help");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        const auto row = [](bool help, const char *name, QRect twips) {
            QTest::newRow(qPrintable(QString::fromLatin1(help ? "help " : "about ") + QLatin1String(name)))
                << help << QString::fromLatin1(name) << twips;
        };
        row(true, "lblTitle", { 120, 120, 7095, 735 });
        row(true, "lstHelpIndex", { 120, 960, 1935, 2790 });
        row(true, "txtHelp", { 2160, 960, 5055, 2775 });
        row(true, "cmdOK", { 6000, 3840, 1215, 495 });
        row(false, "picIcon", { 240, 240, 540, 540 });
        row(false, "lblTitle", { 1050, 240, 3885, 480 });
        row(false, "lblVersion", { 1050, 780, 3885, 225 });
        row(false, "lblDescription", { 1050, 1125, 3885, 810 });
        row(false, "lblURL", { 1080, 2040, 1575, 255 });
        row(false, "lblEmail", { 1080, 2280, 2295, 255 });
        row(false, "lblDisclaimer", { 255, 2880, 3870, 1065 });
        row(false, "cmdOK", { 4200, 3000, 1260, 435 });
    }

    void layout()
    {
        QFETCH(bool, help);
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QWidget &window = help ? static_cast<QWidget &>(loadedAtSmallFont<frmHelp>())
                               : static_cast<QWidget &>(loadedAtSmallFont<frmAbout>());
        QCOMPARE(inTwips(QRect(QPoint(), window.size())),
            help ? QRect(0, 0, 7335, 4455) : QRect(0, 0, 5730, 3975));
        QCOMPARE(inTwips(window.findChild<QWidget *>(name)->geometry()), twips);
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
        const QImage seen = help.lblTitle->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(seen, asPlainLines(help.lblTitle, title));
        const QRgb background = seen.pixel(0, 0);
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

        frmHelp &help = shownActive<frmHelp>();
        QListWidget *list = help.lstHelpIndex;
        // By mouse, starting from a neighbour's text so that the click must replace it.
        const int neighbour = position == 0 ? 1 : position - 1;
        clickRow(list, neighbour);
        QCOMPARE(help.txtHelp->toPlainText(), shown(frmHelp::topicText(neighbour)));
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

    // ---- about box ----

    void aboutNothingClipped()
    {
        frmAbout &about = form<frmAbout>();
        const QList<QLabel *> stack { about.lblTitle, about.lblVersion, about.lblDescription, about.lblURL,
            about.lblEmail };
        const auto textBottom = [](QLabel *l) {
            return l->y() + (l->wordWrap() ? l->heightForWidth(l->width()) : l->fontMetrics().height());
        };
        for (int i = 0; i < stack.size(); ++i) {
            QLabel *label = stack[i];
            QVERIFY2(textBottom(label) <= label->y() + label->height(), qPrintable(label->objectName()));
            QVERIFY(
                label->wordWrap() || label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
            QVERIFY(label->geometry().right() < about.width());
            // Grown labels keep their place, and no text runs into the next label or the separator.
            QVERIFY(textBottom(label) <= (i + 1 < stack.size() ? stack[i + 1]->y() : 179));
        }
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
        QCOMPARE(about.lblDescription->grab().toImage().convertToFormat(QImage::Format_RGB32),
            asPlainLines(about.lblDescription, description));
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

    void closing_data()
    {
        QTest::addColumn<bool>("help");
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("menuShown");
        QTest::newRow("help: OK shows the main window") << true << 0 << true;
        QTest::newRow("help: close box does not") << true << -1 << false;
        QTest::newRow("about: Enter") << false << int(Qt::Key_Return) << true;
        QTest::newRow("about: keypad Enter") << false << int(Qt::Key_Enter) << true;
        QTest::newRow("about: Esc") << false << int(Qt::Key_Escape) << true;
        QTest::newRow("about: OK clicked") << false << 0 << true;
        QTest::newRow("about: close box") << false << -1 << false;
    }

    void closing()
    {
        QFETCH(bool, help);
        QFETCH(int, how);
        QFETCH(bool, menuShown);
        QVERIFY(!isLoaded<frmMenu>());
        const auto act = [how](Form &window, QPushButton *ok) {
            window.activateWindow();
            if (how > 0)
                QTest::keyClick(
                    QApplication::focusWidget() ? QApplication::focusWidget() : &window, Qt::Key(how));
            else if (how == 0)
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                window.close();
        };
        if (help) {
            TestSupport::whenModal<frmHelp>([&](frmHelp &w) { act(w, w.cmdOK); });
            form<frmHelp>().Show(Form::Modal);
        } else {
            TestSupport::whenModal<frmAbout>([&](frmAbout &w) { act(w, w.cmdOK); });
            form<frmAbout>().Show(Form::Modal);
        }
        QVERIFY(!isLoaded<frmHelp>() && !isLoaded<frmAbout>());
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
