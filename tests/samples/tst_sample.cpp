#include "Bundle.h"
#include "BundleBuilder.h"
#include "PreferencesStore.h"
#include "SampleIcon.h"
#include "SampleSetup.h"
#include "StringsTable.h"
#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTest>
#include <filesystem>

namespace {

const QString kIdentifier = QStringLiteral("org.vexilo.test.Gadget");

QString demoDirectory()
{
    return QDir::cleanPath(QStringLiteral(VEXILO_TEST_BUNDLE "/../demo/Applications"));
}

QByteArray localizable(const QString &greeting, const QString &opened)
{
    return QStringLiteral("\"Greeting\" = \"%1\";\n\"Opened in %@\" = \"%2\";\n")
        .arg(greeting, opened)
        .toUtf8();
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// Localisation folder names directly inside `folder`, without ".lproj".
QStringList lprojNames(const QString &folder)
{
    QStringList names = QDir(folder).entryList({QStringLiteral("*.lproj")}, QDir::Dirs);
    for (QString &name : names)
        name.chop(6);
    return names;
}

QHash<QString, QString> readTable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return StringsTable::parse(file.readAll()).value_or(QHash<QString, QString>());
}

struct Outcome {
    bool started = false;
    QString line; // the first line printed
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QString errors;
};

// Starts the sample, waits for its first line, then ends it with SIGTERM the way Vexilo quits
// applications. `languages` becomes LANGUAGE; the locale is otherwise plain English.
Outcome runSample(const QString &program, const QStringList &arguments, const QString &languages)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!languages.isEmpty())
        environment.insert(QStringLiteral("LANGUAGE"), languages);

    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Outcome outcome;
    outcome.started = process.waitForStarted();
    if (!outcome.started)
        return outcome;

    QByteArray output;
    const QDeadlineTimer deadline(60000);
    while (!output.contains('\n') && process.state() == QProcess::Running &&
           !deadline.hasExpired()) {
        process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        output += process.readAllStandardOutput();
    }
    process.terminate();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    }
    output += process.readAllStandardOutput();
    outcome.line = QString::fromUtf8(output).section(QLatin1Char('\n'), 0, 0);
    outcome.status = process.exitStatus();
    outcome.exitCode = process.exitCode();
    outcome.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return outcome;
}

} // namespace

class TestSample : public QObject {
    Q_OBJECT

private slots:
    void languagesFromArguments_data();
    void languagesFromArguments();
    void bundlePathForExecutable_data();
    void bundlePathForExecutable();
    void resolve_data();
    void resolve();
    void iconPath_data();
    void iconPath();
    void renderIcon_data();
    void renderIcon();
    void renderIconRefuses_data();
    void renderIconRefuses();
    void writeIconCommand_data();
    void writeIconCommand();
    void launch_data();
    void launch();
    void demoFolder();
    void demoBundles_data();
    void demoBundles();
    void demoBundlesOpen_data();
    void demoBundlesOpen();
};

void TestSample::languagesFromArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");

    const QString option = QStringLiteral("-AppleLanguages");
    QTest::newRow("one code") << QStringList{QStringLiteral("/x/Gadget"), option,
                                             QStringLiteral("(fr)")}
                              << QStringList{QStringLiteral("fr")};
    QTest::newRow("list") << QStringList{option, QStringLiteral("(fr, de)")}
                          << QStringList{QStringLiteral("fr"), QStringLiteral("de")};
    QTest::newRow("no parentheses")
        << QStringList{option, QStringLiteral("ja")} << QStringList{QStringLiteral("ja")};
    QTest::newRow("blanks inside") << QStringList{option, QStringLiteral("( zh_TW ,en )")}
                                   << QStringList{QStringLiteral("zh_TW"), QStringLiteral("en")};
    QTest::newRow("quoted elements") << QStringList{option, QStringLiteral("(\"en-GB\", fr)")}
                                     << QStringList{QStringLiteral("en-GB"), QStringLiteral("fr")};
    QTest::newRow("classic name") << QStringList{option, QStringLiteral("(French)")}
                                  << QStringList{QStringLiteral("French")};
    QTest::newRow("after other options")
        << QStringList{QStringLiteral("-NSDocumentRevisionsDebugMode"), QStringLiteral("YES"),
                       option, QStringLiteral("(es)")}
        << QStringList{QStringLiteral("es")};
    QTest::newRow("first occurrence counts")
        << QStringList{option, QStringLiteral("(it)"), option, QStringLiteral("(nl)")}
        << QStringList{QStringLiteral("it")};
    QTest::newRow("absent") << QStringList{QStringLiteral("/x/Gadget"), QStringLiteral("(fr)")}
                            << QStringList{};
    QTest::newRow("option without value")
        << QStringList{QStringLiteral("/x/Gadget"), option} << QStringList{};
    QTest::newRow("empty list") << QStringList{option, QStringLiteral("()")} << QStringList{};
    QTest::newRow("only separators")
        << QStringList{option, QStringLiteral("( , )")} << QStringList{};
    QTest::newRow("option name is case-sensitive")
        << QStringList{QStringLiteral("-applelanguages"), QStringLiteral("(fr)")} << QStringList{};
}

