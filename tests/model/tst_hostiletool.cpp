// A preferences tool that misbehaves: prints garbage or without end, hangs, dies. Each gives one
// outcome, the stored language the tool's first line names or none, within the probe's bound,
// from one run per selection. The tool is found through the main bundle, so a stand-in bundle
// plays it.
#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "catalogue/AppListing.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/bundle/Workspace.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestHostileTool : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

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
        TestEnvironment::setLanguage("en_US", "en");
    }

    void oneOutcomeEach_data()
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

    void oneOutcomeEach()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, stored);
        const QString bundle = BundleBuilder(m_env->applicationsDirectory() + "/Atlas.app")
                                   .identifier("org.example.Atlas")
                                   .languages({"en", "fr", "de", "es", "ja"})
                                   .write();
        Platform platform = m_env->platform();
        platform.mainBundlePath = standIn(script);
        if (script.isEmpty())
            QFile::setPermissions(platform.defaultsToolPath(), QFile::ReadOwner);
        auto shared = std::make_shared<const Platform>(platform);

        StoredLanguages storedLanguages(shared);
        RunningInstances running(shared->processes);
        Selection selection(shared, storedLanguages, running);
        QElapsedTimer clock;
        clock.start();
        selection.select(AppListing::fromPath(bundle, *shared->workspace));
        // Not a speed figure: a bound that tells a probe that returns from one that never does.
        QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));

        QVERIFY(selection.panel().showsApplication);
        QCOMPARE(storedLanguages.knownStoredLanguage("org.example.Atlas").value_or(QString()),
                 stored);
        // The stored language is the one chosen, with the always-open mark.
        QCOMPARE(selection.panel().entries.at(0).checked, !stored.isEmpty());

        // Known now, also when nothing was found; what Vexilo stores itself needs no run.
        const QStringList once{"read org.example.Atlas AppleLanguages"};
        QCOMPARE(calls(platform), script.isEmpty() ? QStringList() : once);
        const AppListing &atlas = *selection.current();
        QCOMPARE(storedLanguages.storedLanguage(atlas).value_or(QString()), stored);
        storedLanguages.remember("org.example.Atlas", u"de"_s);
        QCOMPARE(storedLanguages.storedLanguage(atlas), u"de"_s);
        QCOMPARE(calls(platform), script.isEmpty() ? QStringList() : once);
    }
};

QTEST_MAIN(TestHostileTool)
#include "tst_hostiletool.moc"
