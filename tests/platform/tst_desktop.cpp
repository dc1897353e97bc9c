#include "Desktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// The desktop's opener is stood in for by a script named xdg-open that writes down its
// arguments.
class TestDesktop : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_path;

    QString record() const { return m_dir.path() + "/arguments"; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile script(m_dir.path() + "/xdg-open");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\n"
                     "mv \"$0.tmp\" \"" +
                     QFile::encodeName(record()) + "\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ':' + m_path);
    }
    void cleanupTestCase() { qputenv("PATH", m_path); }
    void init() { QFile::remove(record()); }

    void addressReachesTheOpenerByteForByte_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::newRow("percent-encoded hyphen and at sign")
            << "https://www.example.org/cgi-bin/webscr?a=b%40c&bn=PP%2dX&charset=UTF%2d8"_ba;
        QTest::newRow("mail") << "mailto:feedback@vexilo.org"_ba;
        QTest::newRow("file") << "file:///tmp/Vexilo.app/Contents/Resources/ja.lproj/help.html"_ba;
    }
    void addressReachesTheOpenerByteForByte()
    {
        QFETCH(QByteArray, url);
        QVERIFY(Desktop::openUrl(url));
        QTRY_VERIFY(QFile::exists(record()));
        QFile file(record());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), url + '\n');
    }

    void whatIsNoAbsoluteUrlIsRefused_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::newRow("an option") << "--help"_ba;
        QTest::newRow("relative path") << "help.html"_ba;
        QTest::newRow("blank inside") << "file:///tmp/a b.html"_ba;
        QTest::newRow("line break") << "https://example.org/\nfile:///etc/passwd"_ba;
        QTest::newRow("not encoded") << "file:///tmp/é.html"_ba;
        QTest::newRow("empty") << QByteArray();
    }
    void whatIsNoAbsoluteUrlIsRefused()
    {
        QFETCH(QByteArray, url);
        QVERIFY(!Desktop::openUrl(url));
        QTest::qWait(100);
        QVERIFY(!QFile::exists(record()));
    }

    void offScreenHasNoTranslucency() { QVERIFY(!Desktop::hasCompositingManager()); }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