void TestSample::languagesFromArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    QCOMPARE(SampleSetup::languagesFromArguments(arguments), expected);
}

void TestSample::bundlePathForExecutable_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("expected");

    QTest::newRow("inside a bundle") << "/Apps/Gadget.app/Contents/MacOS/Gadget"
                                     << "/Apps/Gadget.app";
    QTest::newRow("blank in the name") << "/Apps/My Gadget.app/Contents/MacOS/Gadget"
                                       << "/Apps/My Gadget.app";
    QTest::newRow("plain program") << "/usr/bin/gadget" << QString();
    QTest::newRow("folder is not a bundle") << "/Apps/Gadget/Contents/MacOS/Gadget" << QString();
    QTest::newRow("only the extension") << "/Apps/.app/Contents/MacOS/Gadget" << QString();
    QTest::newRow("no Contents") << "/Apps/Gadget.app/MacOS/Gadget" << QString();
    QTest::newRow("deeper folder") << "/Apps/Gadget.app/Contents/MacOS/bin/Gadget" << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestSample::bundlePathForExecutable()
{
    QFETCH(QString, executable);
    QFETCH(QString, expected);
    QCOMPARE(SampleSetup::bundlePathForExecutable(executable), expected);
}

void TestSample::resolve_data()
{
    QTest::addColumn<QStringList>("languages");
    QTest::addColumn<QVariantMap>("files"); // path below Contents -> contents
    QTest::addColumn<QString>("plainName"); // Info.plist CFBundleName
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QVariant>("stored"); // AppleLanguages value; invalid for none
    QTest::addColumn<QStringList>("preferred");
    QTest::addColumn<QString>("localization");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("greeting");
    QTest::addColumn<QString>("openedLine");

    const QStringList enFr{QStringLiteral("en"), QStringLiteral("fr")};
    const QVariantMap translated{
        {QStringLiteral("Resources/fr.lproj/Localizable.strings"),
         localizable(QStringLiteral("Bonjour !"), QStringLiteral("Ouvert en %@"))},
        {QStringLiteral("Resources/fr.lproj/InfoPlist.strings"),
         QByteArray("\"CFBundleName\" = \"Gadget en fran\xc3\xa7"
                    "ais\";\n")},
        {QStringLiteral("Resources/en.lproj/Localizable.strings"),
         localizable(QStringLiteral("Hi there!"), QStringLiteral("Started in %@"))},
    };
    const QString french = QStringLiteral("Gadget en français");
    const QStringList argumentFr{QStringLiteral("-AppleLanguages"), QStringLiteral("(fr)")};
    const QVariant none;

    QTest::newRow("argument") << enFr << translated << "Gadget" << argumentFr << none
                              << QStringList{QStringLiteral("en")} << "fr" << french << "Bonjour !"
                              << "Ouvert en fr";
    QTest::newRow("stored list, first element")
        << enFr << translated << "Gadget" << QStringList{}
        << QVariant(QVariantList{QStringLiteral("fr"), QStringLiteral("en")})
        << QStringList{QStringLiteral("en")} << "fr" << french << "Bonjour !"
        << "Ouvert en fr";
    QTest::newRow("stored as a single string")
        << enFr << translated << "Gadget" << QStringList{} << QVariant(QStringLiteral("fr"))
        << QStringList{QStringLiteral("en")} << "fr" << french << "Bonjour !"
        << "Ouvert en fr";
    QTest::newRow("argument wins over stored")
        << enFr << translated << "Gadget" << argumentFr
        << QVariant(QVariantList{QStringLiteral("en")}) << QStringList{QStringLiteral("en")} << "fr"
        << french << "Bonjour !"
        << "Ouvert en fr";
    QTest::newRow("stored wins over preferred")
        << enFr << translated << "Gadget" << QStringList{}
        << QVariant(QVariantList{QStringLiteral("en")}) << QStringList{QStringLiteral("fr")} << "en"
        << "Gadget"
        << "Hi there!"
        << "Started in en";
    QTest::newRow("stored value of another type is ignored")
        << enFr << translated << "Gadget" << QStringList{} << QVariant(qlonglong(7))
        << QStringList{QStringLiteral("fr")} << "fr" << french << "Bonjour !"
        << "Ouvert en fr";
    QTest::newRow("missing code falls to the preferred languages")
        << enFr << translated << "Gadget"
        << QStringList{QStringLiteral("-AppleLanguages"), QStringLiteral("(ja)")} << none
        << QStringList{QStringLiteral("fr"), QStringLiteral("en")} << "fr" << french << "Bonjour !"
        << "Ouvert en fr";
    QTest::newRow("no tables: English texts, plain name")
        << enFr << QVariantMap{} << "Gadget Plain" << argumentFr << none
        << QStringList{QStringLiteral("en")} << "fr"
        << "Gadget Plain"
        << "Hello!"
        << "Opened in fr";
    QTest::newRow("corrupt tables")
        << enFr
        << QVariantMap{{QStringLiteral("Resources/fr.lproj/Localizable.strings"),
                        QByteArray("\"Greeting\" = \"Bonj")},
                       {QStringLiteral("Resources/fr.lproj/InfoPlist.strings"),
                        QByteArray("bplist00\xff\xff garbage")}}
        << "Gadget Plain" << argumentFr << none << QStringList{QStringLiteral("en")} << "fr"
        << "Gadget Plain"
        << "Hello!"
        << "Opened in fr";
    QTest::newRow("empty translations fall back")
        << enFr
        << QVariantMap{{QStringLiteral("Resources/fr.lproj/Localizable.strings"),
                        localizable(QString(), QString())}}
        << "Gadget Plain" << argumentFr << none << QStringList{QStringLiteral("en")} << "fr"
        << "Gadget Plain"
        << "Hello!"
        << "Opened in fr";
    QTest::newRow("no name at all: the folder's")
        << enFr << QVariantMap{} << QString() << argumentFr << none
        << QStringList{QStringLiteral("en")} << "fr"
        << "Gadget"
        << "Hello!"
        << "Opened in fr";
    QTest::newRow("classic folder for a code")
        << QStringList{QStringLiteral("English"), QStringLiteral("French")}
        << QVariantMap{{QStringLiteral("Resources/French.lproj/Localizable.strings"),
                        localizable(QStringLiteral("Bonjour !"), QStringLiteral("Ouvert en %@"))}}
        << "Gadget" << argumentFr << none << QStringList{QStringLiteral("en")} << "French"
        << "Gadget"
        << "Bonjour !"
        << "Ouvert en French";
    QTest::newRow("no localisations")
        << QStringList{} << QVariantMap{} << "Gadget" << argumentFr << none
        << QStringList{QStringLiteral("fr")} << QString() << "Gadget"
        << "Hello!"
        << "Opened without a localisation";
}

