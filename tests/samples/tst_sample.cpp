#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/preferences/PreferencesStore.h"

#include <QProcess>
#include <QTest>

namespace {

const QString kIdentifier = QStringLiteral("org.vexilo.test.Gadget");

} // namespace

class TestSample : public QObject {
    Q_OBJECT

private slots:
    void launch_data()
    {
        QTest::addColumn<QString>("languages"); // the bundle's .lproj folders
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("stored"); // AppleLanguages of the bundle's domain
        QTest::addColumn<QString>("languageVariable");
        QTest::addColumn<QString>("expected");
        const char *codes = "en fr de es";
        row("argument, over stored and LANGUAGE", codes, "-AppleLanguages (fr)", "de", "es", "fr");
        row("stored, over LANGUAGE", codes, "", "de", "fr", "de");
        row("LANGUAGE", codes, "", "", "es", "es");
        row("code the bundle lacks: next preference", codes, "-AppleLanguages (ja)", "", "ja:de:en",
            "de");
        row("classic folder for fr", "English French German", "-AppleLanguages (fr)", "", "de",
            "French");
        row("no localisations", "", "-AppleLanguages (fr)", "", "fr", "none");
    }

    // The sample started inside a bundle prints the localisation it chose, then quits cleanly on
    // SIGTERM, the way Vexilo quits applications.
    void launch()
    {
        QFETCH(QString, languages);
        QFETCH(QString, arguments);
        QFETCH(QString, stored);
        QFETCH(QString, languageVariable);
        TestEnvironment environment;
        const QString bundle = BundleBuilder(environment.applicationsDirectory() + "/Gadget.app")
                                   .identifier(kIdentifier)
                                   .executable("Gadget")
                                   .languages(words(languages))
                                   .write();
        if (!stored.isEmpty())
            QVERIFY(PreferencesStore(environment.preferencesDirectory())
                        .setValue(kIdentifier, "AppleLanguages", QVariantList{stored}));

        TestEnvironment::setLanguage("C", languageVariable); // inherited by the sample
        QProcess process;
        process.start(bundle + "/Contents/MacOS/Gadget", words(arguments));
        QVERIFY(process.waitForStarted());
        QByteArray output;
        while (!output.contains('\n') && process.waitForReadyRead(60000))
            output += process.readAllStandardOutput();
        process.terminate();
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(output.startsWith("language: "), process.readAllStandardError().constData());
        QTEST(QString::fromUtf8(output.mid(10)).trimmed(), "expected");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }
};

QTEST_MAIN(TestSample)
#include "tst_sample.moc"
