#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "platform/bundle/Workspace.h"

#include <QtTest>

class TestWorkspace : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }

    void applicationsFolderLookup_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("expected"); // relative to the applications folder

        QTest::newRow("bundle in the folder") << "org.example.alpha" << QString("Alpha.app");
        QTest::newRow("binary Info.plist") << "org.example.binary" << QString("Binary.app");
        QTest::newRow("link to a bundle") << "org.example.linked" << QString("Linked.app");
        QTest::newRow("one level too deep") << "org.example.deep" << QString();
        QTest::newRow("unknown identifier") << "org.example.nobody" << QString();
        QTest::newRow("empty identifier") << "" << QString();
    }
    void applicationsFolderLookup()
    {
        QFETCH(QString, identifier);
        QFETCH(QString, expected);

        const QString apps = m_env->applicationsDirectory();
        BundleBuilder(apps + "/Alpha.app").identifier("org.example.alpha").write();
        BundleBuilder(apps + "/Binary.app")
            .identifier("org.example.binary")
            .binaryInfoPlist()
            .write();
        BundleBuilder(outside("Real.app")).identifier("org.example.linked").write();
        QVERIFY(QFile::link(outside("Real.app"), apps + "/Linked.app"));
        BundleBuilder(apps + "/Utilities/Deep.app").identifier("org.example.deep").write();
        // Broken neighbours must not stop the scan.
        BundleBuilder(apps + "/Corrupt.app")
            .noInfoPlist()
            .file("Info.plist", "<plist><dict>")
            .write();
        QVERIFY(QFile::link(m_env->root() + "/missing.app", apps + "/Dangling.app"));

        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier(identifier),
                 expected.isEmpty() ? QString() : apps + "/" + expected);
    }

    // Lookups remember the folder between calls, but never answer from an outdated picture of
    // it.
    void folderChangesAreSeen()
    {
        const QString apps = m_env->applicationsDirectory();
        BundleBuilder(apps + "/Alpha.app").identifier("org.example.alpha").write();
        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.alpha"),
                 apps + "/Alpha.app");
        QVERIFY(workspace().absolutePathForAppBundleWithIdentifier("org.example.beta").isEmpty());

        BundleBuilder(apps + "/Beta.app").identifier("org.example.beta").write();
        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.beta"),
                 apps + "/Beta.app");
        // Same folder entries, another identifier inside.
        BundleBuilder(apps + "/Alpha.app").identifier("org.example.gamma").write();
        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.gamma"),
                 apps + "/Alpha.app");
        QVERIFY(workspace().absolutePathForAppBundleWithIdentifier("org.example.alpha").isEmpty());
    }

    void rememberedBundles()
    {
        const QString noId =
            BundleBuilder(outside("NoId.app")).info("CFBundleName", "NoId").write();
        workspace().rememberApplication(noId);
        const QString registry = Workspace::defaultRegistryFile();
        QVERIFY(!QFile::exists(registry));
        // A corrupt registry holds nothing and is replaced.
        QFile corrupt(registry);
        QVERIFY(QDir().mkpath(QFileInfo(registry).path()) && corrupt.open(QIODevice::WriteOnly));
        corrupt.write("\xff\xfe garbage <plist>");
        corrupt.close();

        const QString one = BundleBuilder(outside("One.app")).identifier("org.example.one").write();
        const QString two = BundleBuilder(outside("Two.app")).identifier("org.example.two").write();
        // Another Vexilo sharing the registry, already read: neither loses the other's entry.
        Workspace other(Workspace::defaultApplicationsDirectory(), registry);
        QCOMPARE(other.absolutePathForAppBundleWithIdentifier("org.example.one"), QString());
        workspace().rememberApplication(one);
        other.rememberApplication(two);
        QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.one"), one);

        // The next start finds them both.
        Workspace later(Workspace::defaultApplicationsDirectory(), registry);
        QCOMPARE(later.absolutePathForAppBundleWithIdentifier("org.example.one"), one);
        QCOMPARE(later.absolutePathForAppBundleWithIdentifier("org.example.two"), two);

        // A remembered path is checked against the bundle as it is now.
        BundleBuilder(one).identifier("org.example.other").write();
        QVERIFY(QDir(two).removeRecursively());
        for (Workspace *ws : {&workspace(), &later}) {
            QCOMPARE(ws->absolutePathForAppBundleWithIdentifier("org.example.one"), QString());
            QCOMPARE(ws->absolutePathForAppBundleWithIdentifier("org.example.two"), QString());
        }
    }

private:
    std::unique_ptr<TestEnvironment> m_env;

    Workspace &workspace() const { return *m_env->platform().workspace; }
    QString outside(const QString &name) const { return m_env->root() + "/elsewhere/" + name; }
};

QTEST_GUILESS_MAIN(TestWorkspace)
#include "tst_workspace.moc"