void TestSample::resolve()
{
    QFETCH(QStringList, languages);
    QFETCH(QVariantMap, files);
    QFETCH(QString, plainName);
    QFETCH(QStringList, arguments);
    QFETCH(QVariant, stored);
    QFETCH(QStringList, preferred);

    TestEnvironment environment;
    QVERIFY(environment.isValid());
    BundleBuilder builder(environment.applicationsDirectory() + QStringLiteral("/Gadget.app"));
    builder.identifier(kIdentifier).languages(languages);
    if (!plainName.isEmpty())
        builder.info(QStringLiteral("CFBundleName"), plainName);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        builder.file(it.key(), it.value().toByteArray());
    const QString bundle = builder.write();

    PreferencesStore store(environment.preferencesDirectory());
    if (stored.isValid())
        QVERIFY(store.setValue(kIdentifier, QStringLiteral("AppleLanguages"), stored));

    const SampleSetup::Texts texts = SampleSetup::resolve(bundle, arguments, store, preferred);
    QTEST(texts.localization, "localization");
    QTEST(texts.title, "title");
    QTEST(texts.greeting, "greeting");
    QTEST(texts.openedLine, "openedLine");
}

void TestSample::iconPath_data()
{
    QTest::addColumn<QString>("declared"); // CFBundleIconFile; empty for none
    QTest::addColumn<QString>("file");     // file written below Contents
    QTest::addColumn<QString>("expected"); // below Contents; empty for no icon

    QTest::newRow("name without extension") << "Gadget"
                                            << "Resources/Gadget.icns"
                                            << "Resources/Gadget.icns";
    QTest::newRow("name with extension") << "Gadget.icns"
                                         << "Resources/Gadget.icns"
                                         << "Resources/Gadget.icns";
    QTest::newRow("declared but missing") << "Gadget"
                                          << "Resources/Other.icns" << QString();
    QTest::newRow("none declared") << QString() << "Resources/Gadget.icns" << QString();
    QTest::newRow("path out of the bundle") << "../MacOS/Gadget"
                                            << "MacOS/Gadget" << QString();
}

