#include "TestFiles.h"
#include "platform/x11/Desktop.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The desktop's opener is stood in for by a script named xdg-open that writes down its
// arguments.
class TestDesktop : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_path;

    QString record() const { return m_dir.path() + "/arguments"; }
    QByteArray heard() const { return readFile(record()); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString script =
            writeFile(m_dir.path() + "/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" +
                                                      QFile::encodeName(record()) +
                                                      "'\ncase \"$1\" in *fail*) exit 1;; esac\n");
        QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ':' + m_path);
    }
    void cleanupTestCase() { qputenv("PATH", m_path); }
    void init() { QFile::remove(record()); }

    // An absolute, encoded address reaches the opener byte for byte, which says whether it took
    // it; anything else is refused and nothing is started.
    void openUrl_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<bool>("opened");
        row("percent-encoded hyphen and at sign",
            "https://www.example.org/cgi-bin/webscr?a=b%40c&bn=PP%2dX&charset=UTF%2d8"_ba, true);
        row("mail", "mailto:feedback@vexilo.org"_ba, true);
        row("file", "file:///tmp/Vexilo.app/Contents/Resources/ja.lproj/help.html"_ba, true);
        row("no program for it", "https://fail.example.org/"_ba, true);
        row("an option", "--help"_ba, false);
        row("relative path", "help.html"_ba, false);
        row("blank inside", "file:///tmp/a b.html"_ba, false);
        row("line break", "https://example.org/\nfile:///etc/passwd"_ba, false);
        row("not encoded", "file:///tmp/é.html"_ba, false);
        row("empty", QByteArray(), false);
    }
    void openUrl()
    {
        QFETCH(QByteArray, url);
        QFETCH(bool, opened);
        std::optional<bool> taken;
        QCOMPARE(Desktop::openUrl(url, [&taken](bool t) { taken = t; }), opened);
        QTRY_VERIFY(taken);
        QCOMPARE(*taken, opened && !url.contains("fail"));
        // After a refusal, the next address opened is the first the opener hears.
        const QByteArray expected = (opened ? url : "mailto:next@vexilo.org"_ba) + '\n';
        QVERIFY(opened || Desktop::openUrl(expected.chopped(1)));
        QTRY_COMPARE(heard(), expected);
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
