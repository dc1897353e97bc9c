#include "Bundle.h"
#include "BundleBuilder.h"
#include "PreferencesStore.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QTest>

namespace {

const QString kIdentifier = QStringLiteral("org.vexilo.test.Gadget");

QStringList words(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

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
        const QString codes = QStringLiteral("en fr de es");
        QTest::newRow("argument, over stored and LANGUAGE") << codes << "-AppleLanguages (fr)"
                                                            << "de"
                                                            << "es"
                                                            << "fr";
        QTest::newRow("stored, over LANGUAGE") << codes << ""
                                               << "de"
                                               << "fr"
                                               << "de";
        QTest::newRow("LANGUAGE") << codes << ""
                                  << ""
                                  << "es"
                                  << "es";
        QTest::newRow("code the bundle lacks: next preference") << codes << "-AppleLanguages (ja)"
                                                                << ""
                                                                << "ja:de:en"
                                                                << "de";
        QTest::newRow("classic folder for fr") << "English French German"
                                               << "-AppleLanguages (fr)"
                                               << ""
                                               << "de"
                                               << "French";
        QTest::newRow("no localisations") << ""
                                          << "-AppleLanguages (fr)"
                                          << ""
                                          << "fr"
                                          << "none";
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
        QVERIFY(environment.isValid());
        const QString bundle =
            BundleBuilder(environment.applicationsDirectory() + QStringLiteral("/Gadget.app"))
                .identifier(kIdentifier)
                .executable(QStringLiteral("Gadget"))
                .languages(words(languages))
                .write();
        if (!stored.isEmpty())
            QVERIFY(
                PreferencesStore(environment.preferencesDirectory())
                    .setValue(kIdentifier, QStringLiteral("AppleLanguages"), QVariantList{stored}));

        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        variables.remove(QStringLiteral("LC_ALL"));
        variables.remove(QStringLiteral("LC_MESSAGES"));
        variables.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        variables.insert(QStringLiteral("LANGUAGE"), languageVariable);
        variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess process;
        process.setProcessEnvironment(variables);
        process.start(bundle + QStringLiteral("/Contents/MacOS/Gadget"), words(arguments));
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

    void demoFolderHoldsTheDeclaredBundles()
    {
        const QDir demo(QStringLiteral(VEXILO_TEST_BUNDLE "/../demo/Applications"));
        // Vexilo itself sits among them through a link, so it can open the demo on itself.
        QCOMPARE(QFileInfo(demo.filePath(QStringLiteral("Vexilo.app"))).canonicalFilePath(),
                 QFileInfo(QStringLiteral(VEXILO_TEST_BUNDLE)).canonicalFilePath());
        // Folder name, identifier, localisations (those in "Resources Disabled" included).
        const QStringList declared[] = {
            {"Atlas", "org.vexilo.demo.Atlas", "en fr de es it ja zh_TW pt_BR"},
            {"Lexicon", "org.vexilo.demo.Lexicon", "English French German Japanese Spanish"},
            {"Monolog", "org.vexilo.demo.Monolog", "de"},
            {"Plain", "org.vexilo.demo.Plain", ""},
            {"Phoenix", "org.vexilo.demo.Phoenix", "en fr it nl"},
            {"Anonymous", "", "en es"},
            {"compass", "org.vexilo.demo.compass", "en fr de es it ja ko"},
            {"Beacon", "org.vexilo.demo.Beacon", "en pt_PT pt_BR zh_CN zh_TW ko"},
            {"Zephyr", "org.vexilo.demo.Zephyr", "en ru uk pl cs hu sv da nb fi nl tr el ar he"},
            {"Meridian", "org.vexilo.demo.Meridian", "en en_GB en_AU fr fr_CA es es_MX"},
            {"Écho", "org.vexilo.demo.Echo", "fr en"}};
        QCOMPARE(demo.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
                 qsizetype(std::size(declared)) + 1);
        for (const QStringList &expected : declared) {
            const QString path = demo.filePath(expected[0] + QStringLiteral(".app"));
            const auto bundle = Bundle::bundleWithPath(path);
            QVERIFY2(bundle, qPrintable(path));
            QCOMPARE(bundle->bundleIdentifier(), expected[1]);
            QVERIFY(QFileInfo(bundle->executablePath()).isExecutable());
            QStringList languages = bundle->localizations() +
                                    QDir(path + QStringLiteral("/Contents/Resources Disabled"))
                                        .entryList({QStringLiteral("*.lproj")}, QDir::Dirs)
                                        .replaceInStrings(QStringLiteral(".lproj"), QString());
            QStringList wanted = words(expected[2]);
            languages.sort();
            wanted.sort();
            QCOMPARE(languages, wanted);
        }
    }
};

QTEST_MAIN(TestSample)
#include "tst_sample.moc"