void TestSample::iconPath()
{
    QFETCH(QString, declared);
    QFETCH(QString, file);
    QFETCH(QString, expected);

    TestEnvironment environment;
    BundleBuilder builder(environment.applicationsDirectory() + QStringLiteral("/Gadget.app"));
    builder.identifier(kIdentifier).languages({QStringLiteral("en")}).file(file, "icns");
    if (!declared.isEmpty())
        builder.info(QStringLiteral("CFBundleIconFile"), declared);
    const QString bundle = builder.write();

    const SampleSetup::Texts texts =
        SampleSetup::resolve(bundle, {}, PreferencesStore(environment.preferencesDirectory()), {});
    QCOMPARE(texts.iconPath,
             expected.isEmpty() ? QString() : bundle + QStringLiteral("/Contents/") + expected);
}

void TestSample::renderIcon_data()
{
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("size");

    QTest::newRow("blue A, full size") << "#2f6fd6"
                                       << "A" << 256;
    QTest::newRow("green accented letter") << "#27ae60" << QStringLiteral("É") << 128;
    QTest::newRow("red, small") << "#c0392b"
                                << "M" << 48;
    QTest::newRow("named colour, longer text") << "darkorange"
                                               << "Phoenix" << 32;
}

void TestSample::renderIcon()
{
    QFETCH(QString, color);
    QFETCH(QString, letter);
    QFETCH(int, size);

    const QImage icon = SampleIcon::render(color, letter, size);
    QCOMPARE(icon.size(), QSize(size, size));
    // Outside the rounded square the icon is transparent.
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(icon.pixel(size - 1, 0)), 0);

    // Beside the letter, the square shows the colour asked for (shaded, same hue).
    const QColor side = icon.pixelColor(size * 30 / 256, size / 2);
    QCOMPARE(side.alpha(), 255);
    QVERIFY2(qAbs(side.hsvHue() - QColor::fromString(color).hsvHue()) <= 8,
             qPrintable(side.name()));

    // The letter is drawn in white in the middle.
    bool white = false;
    for (int y = size * 3 / 8; y < size * 5 / 8 && !white; ++y) {
        for (int x = size * 3 / 8; x < size * 5 / 8 && !white; ++x) {
            const QColor c = icon.pixelColor(x, y);
            white = c.alpha() == 255 && c.red() > 235 && c.green() > 235 && c.blue() > 235;
        }
    }
    QVERIFY(white);
}

