// Vexilo starting on its own preferences as something else left them: damaged, of the wrong
// types, not a file at all. Each start ends with the catalogue shown; the preference file's
// bytes stay where they were or are kept aside whole, and nothing is written anywhere else.
// And Vexilo starts and works with its address space capped at 512 MB.
#include "AppController.h"
#include "BundleBuilder.h"
#include "FileTree.h"
#include "HostilePlists.h"
#include "PropertyList.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"
#include "catalogue/Catalogue.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>
#include <climits>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray plist(const QVariantMap &map)
{
    return PropertyList::toXml(map);
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestHostileStart : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    QString preferenceFile() const
    {
        return m_env->preferencesDirectory() + "/org.vexilo.Vexilo.plist";
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        BundleBuilder(m_env->applicationsDirectory() + "/Good.app")
            .identifier("org.example.Good")
            .languages({"en", "fr"})
            .write();
    }

    void hostilePreferences_data()
    {
        QTest::addColumn<QString>("kind");      // "file", "fifo", "folder" or "device"
        QTest::addColumn<QByteArray>("bytes");  // of a file
        QTest::addColumn<bool>("keptAside");    // read as damaged: kept as .corrupt, then replaced
        QTest::addColumn<qlonglong>("numUses"); // after the start; -1: nothing could be stored
        QTest::addColumn<int>("shown");         // applications in the row
        QTest::addColumn<bool>("reminded");     // the donation reminder asked

        const QByteArray none;
        QTest::newRow("not a property list")
            << "file" << QByteArray("\x01garbage{<\xff") << true << 1LL << 1 << false;
        QTest::newRow("an array at the top")
            << "file"
            << QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>") << true
            << 1LL << 1 << false;
        QTest::newRow("a broken binary list")
            << "file" << QByteArray("bplist00\xd1\x01\x02\x51\x61\x10") << true << 1LL << 1
            << false;
        QTest::newRow("nested too deep")
            << "file" << HostilePlists::deepXml(600) << true << 1LL << 1 << false;
        QTest::newRow("values of the wrong types") << "file"
                                                   << plist({{"ExtraApps", "org.example.Good"},
                                                             {"HiddenApps", 7},
                                                             {"NumUses", "many"},
                                                             {"ShownDonateBox", "yes"},
                                                             {"InstallDate", "yesterday"}})
                                                   << false << 1LL << 1 << false;
        QTest::newRow("arrays of the wrong things")
            << "file"
            << plist({{"ExtraApps",
                       QVariantList{42, QVariantMap{}, "", "relative/Thing.app", "../../x",
                                    "/dev/zero", "/", "org.example.Good", "/no/such\nthing.app"}},
                      {"HiddenApps", QVariantList{5, QVariantMap{}, "org.example.Nothing"}}})
            << false << 1LL << 8 << false;
        QTest::newRow("every application hidden")
            << "file" << plist({{"HiddenApps", QVariantList{"org.example.Good", 3}}}) << false
            << 1LL << 0 << false;
        QTest::newRow("the largest count")
            << "file" << plist({{"NumUses", LLONG_MAX}}) << false << LLONG_MAX << 1 << false;
        QTest::newRow("a count above the signed range")
            << "file" << plist({{"NumUses", qulonglong(ULLONG_MAX)}}) << false << LLONG_MAX << 1
            << false;
        QTest::newRow("a count that is no number")
            << "file" << plist({{"NumUses", std::nan("")}}) << false << 1LL << 1 << false;
        QTest::newRow("installed in the far future")
            << "file"
            << plist({{"NumUses", 500},
                      {"InstallDate", QDateTime(QDate(9999, 12, 31), QTime(23, 59), Qt::UTC)}})
            << false << 501LL << 1 << false;
        QTest::newRow("installed long ago")
            << "file"
            << plist({{"NumUses", 500},
                      {"InstallDate", QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC)}})
            << false << 501LL << 1 << true;
        QTest::newRow("a fifo") << "fifo" << none << false << -1LL << 1 << false;
        QTest::newRow("a folder") << "folder" << none << false << -1LL << 1 << false;
        QTest::newRow("a device") << "device" << none << false << -1LL << 1 << false;
    }

    void hostilePreferences()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, keptAside);
        QFETCH(qlonglong, numUses);
        QFETCH(int, shown);
        QFETCH(bool, reminded);

        const QString path = preferenceFile();
        QDir().mkpath(m_env->preferencesDirectory());
        if (kind == "file") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            QVERIFY(QFile::link("/dev/zero", path));
        }
        const FileTree before = FileTree::of(m_env->root());
        const FileTree preferencesBefore = FileTree::of(m_env->preferencesDirectory());

        int asked = 0;
        {
            AppController controller(std::make_shared<Platform>(m_env->platform()));
            controller.setDonationAsker([&asked](const DonationReminder::Texts &) {
                ++asked;
                return false;
            });
            QSignalSpy shownSpy(&controller, &AppController::catalogueShown);
            controller.start();
            QVERIFY(shownSpy.wait(20000));
            QCOMPARE(controller.catalogue().apps().size(), shown);
            if (numUses >= 0)
                QCOMPARE(controller.defaults().integerForKey("NumUses"), numUses);
        }
        QCOMPARE(asked > 0, reminded);

        // Nothing outside the preferences store changed.
        const QStringList outside = before.differences(
            FileTree::of(m_env->root()), {"config/vexilo/Preferences", "data", "cache"});
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join('\n')));
        if (kind != "file") {
            // What is no file is left as it is, and nothing is written beside it.
            const QStringList changed =
                preferencesBefore.differences(FileTree::of(m_env->preferencesDirectory()));
            QVERIFY2(changed.isEmpty(), qPrintable(changed.join('\n')));
            return;
        }
        // The bytes as they were, or kept aside whole before a fresh file was written.
        if (keptAside) {
            QCOMPARE(contentsOf(path + ".corrupt"), bytes);
        } else {
            QVERIFY(!QFile::exists(path + ".corrupt"));
            // Every key that was there still is, with its value, but the counts Vexilo keeps.
            const QVariantMap was = PropertyList::parse(bytes)->toMap();
            const QVariantMap now = PropertyList::parse(contentsOf(path))->toMap();
            for (auto it = was.cbegin(); it != was.cend(); ++it) {
                if (it.key() != "NumUses")
                    QCOMPARE(now.value(it.key()), it.value());
            }
        }
    }

    // Thread stacks and the allocator's per-thread arenas reserve address space far beyond what
    // is used; Vexilo must start and load its applications all the same.
    void startsUnderAMemoryCap()
    {
#ifdef VEXILO_TEST_SANITIZED
        QSKIP("the sanitizers reserve terabytes of address space: no cap can hold them");
#endif
        const QString prlimit = QStandardPaths::findExecutable("prlimit");
        if (prlimit.isEmpty())
            QSKIP("prlimit (util-linux) not found");
        const QString apps = m_env->root() + "/Demo";
        // A copy: Vexilo moves disabled resources back in the bundles it reads.
        QCOMPARE(QProcess::execute("cp", {"-a", VEXILO_TEST_DEMO_APPLICATIONS, apps}), 0);
        const int bundles = int(QDir(apps).entryList({"*.app"}, QDir::Dirs).size());
        QVERIFY(bundles > 5);

        QProcess vexilo;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("VEXILO_APPLICATIONS_DIR", apps);
        // Only the bundles: the machine's own application menu stays out of the count.
        environment.insert("XDG_DATA_DIRS", m_env->root() + "/no-menu");
        vexilo.setProcessEnvironment(environment);
        vexilo.setProcessChannelMode(QProcess::MergedChannels);
        vexilo.start(prlimit, {"--as=" + QString::number(512 << 20), "--",
                               VEXILO_TEST_BUNDLE "/Contents/MacOS/Vexilo"});
        QVERIFY(vexilo.waitForStarted());
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += vexilo.readAll()).contains("catalogue loaded"), 30000);
        QVERIFY2(output.contains(u"(%1 of %1 applications shown)"_s.arg(bundles).toUtf8()),
                 output.constData());
        // Still running once loaded: not ended by an allocation that failed after the message.
        QVERIFY(!vexilo.waitForFinished(1000));
        QCOMPARE(vexilo.state(), QProcess::Running);
        vexilo.terminate();
        QVERIFY(vexilo.waitForFinished(10000));
        output += vexilo.readAll();
        QVERIFY2(!output.contains("Cannot allocate") && !output.contains("std::bad_alloc"),
                 output.constData());
    }
};

QTEST_MAIN(TestHostileStart)
#include "tst_hostilestart.moc"
