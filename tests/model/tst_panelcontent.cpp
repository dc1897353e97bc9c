#include "TestEnvironment.h"
#include "TestFiles.h"
#include "catalogue/AppListing.h"
#include "language/AlwaysOpen.h"
#include "panel/PanelContent.h"
#include "text/Texts.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Kind = PopUpEntry::Kind;

// The stored language at this position, counting how often it was asked for.
struct Stored {
    std::optional<int> index;
    int asked = 0;
    Panel::StoredIndex function()
    {
        return [this] {
            ++asked;
            return index;
        };
    }
};

QStringList titles(const PanelContent &panel)
{
    QStringList out;
    for (const PopUpEntry &entry : panel.entries)
        out.append(entry.kind == Kind::Separator ? u"-"_s : entry.title);
    return out;
}

QList<int> checkedEntries(const PanelContent &panel)
{
    QList<int> out;
    for (int i = 0; i < panel.entries.size(); ++i) {
        if (panel.entries.at(i).checked)
            out.append(i);
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<int>)

// What the selection panel shows, and the texts it fills in and asks with.
class TestPanelContent : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::setLanguage("en_US", "en"); }

    void application_data()
    {
        QTest::addColumn<QStringList>("langs");
        QTest::addColumn<std::optional<int>>("stored");
        QTest::addColumn<QString>("countText");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<bool>("popUpEnabled");
        QTest::addColumn<bool>("launchEnabled");
        QTest::addColumn<QList<int>>("checked");
        const QString unable = u"(Unable to determine available languages)"_s;
        const QString always = u"Always open in this language"_s;
        const QString two = u"Available in 2 different languages."_s;
        const auto row = [](const char *tag, const QStringList &langs, std::optional<int> stored,
                            const QString &count, const QStringList &titles, bool popUp,
                            bool launch, const QList<int> &checked) {
            QTest::newRow(tag) << langs << stored << count << titles << popUp << launch << checked;
        };
        row("three, one without a name, in the bundle's order", {"fr", "qq", "German"}, {},
            u"Available in 3 different languages."_s, {always, "-", "French", "qq", "German"}, true,
            true, {4});
        const QStringList deFr{always, "-", "German", "French"};
        row("stored language first: always-open marked", {"de", "fr"}, 0, two, deFr, true, true,
            {0, 2});
        row("stored language second: chosen and marked", {"de", "fr"}, 1, two, deFr, true, true,
            {0, 3});
        row("stored language not offered: its own choice", {"de", "fr"}, AppListing::NotFound, two,
            deFr, true, true, {3});
        row("one with a name: filled, disabled, launchable", {"fr"}, {},
            u"Only available in French."_s, {always, "-", "French"}, false, true, {2});
        row("one without a name", {"qq"}, 0, unable, {}, false, false, {});
        row("none", {}, 0, unable, {}, false, false, {});
    }
    void application()
    {
        QFETCH(QStringList, langs);
        QFETCH(std::optional<int>, stored);
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, checked);
        Stored storedIndex{stored};
        // The language it opens in by itself comes first unless another is stored.
        const QString own = langs.size() > 1 ? langs.last() : QString();
        const PanelContent panel =
            Panel::forApplication("Atlas", langs, storedIndex.function(), own);
        QVERIFY(panel.showsApplication);
        QTEST(panel.countText, "countText");
        QCOMPARE(::titles(panel), titles);
        QTEST(panel.popUpEnabled, "popUpEnabled");
        QTEST(panel.launchEnabled, "launchEnabled");
        QCOMPARE(checkedEntries(panel), checked);
        const int ownEntry = Panel::kFirstLanguage + int(langs.size()) - 1;
        QCOMPARE(panel.selectedEntry, titles.isEmpty()                   ? -1
                                      : stored && *stored < langs.size() ? checked.last()
                                                                         : ownEntry);
        // The stored language is looked up only for a pop-up that offers languages.
        QCOMPARE(storedIndex.asked, titles.isEmpty() ? 0 : 1);
    }

    // Picking languages moves the one language mark; the always-open mark is on exactly when
    // the chosen language is the stored one, and left alone without a stored language.
    void chooseLanguage_data()
    {
        QTest::addColumn<std::optional<int>>("stored");
        QTest::addColumn<QList<int>>("picks");
        QTest::addColumn<QList<QList<int>>>("checkedAfter");
        const auto row = [](const char *tag, std::optional<int> stored, const QList<int> &picks,
                            const QList<QList<int>> &checkedAfter) {
            QTest::newRow(tag) << stored << picks << checkedAfter;
        };
        row("stored first", 0, {3, 2, 4}, {{3}, {0, 2}, {4}});
        row("stored third", 2, {4, 3}, {{0, 4}, {3}});
        row("stored not offered", AppListing::NotFound, {3, 2}, {{3}, {2}});
        row("no stored language", {}, {3}, {{3}});
        row("separator and out of range change nothing", {}, {1, 9, -1}, {{2}, {2}, {2}});
    }
    void chooseLanguage()
    {
        QFETCH(std::optional<int>, stored);
        QFETCH(QList<int>, picks);
        QFETCH(QList<QList<int>>, checkedAfter);
        Stored storedIndex{stored};
        PanelContent panel =
            Panel::forApplication("Atlas", {"fr", "de", "it"}, storedIndex.function());
        for (int i = 0; i < picks.size(); ++i) {
            Panel::chooseLanguage(panel, picks.at(i), storedIndex.function());
            QCOMPARE(checkedEntries(panel), checkedAfter.at(i));
            // The chosen language is the one marked language entry.
            QCOMPARE(panel.selectedEntry, checkedAfter.at(i).last());
        }
    }

    void ownEntry_data()
    {
        QTest::addColumn<QStringList>("langs");
        QTest::addColumn<QString>("countText");
        QTest::addColumn<bool>("popUpEnabled");
        row("three", QStringList{"en", "fr", "de"}, "Available in 3 different languages.", true);
        row("one", QStringList{"fr"}, "Only available in French.", false);
        row("none", QStringList{}, "(Unable to determine available languages)", false);
    }
    void ownEntry()
    {
        QFETCH(QStringList, langs);
        PanelContent panel = Panel::forOwnEntry("Vexilo", langs);
        QTEST(panel.countText, "countText");
        QTEST(panel.popUpEnabled, "popUpEnabled");
        QVERIFY(!panel.launchEnabled);
        QVERIFY(!panel.hasAlwaysOpenEntry());
        QCOMPARE(panel.entries.size(), langs.size());
        QCOMPARE(checkedEntries(panel), langs.isEmpty() ? QList<int>{} : QList<int>{0});
        if (langs.size() < 2)
            return;
        // A stored language of Vexilo's own never marks the language at index 0.
        Panel::chooseLanguage(panel, 1, [] { return std::optional<int>(0); });
        QCOMPARE(checkedEntries(panel), QList<int>{1});
    }

    void formatText_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("expected");
        row("two kinds in order", "Available in %d languages, like %@.", QStringList{"3", "French"},
            "Available in 3 languages, like French.");
        row("a value holding a placeholder is not filled again", "%@ and %@",
            QStringList{"%@", "x"}, "%@ and x");
        row("surplus placeholder stays", "%@ %@", QStringList{"a"}, "a %@");
        row("percent sign", "100%% %@", QStringList{"sure"}, "100% sure");
        row("other escapes stay", "%s %1 %", QStringList{"x"}, "%s %1 %");
    }
    void formatText()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, values);
        QTEST(::formatText(format, values), "expected");
    }

    // The six always-open confirmations for French: whether Atlas runs, whether the entry is
    // checked, which language is stored.
    void alwaysOpenQuestion_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("stored"); // null: none
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        const QString reset = u"Reset to default language?"_s, french = u"Always open in French?"_s;
        const auto row = [](const char *tag, bool running, bool checked, const QString &stored,
                            const QString &title, const char *message) {
            QTest::newRow(tag) << running << checked << stored << title << QString(message);
        };
        row("1 running, reset", true, true, "German", reset, "Vexilo will need to quit Atlas.");
        row("1 running, reset, none stored", true, true, {}, reset,
            "Vexilo will need to quit Atlas.");
        row("2 running, another stored", true, false, "German", french,
            "Atlas currently opens in German.\nVexilo will need to quit it first.");
        row("3 running, none stored", true, false, {}, french, "Vexilo will need to quit Atlas.");
        row("4 reset", false, true, "French", reset,
            "Atlas will always open in the system language.");
        row("5 another stored", false, false, "German", french, "Atlas currently opens in German.");
        row("6 none stored", false, false, {}, french, "This can be changed at any time.");
    }
    void alwaysOpenQuestion()
    {
        QFETCH(bool, running);
        QFETCH(bool, checked);
        QFETCH(QString, stored);
        QFETCH(QString, title);
        QFETCH(QString, message);
        AlwaysOpen::Facts facts{running, checked, std::nullopt, u"Atlas"_s, u"French"_s};
        if (!stored.isNull())
            facts.storedName = stored;
        QCOMPARE(AlwaysOpen::question(facts), (SheetText{title, message, true}));
    }
};

QTEST_GUILESS_MAIN(TestPanelContent)
#include "tst_panelcontent.moc"