void TestSample::renderIconRefuses_data()
{
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("size");

    QTest::newRow("not a colour") << "#12345g"
                                  << "A" << 256;
    QTest::newRow("empty colour") << QString() << "A" << 256;
    QTest::newRow("empty letter") << "#2f6fd6" << QString() << 256;
    QTest::newRow("blank letter") << "#2f6fd6"
                                  << "  " << 256;
    QTest::newRow("too small") << "#2f6fd6"
                               << "A" << 8;
    QTest::newRow("too large") << "#2f6fd6"
                               << "A" << 100000;
}

void TestSample::renderIconRefuses()
{
    QFETCH(QString, color);
    QFETCH(QString, letter);
    QFETCH(int, size);
    QVERIFY(SampleIcon::render(color, letter, size).isNull());
}

void TestSample::writeIconCommand_data()
{
    QTest::addColumn<QStringList>("options"); // after the output path
    QTest::addColumn<int>("expectedSize");    // 0: refused, no file

    QTest::newRow("default size") << QStringList{QStringLiteral("#336699"), QStringLiteral("X")}
                                  << 256;
    QTest::newRow("given size") << QStringList{QStringLiteral("#336699"), QStringLiteral("X"),
                                               QStringLiteral("128")}
                                << 128;
    QTest::newRow("bad colour") << QStringList{QStringLiteral("blue-ish"), QStringLiteral("X")}
                                << 0;
    QTest::newRow("size not a number")
        << QStringList{QStringLiteral("#336699"), QStringLiteral("X"), QStringLiteral("big")} << 0;
    QTest::newRow("missing letter") << QStringList{QStringLiteral("#336699")} << 0;
}

void TestSample::writeIconCommand()
{
    QFETCH(QStringList, options);
    QFETCH(int, expectedSize);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("icon.png"));
    QProcess process;
    process.start(QStringLiteral(VEXILO_TEST_SAMPLE_EXECUTABLE),
                  QStringList{QStringLiteral("--write-icon"), png} + options);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    if (expectedSize == 0) {
        QVERIFY(process.exitCode() != 0);
        QVERIFY(!process.readAllStandardError().isEmpty());
        QVERIFY(!QFile::exists(png));
        return;
    }
    QCOMPARE(process.exitCode(), 0);
    const QImage image(png, "PNG");
    QCOMPARE(image.size(), QSize(expectedSize, expectedSize));
    QVERIFY(image.hasAlphaChannel());
}

void TestSample::launch_data()
{
    QTest::addColumn<QStringList>("languages");
    QTest::addColumn<bool>("withIdentifier");
    QTest::addColumn<bool>("inBundle");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("languageVariable");
    QTest::addColumn<QString>("expected");

    const QStringList codes{QStringLiteral("en"), QStringLiteral("fr"), QStringLiteral("de"),
                            QStringLiteral("es")};
    const QStringList classic{QStringLiteral("English"), QStringLiteral("French"),
                              QStringLiteral("German")};
    auto option = [](const char *value) {
        return QStringList{QStringLiteral("-AppleLanguages"), QLatin1String(value)};
    };

    QTest::newRow("argument (fr)")
        << codes << true << true << option("(fr)") << QStringList{} << "de"
        << "fr";
    QTest::newRow("argument list, first code")
        << codes << true << true << option("(de, fr)") << QStringList{} << "fr"
        << "de";
    QTest::newRow("argument without parentheses")
        << codes << true << true << option("es") << QStringList{} << "fr"
        << "es";
    QTest::newRow("stored de") << codes << true << true << QStringList{}
                               << QStringList{QStringLiteral("de")} << "fr"
                               << "de";
    QTest::newRow("argument wins over stored")
        << codes << true << true << option("(fr)") << QStringList{QStringLiteral("de")} << "es"
        << "fr";
    QTest::newRow("LANGUAGE es") << codes << true << true << QStringList{} << QStringList{} << "es"
                                 << "es";
    QTest::newRow("argument the bundle lacks")
        << codes << true << true << option("(ja)") << QStringList{} << "de:en"
        << "de";
    QTest::newRow("stored code the bundle lacks")
        << codes << true << true << QStringList{} << QStringList{QStringLiteral("ja")} << "es"
        << "es";
    QTest::newRow("classic folder for fr")
        << classic << true << true << option("(fr)") << QStringList{} << "de"
        << "French";
    QTest::newRow("classic folder from LANGUAGE")
        << classic << true << true << QStringList{} << QStringList{} << "de"
        << "German";
    QTest::newRow("no identifier")
        << codes << false << true << QStringList{} << QStringList{} << "fr"
        << "fr";
    QTest::newRow("no localisations")
        << QStringList{} << true << true << option("(fr)") << QStringList{} << "fr"
        << "none";
    QTest::newRow("not inside a bundle")
        << codes << true << false << option("(fr)") << QStringList{} << "fr"
        << "none";
}

