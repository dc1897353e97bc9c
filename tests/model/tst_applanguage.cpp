// The languages of an application: those it has, in the user's order; the one stored for it,
// read with the preferences tool however that tool misbehaves; the one it opens in by itself;
// the one each running copy was opened in.
#include "BundleBuilder.h"
#include "DesktopTree.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "catalogue/AppListing.h"
#include "language/InstanceLanguage.h"
#include "language/LanguageList.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguage.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/bundle/Workspace.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/process/ProcessControl.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// What the window holds to show one application.
struct Selected {
    explicit Selected(const std::shared_ptr<const Platform> &platform)
        : running(platform->processes), stored(platform), selection(platform, stored, running)
    {
    }
    RunningInstances running;
    StoredLanguages stored;
    Selection selection;
};

} // namespace

class TestAppLanguage : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::shared_ptr<const Platform> m_platform;
    QList<qint64> m_copies;

    // Running copies are found by identifier, machine-wide: this run's own keeps other tests'
    // copies out.
    static QString runIdentifier(const QString &name)
    {
        return u"org.example.run%1.%2"_s.arg(QCoreApplication::applicationPid()).arg(name);
    }
    QString writeApp(const QString &name, const QStringList &langs)
    {
        return BundleBuilder(m_env->applicationsDirectory() + '/' + name + ".app")
            .identifier(runIdentifier(name))
            .info("CFBundleDevelopmentRegion", "de")
            .languages(langs)
            .executable(name)
            .write();
    }
    AppListingPtr listing(const QString &bundle, const Platform &platform)
    {
        return AppListing::fromPath(bundle, *platform.workspace);
    }

    // A program of the desktop's menu, Atlas, with catalogues of these languages; the test's
    // platform lists it.
    AppListingPtr menuEntry(const QStringList &langs)
    {
        DesktopTree tree(m_env->root());
        tree.recorder(u"bin/atlas"_s, u"atlas"_s);
        tree.entry(tree.systemFolder(), u"atlas.desktop"_s, "Name=Atlas\nExec=atlas\n");
        for (const QString &code : langs)
            tree.write(u"system/locale/%1/LC_MESSAGES/atlas.mo"_s.arg(code), "");
        m_env->setDesktopEntries(std::make_shared<DesktopEntries>(tree.setup()));
        m_platform = std::make_shared<const Platform>(m_env->platform());
        const DesktopEntries &entries = *m_platform->desktopEntries;
        return AppListing::fromDesktopApplication(*entries.application(u"atlas.desktop"_s), entries,
                                                  true);
    }

    // Started outside Vexilo, up once it runs as a copy of `app`; ended with the test.
    qint64 startCopy(const AppListingPtr &app, const QString &program, const QStringList &arguments,
                     QProcessEnvironment environment = QProcessEnvironment::systemEnvironment())
    {
        environment.insert(u"PATH"_s, qEnvironmentVariable("PATH"));
        const qint64 pid = ProcessControl::startDetached(program, arguments, environment);
        m_copies.append(pid);
        RunningInstances running(m_platform->processes);
        return QTest::qWaitFor([&] { return running.isAppRunning(app.get()); }, 10000) ? pid : 0;
    }

    // The running-instance line as the panel shows it after a selection.
    QString lineFor(const AppListingPtr &app)
    {
        Selected s(m_platform);
        s.selection.select(app);
        const PanelContent &panel = s.selection.panel();
        return panel.runningLineVisible ? panel.runningLine : QString();
    }

    // A main bundle whose preferences tool is this shell script, writing down its arguments.
    QString standIn(const QByteArray &script)
    {
        const QString bundle = m_env->root() + "/StandIn.app";
        BundleBuilder(bundle)
            .file("Helpers/defaults", "#!/bin/sh\necho \"$*\" >> \"$0.calls\"\n" + script + '\n')
            .write();
        QFile::setPermissions(bundle + "/Contents/Helpers/defaults",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return bundle;
    }
    QStringList calls(const Platform &platform)
    {
        return QString(readFile(platform.defaultsToolPath() + ".calls"))
            .split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_platform = std::make_shared<const Platform>(m_env->platform());
        TestEnvironment::setLanguage("en_US", "en");
    }

    void cleanup()
    {
        for (qint64 pid : ProcessControl::quit(m_copies, std::chrono::seconds(5)))
            ::kill(pid_t(pid), SIGKILL);
        m_copies.clear();
    }

    // Bundles laid out like published applications.
    void languages_data()
    {
        QTest::addColumn<QString>("folders");
        QTest::addColumn<QVariant>("declared"); // CFBundleLocalizations
        QTest::addColumn<QString>("expected");  // in code order
        const QVariant none;
        row("Base is no language", "Base en fr", none, "en fr");
        row("classic name and code are one, by the code", "English en French", none, "en French");
        row("classic name alone stays", "German Japanese", none, "German Japanese");
        row("two spellings of one code", "zh_TW zh-TW zh-Hant", none, "zh-Hant zh-TW");
        row("only CFBundleLocalizations", "", QVariant(QStringList{"en", "de", "Base"}), "de en");
        row("declared joins the folders, classic folder gives way", "Base English",
            QVariant(QVariantList{"en", "fr"}), "en fr");
        row("declared values that are no codes", "en",
            QVariant(QVariantList{1, "../x", "", "fr\n", QVariantList{"de"}, "it"}), "en it");
        row("declared as a single string", "en", QVariant(u"fr"_s), "en");
    }
    void languages()
    {
        QFETCH(QString, folders);
        QFETCH(QVariant, declared);
        QFETCH(QString, expected);
        QCOMPARE(LanguageList::languages(words(folders), declared), words(expected));
        // The order folders are listed in changes nothing.
        QStringList reversed = words(folders);
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(LanguageList::languages(reversed, declared), words(expected));
    }

    void sortedByDisplayName_data()
    {
        QTest::addColumn<QString>("userLanguage");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("expected");
        row("english names", "en", "de en fr ja zh-Hant", "zh-Hant en fr de ja");
        row("french names", "fr", "ja fr en de", "de en fr ja");
        row("unnamed code by itself", "en", "qq de", "de qq");
        // By collation, not by character: "espéranto" among the e's.
        row("french accents", "fr", "et eo es", "es eo et");
    }
    void sortedByDisplayName()
    {
        QFETCH(QString, userLanguage);
        QFETCH(QString, codes);
        QFETCH(QString, expected);
        TestEnvironment::setLanguage(userLanguage);
        QCOMPARE(LanguageList::sortedByDisplayName(words(codes)), words(expected));
    }

    void parseStored_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("expected"); // empty: no stored language
        const auto row = [](const char *tag, const char *output, const char *expected = "") {
            QTest::newRow(tag) << QByteArray(output) << QString(expected);
        };
        row("one element", "(\n    fr\n)\n", "fr");
        row("several elements", "(\n    de,\n    fr,\n    en\n)\n", "de");
        row("region", "(\n    en_GB,\n    fr\n)\n", "en_GB");
        row("quoted element", "(\n    \"en-GB\",\n    fr\n)\n", "en-GB");
        row("quoted with script", "(\n    \"zh-Hant\"\n)\n", "zh-Hant");
        row("blank inside quotes", "(\n    \"en GB\"\n)\n");
        row("unterminated quotes", "(\n    \"en_GB");
        row("empty list", "(\n)\n");
        row("empty quoted element", "(\n    \"\"\n)\n");
        row("element starting with a digit", "(\n    42\n)\n");
        row("single value", "fr\n");
        row("missing pair",
            "The domain/default pair of (org.example.App, AppleLanguages) does not exist\n");
        row("not ASCII", "(\n    fr\xc3\xa9\n)\n");
        row("nothing", "");
    }
    void parseStored()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, expected);
        const auto result = StoredLanguage::parseReadOutput(output);
        QCOMPARE(result.value_or(QString()), expected);
        QCOMPARE(result.has_value(), !expected.isEmpty());
    }

    // Folders come in directory order, so the expected position is that of the named folder.
    // Which folder serves a code that none is named for is the matcher's own test.
    void storedLanguageFolder_data()
    {
        QTest::addColumn<QString>("langs");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expectedFolder"); // empty: not found
        QTest::newRow("code") << u"en fr"_s << u"fr"_s << u"fr"_s;
        QTest::newRow("code beside its classic name") << u"French fr"_s << u"fr"_s << u"fr"_s;
        QTest::newRow("classic name") << u"English German French"_s << u"fr"_s << u"French"_s;
        QTest::newRow("neither") << u"en de"_s << u"fr"_s << u""_s;
        QTest::newRow("code without a name") << u"en de"_s << u"qq"_s << u""_s;
        // Earlier versions stored a catalogue's script modifier as a script subtag.
        QTest::newRow("sr_Latn stored") << u"sr sr@ije sr@latin"_s << u"sr_Latn"_s << u"sr@latin"_s;
        QTest::newRow("uz_Cyrl stored") << u"uz uz@cyrillic"_s << u"uz_Cyrl"_s << u"uz@cyrillic"_s;
    }
    void storedLanguageFolder()
    {
        QFETCH(QString, langs);
        QFETCH(QString, stored);
        QFETCH(QString, expectedFolder);
        // Names stay English whatever the user's language.
        TestEnvironment::setLanguage("fr_FR", "fr");
        QCOMPARE(indexOfStoredLanguage(stored, words(langs)),
                 expectedFolder.isEmpty() ? AppListing::NotFound
                                          : int(words(langs).indexOf(expectedFolder)));
    }

    // With the real tool: a change made outside Vexilo shows at the next selection, and the
    // always-open mark goes with it.
    void selectionSeesChangesMadeOutside()
    {
        const QString id = runIdentifier("Atlas");
        Selected s(m_platform);
        const AppListingPtr atlas = listing(writeApp("Atlas", {"en", "fr", "de"}), *m_platform);
        s.selection.select(atlas);
        QVERIFY(!s.stored.knownStoredLanguage(id));
        // Offered in the order of their names: English, French, German.
        QCOMPARE(s.selection.current()->langs(), (QStringList{"en", "fr", "de"}));

        const std::pair<QStringList, QString> changes[] = {
            {StoredLanguage::writeArguments(id, "fr"), "fr"},
            {{"write", id, "AppleLanguages", "-array", "de", "fr"}, "de"},
            {StoredLanguage::deleteArguments(id), ""}};
        for (const auto &[arguments, expected] : changes) {
            QProcess tool;
            tool.start(m_platform->defaultsToolPath(), arguments);
            QVERIFY(tool.waitForFinished() && tool.exitCode() == 0);
            s.selection.select(atlas);
            QCOMPARE(s.stored.knownStoredLanguage(id).value_or(QString()), expected);
            for (const QString &code : QStringList{"fr", "de"}) {
                s.selection.chooseLanguage(Panel::kFirstLanguage +
                                           int(s.selection.current()->langs().indexOf(code)));
                QCOMPARE(s.selection.panel().entries.first().checked, code == expected);
            }
        }
    }

    // A tool that misbehaves gives one outcome, the stored language its first line names or
    // none, within the probe's bound, from one run per selection. The tool is found through the
    // main bundle, so a stand-in bundle plays it.
    void misbehavingTool_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("stored"); // empty: none
        const auto row = [](const char *tag, const char *script, const char *stored = "") {
            QTest::newRow(tag) << QByteArray(script) << QString(stored);
        };
        row("answers", "printf '(\\n    en\\n)\\n'", "en");
        row("binary garbage", "head -c 1048576 /dev/urandom");
        row("text garbage", "echo '((((\"\"\"' ; echo ')))'");
        row("endless output", "exec yes '(fr'");
        row("endless garbage", "exec cat /dev/urandom");
        row("hangs", "exec sleep 600");
        // A tool that does not end within the bound gives no answer, whatever it printed.
        row("answers, then hangs", "printf '(\\n    de\\n)\\n'; exec sleep 600");
        row("hangs half-way", "printf '(\\n    d'; exec sleep 600");
        row("dies", "kill -SEGV $$");
        row("dies half-way", "printf '(\\n    \"es'; kill -KILL $$");
        row("fails", "echo 'defaults: no' >&2; exit 3");
        row("leaves a child behind", "(sleep 3) & printf '(\\n    ja\\n)\\n'", "ja");
        row("is not executable", "");
    }
    void misbehavingTool()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, stored);
        const QString bundle = writeApp("Atlas", {"en", "fr", "de", "es", "ja"});
        Platform platform = m_env->platform();
        platform.mainBundlePath = standIn(script);
        if (script.isEmpty())
            QFile::setPermissions(platform.defaultsToolPath(), QFile::ReadOwner);
        auto shared = std::make_shared<const Platform>(platform);

        Selected s(shared);
        // The window's thread goes on while the tool is asked: its ticks never stop for the
        // tool's time. Not a speed figure: a bound that tells a thread that waits from one that
        // does not.
        QElapsedTimer clock, sinceTick;
        clock.start();
        sinceTick.start();
        qint64 longestStill = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout,
                         [&] { longestStill = std::max(longestStill, sinceTick.restart()); });
        ticks.start(10);
        s.selection.selectInBackground(listing(bundle, *shared));
        // Nor does the tool hold Qt's own pool, whose threads the window's painting waits for.
        QCOMPARE(QThreadPool::globalInstance()->activeThreadCount(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(s.selection.isSettled(), 10000);
        QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(longestStill < 1000, qPrintable(QString::number(longestStill)));

        QVERIFY(s.selection.panel().showsApplication);
        QCOMPARE(s.stored.knownStoredLanguage(runIdentifier("Atlas")).value_or(QString()), stored);
        // The stored language is the one chosen, with the always-open mark.
        QCOMPARE(s.selection.panel().entries.at(0).checked, !stored.isEmpty());

        // Known now, also when nothing was found; what Vexilo stores itself needs no run.
        const QStringList once{"read " + runIdentifier("Atlas") + " AppleLanguages"};
        QCOMPARE(calls(platform), script.isEmpty() ? QStringList() : once);
        const AppListing &atlas = *s.selection.current();
        QCOMPARE(s.stored.storedLanguage(atlas).value_or(QString()), stored);
        s.stored.remember(runIdentifier("Atlas"), u"de"_s);
        QCOMPARE(s.stored.storedLanguage(atlas), u"de"_s);
        QCOMPARE(calls(platform), script.isEmpty() ? QStringList() : once);
    }

    void languageArgument_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("expected"); // empty: none
        const auto row = [](const char *tag, const char *output, const QString &expected = {}) {
            QTest::newRow(tag) << QByteArray(output) << expected;
        };
        row("launched in fr", "ARGS\n/A/X.app/Contents/MacOS/X -AppleLanguages (fr)\n", u"fr"_s);
        row("leading blank lines and case", "\n  args\n/X -applelanguages (de)\n", u"de"_s);
        row("blanks inside", "ARGS\n/X -AppleLanguages ( zh_TW )\n", u"zh_TW"_s);
        row("several codes", "ARGS\n/X -AppleLanguages (fr, de)\n", u"fr, de"_s);
        row("no closing parenthesis", "ARGS\n/X -AppleLanguages (ja", u"ja"_s);
        row("first of two", "ARGS\n/X -AppleLanguages (it) -AppleLanguages (es)\n", u"it"_s);
        row("empty parentheses", "ARGS\n/X -AppleLanguages ()\n");
        row("no argument", "ARGS\n/X -psn_0_1234\n");
        row("no header", "COMMAND\n/X -AppleLanguages (fr)\n");
        row("UTF-8 path with blanks",
            "ARGS\n/A/\xc3\x89"
            "cho Z.app/Contents/MacOS/\xc3\x89"
            "cho -AppleLanguages (fr)\n",
            u"fr"_s);
        row("UTF-8 code", "ARGS\n/X -AppleLanguages (\xc3\xa9)\n", u"\u00e9"_s);
    }
    void languageArgument()
    {
        QFETCH(QByteArray, output);
        QTEST(InstanceLanguage::languageArgument(output).value_or(QString()), "expected");
    }

    void nameForArgument_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("region") << u"en_US"_s << u"pt_BR"_s << u"Portuguese (Brazil)"_s;
        QTest::newRow("classic name") << u"en_US"_s << u"German"_s << u"German"_s;
        QTest::newRow("classic name, french user") << u"fr_FR"_s << u"German"_s << u"allemand"_s;
        QTest::newRow("unknown code") << u"en_US"_s << u"qq"_s << u"qq"_s;
    }
    void nameForArgument()
    {
        QFETCH(QString, locale);
        QFETCH(QString, code);
        TestEnvironment::setLanguage(locale);
        QTEST(InstanceLanguage::nameForArgument(code), "expected");
    }

    // The language an application opens in by itself: one rule, which each kind answers with
    // its own fallbacks (a bundle its development region, English, then the first code; a
    // program of the menu the English it is written in). Which code serves a preference is the
    // matcher's own test.
    void ownLanguage_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QStringList>("langs");
        QTest::addColumn<QString>("development"); // the bundle's development region
        QTest::addColumn<QString>("bundle");
        QTest::addColumn<QString>("menuEntry");
        row("first preference", words("fr"), words("de fr"), "", "fr", "fr");
        row("second preference", words("it de"), words("de fr"), "", "de", "de");
        row("none preferred: development region", words("en"), words("de fr"), "de", "de", "en");
        row("none preferred, no region: first code", words("ja"), words("fr de"), "", "de", "en");
    }
    void ownLanguage()
    {
        QFETCH(QStringList, preferred);
        QFETCH(QStringList, langs);
        QFETCH(QString, development);
        BundleBuilder builder(m_env->applicationsDirectory() + "/Atlas.app");
        builder.identifier("org.example.Atlas").languages(langs);
        if (!development.isEmpty())
            builder.info("CFBundleDevelopmentRegion", development);
        const AppListingPtr bundle = listing(builder.write(), *m_platform)->reread(*m_platform);
        QTEST(bundle->ownLanguage(preferred), "bundle");
        QTEST(menuEntry(langs)->ownLanguage(preferred), "menuEntry");
    }

    // The line that names the language a running copy was opened in, whoever started it: a
    // bundle's from its arguments, else its stored language, else the language it opens in by
    // itself; a menu entry's from its environment, the first language asked for that it has.
    void runningLine_data()
    {
        QTest::addColumn<bool>("bundle");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("langs");
        QTest::addColumn<QString>("started"); // a bundle's arguments, a menu entry's environment
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *tag, bool bundle, const char *stored, const char *langs,
                            const char *started, const char *expected) {
            QTest::newRow(tag) << bundle << QString(stored) << QString(langs) << QString(started)
                               << u"Currently open in %1."_s.arg(QLatin1String(expected));
        };
        row("launched in fr", true, "", "en fr", "-AppleLanguages (fr)", "French");
        row("stored de", true, "de", "en de", "", "German");
        // It runs all the same: Launch must ask before it starts a second copy.
        row("development region", true, "", "de fr", "", "German");
        row("menu entry: LANGUAGE first", false, "", "de fr", "LANGUAGE=fr:de LC_MESSAGES=C.UTF-8",
            "French");
        row("menu entry: the first it has", false, "", "de fr", "LANGUAGE=it:de LANG=C.UTF-8",
            "German");
        row("menu entry: none it has", false, "", "de fr", "LANGUAGE=ja LANG=C.UTF-8", "English");
    }
    void runningLine()
    {
        QFETCH(bool, bundle);
        QFETCH(QString, stored);
        QFETCH(QString, langs);
        QFETCH(QString, started);
        const QString path = writeApp("Atlas", words(langs));
        if (!stored.isEmpty())
            QVERIFY(m_platform->preferences->setValue(runIdentifier("Atlas"), "AppleLanguages",
                                                      QVariantList{stored}));
        const AppListingPtr app = bundle ? listing(path, *m_platform) : menuEntry(words(langs));
        QVERIFY(!RunningInstances(m_platform->processes).isAppRunning(nullptr));
        QCOMPARE(lineFor(app), QString());
        if (bundle)
            QVERIFY(startCopy(app, path + "/Contents/MacOS/Atlas", words(started)));
        else
            QVERIFY(startCopy(app, m_env->root() + "/bin/atlas", {}, environmentOf(started)));
        QTEST(lineFor(app), "expected");
    }

    void firstOfTwoInstancesIsInspected()
    {
        const QString bundle = writeApp("Atlas", {"fr", "de"});
        const AppListingPtr atlas = listing(bundle, *m_platform);
        const QString executable = bundle + "/Contents/MacOS/Atlas";
        const qint64 first = startCopy(atlas, executable, {"-AppleLanguages", "(fr)"});
        QVERIFY(first && startCopy(atlas, executable, {"-AppleLanguages", "(de)"}));
        QCOMPARE(lineFor(atlas), "Currently open in French.");
        QVERIFY(ProcessControl::quit({first}, std::chrono::seconds(5)).isEmpty());
        QTRY_COMPARE(lineFor(atlas), "Currently open in German.");
    }
};

QTEST_MAIN(TestAppLanguage)
#include "tst_applanguage.moc"
