// The languages of an application: those it has, in the user's order; the one stored for it,
// read with the preferences tool however that tool misbehaves; the one it opens in by itself;
// the one each running copy was opened in.
#include "BundleBuilder.h"
#include "DesktopTree.h"
#include "TestEnvironment.h"
#include "catalogue/AppListing.h"
#include "language/InstanceLanguage.h"
#include "language/LanguageDisplay.h"
#include "language/LanguageList.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguage.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/bundle/Workspace.h"
#include "platform/preferences/PreferencesStore.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

// Whether the display names of `codes` stand in the user's collation order.
bool inCollationOrder(const QStringList &codes, const QString &locale)
{
    QCollator collator{QLocale(locale)};
    for (qsizetype i = 1; i < codes.size(); ++i) {
        if (collator.compare(LanguageDisplay::name(codes.at(i - 1)),
                             LanguageDisplay::name(codes.at(i))) > 0)
            return false;
    }
    return true;
}

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
    std::vector<std::unique_ptr<QProcess>> m_running;

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

    // Starts the bundle's executable and waits until it is up.
    void startInstance(const QString &bundle, const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->start(bundle + "/Contents/MacOS/" + QFileInfo(bundle).completeBaseName(),
                       arguments);
        QVERIFY(process->waitForStarted());
        QVERIFY(process->waitForReadyRead(10000)); // it prints its language once it runs
        m_running.push_back(std::move(process));
    }

    // The running-instance line as the panel shows it after a selection.
    QString lineFor(const QString &bundle)
    {
        Selected s(m_platform);
        s.selection.select(listing(bundle, *m_platform));
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
        QFile file(platform.defaultsToolPath() + ".calls");
        return file.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
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
        for (auto &p : m_running) {
            p->kill();
            p->waitForFinished();
        }
        m_running.clear();
    }

    // Bundles laid out like published applications.
    void languages_data()
    {
        QTest::addColumn<QString>("folders");
        QTest::addColumn<QVariant>("declared"); // CFBundleLocalizations
        QTest::addColumn<QString>("expected");  // in code order

        QTest::newRow("Base is no language") << u"Base en fr"_s << QVariant() << u"en fr"_s;
        QTest::newRow("classic name and code are one, by the code")
            << u"English en French"_s << QVariant() << u"en French"_s;
        QTest::newRow("classic name alone stays")
            << u"German Japanese"_s << QVariant() << u"German Japanese"_s;
        QTest::newRow("two spellings of one code")
            << u"zh_TW zh-TW zh-Hant"_s << QVariant() << u"zh-Hant zh-TW"_s;
        QTest::newRow("only CFBundleLocalizations")
            << u""_s << QVariant(QStringList{"en", "de", "Base"}) << u"de en"_s;
        QTest::newRow("declared joins the folders, classic folder gives way")
            << u"Base English"_s << QVariant(QVariantList{"en", "fr"}) << u"en fr"_s;
        QTest::newRow("declared values that are no codes")
            << u"en"_s << QVariant(QVariantList{1, "../x", "", "fr\n", QVariantList{"de"}, "it"})
            << u"en it"_s;
        QTest::newRow("declared as a single string") << u"en"_s << QVariant(u"fr"_s) << u"en"_s;
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
        QTest::newRow("english names")
            << u"en"_s << u"de en fr ja zh-Hant"_s << u"zh-Hant en fr de ja"_s;
        QTest::newRow("french names") << u"fr"_s << u"ja fr en de"_s << u"de en fr ja"_s;
        QTest::newRow("unnamed code by itself") << u"en"_s << u"qq de"_s << u"de qq"_s;
    }
    void sortedByDisplayName()
    {
        QFETCH(QString, userLanguage);
        QFETCH(QString, codes);
        QFETCH(QString, expected);
        TestEnvironment::setLanguage(userLanguage);
        QCOMPARE(LanguageList::sortedByDisplayName(words(codes)), words(expected));
    }

    // A bundle of fifty languages lists them in the user's collation of their names: in French,
    // "allemand" comes first and "espéranto" among the e's.
    void fiftyLanguagesAreSorted_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("english") << u"en_US"_s;
        QTest::newRow("french") << u"fr_FR"_s;
    }
    void fiftyLanguagesAreSorted()
    {
        QFETCH(QString, locale);
        TestEnvironment::setLanguage(locale);
        const QStringList codes = words(
            u"af ar az be bg bn ca cs cy da de el en eo es et eu fa fi fr ga gd gl he hi hr hu "
            "id is it ja ka kk ko lt lv mk ms nb nl pl pt ro ru sk sl sv tr uk zh"_s);
        const QString path = BundleBuilder(m_env->applicationsDirectory() + "/Babel.app")
                                 .identifier("org.example.Babel")
                                 .languages(codes + QStringList{"Base"})
                                 .write();
        const QStringList langs = listing(path, *m_platform)->langs();
        QCOMPARE(QSet<QString>(langs.cbegin(), langs.cend()),
                 QSet<QString>(codes.cbegin(), codes.cend()));
        QVERIFY2(inCollationOrder(langs, locale), qPrintable(langs.join(u' ')));
    }

    void parseStored_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("expected"); // empty: no stored language
        QTest::newRow("one element") << QByteArray("(\n    fr\n)\n") << u"fr"_s;
        QTest::newRow("several elements")
            << QByteArray("(\n    de,\n    fr,\n    en\n)\n") << u"de"_s;
        QTest::newRow("region") << QByteArray("(\n    en_GB,\n    fr\n)\n") << u"en_GB"_s;
        QTest::newRow("quoted element")
            << QByteArray("(\n    \"en-GB\",\n    fr\n)\n") << u"en-GB"_s;
        QTest::newRow("quoted with script")
            << QByteArray("(\n    \"zh-Hant\"\n)\n") << u"zh-Hant"_s;
        QTest::newRow("blank inside quotes") << QByteArray("(\n    \"en GB\"\n)\n") << u""_s;
        QTest::newRow("unterminated quotes") << QByteArray("(\n    \"en_GB") << u""_s;
        QTest::newRow("empty list") << QByteArray("(\n)\n") << u""_s;
        QTest::newRow("empty quoted element") << QByteArray("(\n    \"\"\n)\n") << u""_s;
        QTest::newRow("element starting with a digit") << QByteArray("(\n    42\n)\n") << u""_s;
        QTest::newRow("single value") << QByteArray("fr\n") << u""_s;
        QTest::newRow("missing pair") << QByteArray("The domain/default pair of (org.example.App, "
                                                    "AppleLanguages) does not exist\n")
                                      << u""_s;
        QTest::newRow("not ASCII") << QByteArray("(\n    fr\xc3\xa9\n)\n") << u""_s;
        QTest::newRow("nothing") << QByteArray() << u""_s;
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
        QTest::addColumn<QStringList>("langs");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expectedFolder"); // empty: not found
        QTest::newRow("code") << QStringList{"en", "fr"} << u"fr"_s << u"fr"_s;
        QTest::newRow("code beside its classic name")
            << QStringList{"French", "fr"} << u"fr"_s << u"fr"_s;
        QTest::newRow("classic name")
            << QStringList{"English", "German", "French"} << u"fr"_s << u"French"_s;
        QTest::newRow("neither") << QStringList{"en", "de"} << u"fr"_s << u""_s;
        QTest::newRow("code without a name") << QStringList{"en", "de"} << u"qq"_s << u""_s;
    }
    void storedLanguageFolder()
    {
        QFETCH(QStringList, langs);
        QFETCH(QString, stored);
        QFETCH(QString, expectedFolder);
        // Names stay English whatever the user's language.
        TestEnvironment::setLanguage("fr_FR", "fr");
        QCOMPARE(indexOfStoredLanguage(stored, langs), expectedFolder.isEmpty()
                                                           ? AppListing::NotFound
                                                           : int(langs.indexOf(expectedFolder)));
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

        QTest::newRow("answers") << QByteArray("printf '(\\n    en\\n)\\n'") << "en";
        QTest::newRow("binary garbage") << QByteArray("head -c 1048576 /dev/urandom") << QString();
        QTest::newRow("text garbage") << QByteArray("echo '((((\"\"\"' ; echo ')))'") << QString();
        QTest::newRow("endless output") << QByteArray("exec yes '(fr'") << QString();
        QTest::newRow("endless garbage") << QByteArray("exec cat /dev/urandom") << QString();
        QTest::newRow("hangs") << QByteArray("exec sleep 600") << QString();
        // A tool that does not end within the bound gives no answer, whatever it printed.
        QTest::newRow("answers, then hangs")
            << QByteArray("printf '(\\n    de\\n)\\n'; exec sleep 600") << QString();
        QTest::newRow("hangs half-way")
            << QByteArray("printf '(\\n    d'; exec sleep 600") << QString();
        QTest::newRow("dies") << QByteArray("kill -SEGV $$") << QString();
        QTest::newRow("dies half-way")
            << QByteArray("printf '(\\n    \"es'; kill -KILL $$") << QString();
        QTest::newRow("fails") << QByteArray("echo 'defaults: no' >&2; exit 3") << QString();
        QTest::newRow("leaves a child behind")
            << QByteArray("(sleep 3) & printf '(\\n    ja\\n)\\n'") << "ja";
        QTest::newRow("is not executable") << QByteArray() << QString();
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
        QTest::newRow("launched in fr")
            << QByteArray("ARGS\n/A/X.app/Contents/MacOS/X -AppleLanguages (fr)\n") << u"fr"_s;
        QTest::newRow("leading blank lines and case")
            << QByteArray("\n  args\n/X -applelanguages (de)\n") << u"de"_s;
        QTest::newRow("blanks inside")
            << QByteArray("ARGS\n/X -AppleLanguages ( zh_TW )\n") << u"zh_TW"_s;
        QTest::newRow("several codes")
            << QByteArray("ARGS\n/X -AppleLanguages (fr, de)\n") << u"fr, de"_s;
        QTest::newRow("no closing parenthesis")
            << QByteArray("ARGS\n/X -AppleLanguages (ja") << u"ja"_s;
        QTest::newRow("first of two")
            << QByteArray("ARGS\n/X -AppleLanguages (it) -AppleLanguages (es)\n") << u"it"_s;
        QTest::newRow("empty parentheses") << QByteArray("ARGS\n/X -AppleLanguages ()\n") << u""_s;
        QTest::newRow("no argument") << QByteArray("ARGS\n/X -psn_0_1234\n") << u""_s;
        QTest::newRow("no header") << QByteArray("COMMAND\n/X -AppleLanguages (fr)\n") << u""_s;
        QTest::newRow("UTF-8 path with blanks") << QByteArray("ARGS\n/A/\xc3\x89"
                                                              "cho Z.app/Contents/MacOS/\xc3\x89"
                                                              "cho -AppleLanguages (fr)\n")
                                                << u"fr"_s;
        QTest::newRow("UTF-8 code")
            << QByteArray("ARGS\n/X -AppleLanguages (\xc3\xa9)\n") << u"\u00e9"_s;
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
        QTest::newRow("first preference")
            << QStringList{"fr"} << QStringList{"de", "fr"} << u""_s << u"fr"_s << u"fr"_s;
        QTest::newRow("second preference")
            << QStringList{"it", "de"} << QStringList{"de", "fr"} << u""_s << u"de"_s << u"de"_s;
        QTest::newRow("none preferred: development region")
            << QStringList{"en"} << QStringList{"de", "fr"} << u"de"_s << u"de"_s << u"en"_s;
        QTest::newRow("none preferred, no region: first code")
            << QStringList{"ja"} << QStringList{"fr", "de"} << u""_s << u"de"_s << u"en"_s;
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

        DesktopTree tree(m_env->root());
        tree.recorder(u"bin/atlas"_s, u"atlas"_s);
        tree.entry(tree.systemFolder(), u"atlas.desktop"_s, "Name=Atlas\nExec=atlas\n");
        for (const QString &code : langs)
            tree.write(u"system/locale/%1/LC_MESSAGES/atlas.mo"_s.arg(code), "");
        const DesktopEntries entries(tree.setup());
        const AppListingPtr menuEntry = AppListing::fromDesktopApplication(
            *entries.application(u"atlas.desktop"_s), entries, true);

        QTEST(bundle->ownLanguage(preferred), "bundle");
        QTEST(menuEntry->ownLanguage(preferred), "menuEntry");
    }

    void runningInstances_data()
    {
        QTest::addColumn<QString>("languages"); // LANGUAGE of the user
        QTest::addColumn<QStringList>("langs"); // the bundle's localisations
        QTest::addColumn<QString>("stored");    // its stored language, if any
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("launched in fr")
            << u"en"_s << QStringList{"en", "fr"} << u""_s << QStringList{"-AppleLanguages", "(fr)"}
            << u"Currently open in French."_s;
        QTest::newRow("stored de") << u"en"_s << QStringList{"en", "de"} << u"de"_s << QStringList{}
                                   << u"Currently open in German."_s;
        // It runs all the same: Launch must ask before it starts a second copy.
        QTest::newRow("development region") << u"en"_s << QStringList{"de", "fr"} << u""_s
                                            << QStringList{} << u"Currently open in German."_s;
    }
    void runningInstances()
    {
        QFETCH(QString, languages);
        QFETCH(QStringList, langs);
        QFETCH(QString, stored);
        QFETCH(QStringList, arguments);
        RunningInstances running(m_platform->processes);
        QVERIFY(!running.isAppRunning(nullptr));
        TestEnvironment::setLanguage("en_US", languages);
        const QString bundle = writeApp("Atlas", langs);
        if (!stored.isEmpty())
            QVERIFY(m_platform->preferences->setValue(runIdentifier("Atlas"), "AppleLanguages",
                                                      QVariantList{stored}));
        const AppListingPtr atlas = listing(bundle, *m_platform);
        QVERIFY(!running.isAppRunning(atlas.get()) && lineFor(bundle).isEmpty());
        startInstance(bundle, arguments);
        QVERIFY(running.isAppRunning(atlas.get()));
        QTEST(lineFor(bundle), "expected");
    }

    void firstOfTwoInstancesIsInspected()
    {
        const QString bundle = writeApp("Atlas", {"fr", "de"});
        startInstance(bundle, {"-AppleLanguages", "(fr)"});
        startInstance(bundle, {"-AppleLanguages", "(de)"});
        QCOMPARE(lineFor(bundle), "Currently open in French.");
        m_running.front()->kill();
        m_running.front()->waitForFinished();
        QCOMPARE(lineFor(bundle), "Currently open in German.");
    }
};

QTEST_MAIN(TestAppLanguage)
#include "tst_applanguage.moc"