void TestSample::launch()
{
    QFETCH(QStringList, languages);
    QFETCH(bool, withIdentifier);
    QFETCH(bool, inBundle);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, stored);
    QFETCH(QString, languageVariable);
    QFETCH(QString, expected);

    TestEnvironment environment;
    QVERIFY(environment.isValid());
    BundleBuilder builder(environment.applicationsDirectory() + QStringLiteral("/Gadget.app"));
    if (withIdentifier)
        builder.identifier(kIdentifier);
    builder.executable(QStringLiteral("Gadget")).languages(languages);
    for (const QString &language : languages) {
        builder.file(
            QStringLiteral("Resources/%1.lproj/Localizable.strings").arg(language),
            localizable(QStringLiteral("Greeting in ") + language, QStringLiteral("Opened in %@")));
    }
    const QString bundle = builder.write();

    QString program = bundle + QStringLiteral("/Contents/MacOS/Gadget");
    if (!inBundle) {
        const QString outside = environment.root() + QStringLiteral("/bin/gadget");
        QVERIFY(QDir().mkpath(QFileInfo(outside).path()));
        QVERIFY(QFile::copy(program, outside));
        program = outside;
    }
    if (!stored.isEmpty()) {
        PreferencesStore store(environment.preferencesDirectory());
        QVERIFY(store.setValue(kIdentifier, QStringLiteral("AppleLanguages"),
                               QVariant(stored).toList()));
    }

    const Outcome outcome = runSample(program, arguments, languageVariable);
    QVERIFY2(outcome.started, qPrintable(program));
    QVERIFY2(outcome.line == QStringLiteral("language: ") + expected,
             qPrintable(outcome.line + QLatin1Char('\n') + outcome.errors));
    // SIGTERM is a normal way out: the sample quits its event loop.
    QCOMPARE(outcome.status, QProcess::NormalExit);
    QCOMPARE(outcome.exitCode, 0);
}

void TestSample::demoFolder()
{
    const QString demo = demoDirectory();
    QVERIFY2(QFileInfo(demo).isDir(), qPrintable(demo + QStringLiteral(" was not built")));
    const QStringList expected{QStringLiteral("Anonymous.app"), QStringLiteral("Atlas.app"),
                               QStringLiteral("Beacon.app"),    QStringLiteral("Lexicon.app"),
                               QStringLiteral("Meridian.app"),  QStringLiteral("Monolog.app"),
                               QStringLiteral("Phoenix.app"),   QStringLiteral("Plain.app"),
                               QStringLiteral("Vexilo.app"),    QStringLiteral("Zephyr.app"),
                               QStringLiteral("compass.app"),   QStringLiteral("Écho.app")};
    QCOMPARE(sorted(QDir(demo).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System |
                                         QDir::Hidden)),
             sorted(expected));

    // Vexilo itself sits among them through a relative link, so the build tree can move.
    const QString link = demo + QStringLiteral("/Vexilo.app");
    QVERIFY(QFileInfo(link).isSymLink());
    std::error_code error;
    const std::filesystem::path target =
        std::filesystem::read_symlink(QFile::encodeName(link).toStdString(), error);
    QVERIFY(!error);
    QVERIFY(target.is_relative());
    QCOMPARE(QDir::cleanPath(demo + QLatin1Char('/') + QString::fromStdString(target.string())),
             QDir::cleanPath(QStringLiteral(VEXILO_TEST_BUNDLE)));
}

