#include "BundleBuilder.h"
#include "FileTree.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "catalogue/AppListing.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList entries(const QString &path)
{
    QStringList list = QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    list.sort();
    return list;
}

// Collects the log lines a test provokes.
QStringList g_messages;
void collect(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages.append(message);
}

} // namespace

class TestAppListing : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::shared_ptr<const Platform> m_platform;

    QString apps() const { return m_env->applicationsDirectory(); }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_platform = std::make_shared<const Platform>(m_env->platform());
        TestEnvironment::setLanguage("en_US", "en");
        g_messages.clear();
    }

    // Without an Info.plist a bundle is named after its folder, dots and all.
    void unreadableBundles()
    {
        const QString broken = BundleBuilder(apps() + "/Broken.app")
                                   .noInfoPlist()
                                   .localizedInfo("en", {{"CFBundleName", "X"}})
                                   .write();
        const AppListingPtr listing = AppListing::fromPath(broken, *m_platform->workspace);
        QCOMPARE(listing->name(), "Broken");
        QVERIFY(listing->identifier().isEmpty());
        QVERIFY(listing->version().isEmpty());
        QCOMPARE(listing->localizedAppName(), "Broken");
        const QString dotted =
            BundleBuilder(apps() + "/Broken.Beta.app").identifier("org.example.Dotted").write();
        QCOMPARE(AppListing::fromPath(dotted, *m_platform->workspace)->name(), "Broken.Beta");
    }

    // The icon file is found with and without its extension; a bundle without one of its own
    // shows the generic icon.
    void icon_data()
    {
        QTest::addColumn<QString>("declared");
        QTest::addColumn<QString>("expectedFile");
        row("without extension", "AppIcon", "AppIcon.icns");
        row("with extension", "AppIcon.icns", "AppIcon.icns");
        row("none declared", "", "");
        row("declared but missing", "Gone", "");
    }
    void icon()
    {
        QFETCH(QString, declared);
        QFETCH(QString, expectedFile);
        BundleBuilder builder(apps() + "/Icon.app");
        builder.identifier("org.example.Icon");
        if (!declared.isEmpty())
            builder.info("CFBundleIconFile", declared);
        const QString path =
            builder.file("Resources/AppIcon.icns", BundleBuilder::icnsUpTo(32, "red")).write();

        const AppListingPtr listing = AppListing::fromPath(path, *m_platform->workspace);
        QCOMPARE(listing->iconPath(),
                 expectedFile.isEmpty() ? QString() : path + "/Contents/Resources/" + expectedFile);
    }

    // Named in the user's language (the fallbacks are the bundle reader's own test).
    void localizedName()
    {
        TestEnvironment::setLanguage("en_US", "fr");
        const QString path = BundleBuilder(apps() + "/Mail.app")
                                 .identifier("org.example.Mail")
                                 .localizedInfo("fr", {{"CFBundleName", "Courrier"}})
                                 .localizedInfo("en", {{"CFBundleName", "Mail Pro"}})
                                 .write();
        QCOMPARE(AppListing::fromPath(path, *m_platform->workspace)->localizedAppName(),
                 "Courrier");
    }

    void resetResourcesDisabled_data()
    {
        QTest::addColumn<QStringList>("disabled");  // entries of Resources Disabled
        QTest::addColumn<QStringList>("resources"); // entries already in Resources
        QTest::addColumn<bool>("expected");
        QTest::addColumn<bool>("folderStays");
        row("no folder", QStringList(), QStringList{"en.lproj"}, true, false);
        row("empty folder", QStringList{"-"}, QStringList{"en.lproj"}, true, false);
        row("all move", QStringList{"fr.lproj", "de.lproj", ".hidden"}, QStringList{"en.lproj"},
            true, false);
        row("collision", QStringList{"fr.lproj", "de.lproj"}, QStringList{"fr.lproj"}, false, true);
    }
    void resetResourcesDisabled()
    {
        QFETCH(QStringList, disabled);
        QFETCH(QStringList, resources);
        QFETCH(bool, expected);
        QFETCH(bool, folderStays);

        const QString path = apps() + "/Babel.app";
        BundleBuilder builder(path);
        builder.identifier("org.example.Babel");
        for (const QString &r : resources)
            builder.file("Resources/" + r + "/Marker.strings", "kept:" + r.toUtf8());
        for (const QString &d : disabled) {
            if (d == QLatin1String("-"))
                builder.file("Resources Disabled/");
            else
                builder.file("Resources Disabled/" + d + "/Marker.strings", "moved:" + d.toUtf8());
        }
        builder.write();
        const QString disabledDir = path + "/Contents/Resources Disabled";
        const QString resourcesDir = path + "/Contents/Resources";

        qInstallMessageHandler(collect);
        const AppListingPtr listing = AppListing::fromPath(path, *m_platform->workspace);
        // Read again, as every selection does: a failure is told once a run.
        const AppListingPtr again = AppListing::fromPath(path, *m_platform->workspace);
        qInstallMessageHandler(nullptr);

        QCOMPARE(QFileInfo::exists(disabledDir), folderStays);
        // Every resource that was already there is kept byte for byte.
        for (const QString &r : resources)
            QCOMPARE(readFile(resourcesDir + QLatin1Char('/') + r + "/Marker.strings"),
                     "kept:" + r.toUtf8());
        for (const QString &d : disabled) {
            if (d == QLatin1String("-") || resources.contains(d))
                continue;
            QCOMPARE(readFile(resourcesDir + QLatin1Char('/') + d + "/Marker.strings"),
                     "moved:" + d.toUtf8());
        }
        if (folderStays) {
            // Only the entry that collided is left behind, untouched.
            QCOMPARE(entries(disabledDir), QStringList{"fr.lproj"});
            QCOMPARE(readFile(disabledDir + "/fr.lproj/Marker.strings"),
                     QByteArray("moved:fr.lproj"));
        }
        const QString logLine = "Error: could not reset disabled language resources for Babel.";
        QCOMPARE(g_messages.count(logLine), expected ? 0 : 1);
        // The listing reflects the bundle as it was before the move, the next reading after it.
        QVERIFY(!listing->langs().contains("de"));
        QCOMPARE(again->langs().contains("de"), disabled.contains("de.lproj"));
        QCOMPARE(restoreDisabledResources(path), expected);
    }

    // A file of that name is left exactly as it is (a link of that name leading out is one of
    // the hostile bundles).
    void resourcesDisabledThatIsAFile()
    {
        const QString path = BundleBuilder(apps() + "/Odd.app")
                                 .identifier("org.example.Odd")
                                 .languages({"en"})
                                 .file("Resources Disabled", "precious")
                                 .write();
        const FileTree before = FileTree::of(m_env->root());
        AppListing::fromPath(path, *m_platform->workspace);
        QVERIFY(restoreDisabledResources(path));
        QCOMPARE(before.differences(FileTree::of(m_env->root()), {"data"}), QStringList());
    }

    void equality_data()
    {
        QTest::addColumn<QString>("firstId");
        QTest::addColumn<QString>("secondId");
        QTest::addColumn<bool>("equal");
        row("same identifier, different paths", "org.a", "org.a", true);
        row("different identifiers", "org.a", "org.b", false);
        row("identifiers differing in case", "org.a", "org.A", false);
        row("both without identifier", "", "", false);
    }
    void equality()
    {
        QFETCH(QString, firstId);
        QFETCH(QString, secondId);
        QFETCH(bool, equal);
        BundleBuilder one(apps() + "/One.app");
        BundleBuilder two(m_env->root() + "/Two.app");
        if (!firstId.isEmpty())
            one.identifier(firstId);
        if (!secondId.isEmpty())
            two.identifier(secondId);
        const AppListingPtr a = AppListing::fromPath(one.write(), *m_platform->workspace);
        const AppListingPtr b = AppListing::fromPath(two.write(), *m_platform->workspace);
        QCOMPARE(a->isEqualToListing(*b), equal);
        QCOMPARE(b->isEqualToListing(*a), equal);
        QVERIFY(a->isEqualToListing(*a));
    }
};

QTEST_MAIN(TestAppListing)
#include "tst_applisting.moc"
