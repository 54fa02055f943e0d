// The README's gallery is what the program draws today: the picture tool renders every pattern again
// and each must match the committed picture pixel for pixel.
#include <QtTest>

class tst_gallery : public QObject
{
    Q_OBJECT
    QDir m_committed;
    QTemporaryDir m_fresh;
    QSize m_size; // of the full-screen pictures

private slots:
    void initTestCase()
    {
        m_committed = QDir(qEnvironmentVariable("QRBL_TEST_SOURCE_DIR") + QStringLiteral("/../docs/gallery"));
        m_size = QImage(m_committed.filePath(QStringLiteral("boxes.png"))).size();
        QVERIFY2(!m_size.isEmpty(), qPrintable(m_committed.path()));
        QProcess tool;
        tool.start(qEnvironmentVariable("QRBL_RENDER"),
            { QStringLiteral("--size"), QStringLiteral("%1x%2").arg(m_size.width()).arg(m_size.height()),
                QStringLiteral("--out"), m_fresh.path() });
        QVERIFY(tool.waitForFinished(120000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    }

    void patternsArePixelIdentical_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList fresh = QDir(m_fresh.path()).entryList({ QStringLiteral("*.png") });
        QCOMPARE(fresh, m_committed.entryList({ QStringLiteral("*.png") }));
        // Windows follow the installed fonts; only the full-screen pictures are the same everywhere.
        for (const QString &name : fresh)
            if (QImage(m_committed.filePath(name)).size() == m_size)
                QTest::newRow(qPrintable(name)) << name;
    }

    void patternsArePixelIdentical()
    {
        QFETCH(QString, name);
        const QImage committed = QImage(m_committed.filePath(name)).convertToFormat(QImage::Format_RGB32);
        const QImage fresh
            = QImage(QDir(m_fresh.path()).filePath(name)).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(
            fresh == committed, "differs: if the change is meant, `make gallery` and commit the pictures");
    }
};

QTEST_MAIN(tst_gallery)
#include "tst_gallery.moc"