void TestSample::demoBundles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<QStringList>("languages"); // in Resources
    QTest::addColumn<QStringList>("disabled");  // in Resources Disabled
    QTest::addColumn<QString>("iconFile");      // as declared; empty for none
    QTest::addColumn<QVariantMap>("greetings"); // some lproj -> Greeting

    auto list = [](const char *words) {
        return QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    QTest::newRow("Atlas") << "Atlas"
                           << "org.vexilo.demo.Atlas" << list("en fr de es it ja zh_TW pt_BR")
                           << QStringList{} << "Atlas"
                           << QVariantMap{{"fr", "Bonjour !"},
                                          {"ja", QStringLiteral("こんにちは")},
                                          {"zh_TW", QStringLiteral("你好")},
                                          {"pt_BR", QStringLiteral("Olá!")}};
    QTest::newRow("Lexicon") << "Lexicon"
                             << "org.vexilo.demo.Lexicon"
                             << list("English French German Japanese Spanish") << QStringList{}
                             << "Lexicon.icns"
                             << QVariantMap{{"English", "Hello!"},
                                            {"German", "Hallo!"},
                                            {"Spanish", QStringLiteral("¡Hola!")}};
    QTest::newRow("Monolog") << "Monolog"
                             << "org.vexilo.demo.Monolog" << list("de") << QStringList{}
                             << "Monolog" << QVariantMap{{"de", "Hallo!"}};
    QTest::newRow("Plain") << "Plain"
                           << "org.vexilo.demo.Plain" << QStringList{} << QStringList{} << QString()
                           << QVariantMap{};
    QTest::newRow("Phoenix") << "Phoenix"
                             << "org.vexilo.demo.Phoenix" << list("en fr") << list("it nl")
                             << "Phoenix" << QVariantMap{{"it", "Ciao!"}, {"nl", "Hallo!"}};
    QTest::newRow("Anonymous") << "Anonymous" << QString() << list("en es") << QStringList{}
                               << "Anonymous" << QVariantMap{{"es", QStringLiteral("¡Hola!")}};
    QTest::newRow("compass") << "compass"
                             << "org.vexilo.demo.compass" << list("en fr de es it ja ko")
                             << QStringList{} << "compass" << QVariantMap{{"it", "Ciao!"}};
    QTest::newRow("Beacon") << "Beacon"
                            << "org.vexilo.demo.Beacon" << list("en pt_PT pt_BR zh_CN zh_TW ko")
                            << QStringList{} << "Beacon"
                            << QVariantMap{{"ko", QStringLiteral("안녕하세요!")}};
    QTest::newRow("Zephyr") << "Zephyr"
                            << "org.vexilo.demo.Zephyr"
                            << list("en ru uk pl cs hu sv da nb fi nl tr el ar he") << QStringList{}
                            << "Zephyr"
                            << QVariantMap{{"ru", QStringLiteral("Привет!")},
                                           {"he", QStringLiteral("שלום!")}};
    QTest::newRow("Meridian") << "Meridian"
                              << "org.vexilo.demo.Meridian"
                              << list("en en_GB en_AU fr fr_CA es es_MX") << QStringList{}
                              << "Meridian" << QVariantMap{{"en_AU", "G'day!"}};
    QTest::newRow("Echo") << QStringLiteral("Écho") << "org.vexilo.demo.Echo" << list("fr en")
                          << QStringList{} << "Echo" << QVariantMap{{"fr", "Bonjour !"}};
}

void TestSample::demoBundles()
{
    QFETCH(QString, name);
    QFETCH(QString, identifier);
    QFETCH(QStringList, languages);
    QFETCH(QStringList, disabled);
    QFETCH(QString, iconFile);
    QFETCH(QVariantMap, greetings);

    const QString path = demoDirectory() + QLatin1Char('/') + name + QStringLiteral(".app");
    const auto bundle = Bundle::bundleWithPath(path);
    QVERIFY2(bundle, qPrintable(path));
    QCOMPARE(bundle->bundleIdentifier(), identifier);
    QVERIFY(
        !bundle->infoDictionary().value(QStringLiteral("CFBundleVersion")).toString().isEmpty());
    QCOMPARE(bundle->infoDictionary().value(QStringLiteral("CFBundleName")).toString(), name);
    QVERIFY(QFileInfo(bundle->executablePath()).isExecutable());

    // Opening the demo in Vexilo moves the disabled folders back, so either place counts for
    // those; the others must be where the recipe put them.
    const QString contents = path + QStringLiteral("/Contents");
    const QStringList stillDisabled = lprojNames(contents + QStringLiteral("/Resources Disabled"));
    QStringList found = bundle->localizations() + stillDisabled;
    QCOMPARE(sorted(found), sorted(languages + disabled));
    for (const QString &language : languages)
        QVERIFY2(bundle->localizations().contains(language), qPrintable(language));

    for (const QString &language : languages + disabled) {
        const QString lproj =
            (stillDisabled.contains(language) ? contents + QStringLiteral("/Resources Disabled/")
                                              : contents + QStringLiteral("/Resources/")) +
            language + QStringLiteral(".lproj/");
        const QHash<QString, QString> table =
            readTable(lproj + QStringLiteral("Localizable.strings"));
        QVERIFY2(!table.value(QStringLiteral("Greeting")).isEmpty(), qPrintable(language));
        QVERIFY2(table.value(QStringLiteral("Opened in %@")).contains(QLatin1String("%@")),
                 qPrintable(language));
        if (greetings.contains(language))
            QCOMPARE(table.value(QStringLiteral("Greeting")), greetings.value(language).toString());
        const QHash<QString, QString> info = readTable(lproj + QStringLiteral("InfoPlist.strings"));
        QVERIFY2(!info.value(QStringLiteral("CFBundleName")).isEmpty(), qPrintable(language));
    }

    const QVariant declared = bundle->infoDictionary().value(QStringLiteral("CFBundleIconFile"));
    if (iconFile.isEmpty()) {
        QVERIFY(!declared.isValid());
        return;
    }
    QCOMPARE(declared.toString(), iconFile);
    QString icns = bundle->resourcePath() + QLatin1Char('/') + iconFile;
    if (!icns.endsWith(QLatin1String(".icns")))
        icns += QStringLiteral(".icns");
    // Every image of the icon decodes here, the 128-pixel one among them.
    QImageReader reader(icns);
    QCOMPARE(reader.format(), QByteArray("icns"));
    QVERIFY(reader.imageCount() > 0);
    int largest = 0;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        largest = qMax(largest, image.width());
    }
    QCOMPARE(largest, 128);
}

void TestSample::demoBundlesOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("languageVariable");
    QTest::addColumn<QString>("expected");

    const QString option = QStringLiteral("-AppleLanguages");
    QTest::newRow("Atlas in ja") << "Atlas"
                                 << "Atlas" << QStringList{option, "(ja)"} << "fr"
                                 << "ja";
    QTest::newRow("Lexicon by LANGUAGE") << "Lexicon"
                                         << "Lexicon" << QStringList{} << "fr"
                                         << "French";
    QTest::newRow("Monolog has only de") << "Monolog"
                                         << "Monolog" << QStringList{option, "(fr)"} << "fr"
                                         << "de";
    QTest::newRow("Plain has none") << "Plain"
                                    << "Plain" << QStringList{} << "fr"
                                    << "none";
    QTest::newRow("Meridian regional") << "Meridian"
                                       << "Meridian" << QStringList{option, "(fr_CA)"} << "en"
                                       << "fr_CA";
    QTest::newRow("Echo, accented folder")
        << QStringLiteral("Écho") << "Echo" << QStringList{} << "en"
        << "en";
}

void TestSample::demoBundlesOpen()
{
    QFETCH(QString, name);
    QFETCH(QString, executable);
    QFETCH(QStringList, arguments);
    QFETCH(QString, languageVariable);
    QFETCH(QString, expected);

    TestEnvironment environment; // no stored language of the user's own is read
    const QString program = demoDirectory() + QLatin1Char('/') + name +
                            QStringLiteral(".app/Contents/MacOS/") + executable;
    const Outcome outcome = runSample(program, arguments, languageVariable);
    QVERIFY2(outcome.started, qPrintable(program));
    QVERIFY2(outcome.line == QStringLiteral("language: ") + expected,
             qPrintable(outcome.line + QLatin1Char('\n') + outcome.errors));
    QCOMPARE(outcome.exitCode, 0);
}

QTEST_MAIN(TestSample)
#include "tst_sample.moc"
