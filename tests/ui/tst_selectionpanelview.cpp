#include "LanguagePopUp.h"
#include "SelectionPanelView.h"
#include "TestEnvironment.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

PanelContent application(std::optional<int> stored = std::nullopt)
{
    return Panel::forApplication("Atlas", {"fr", "de"}, [stored] { return stored; });
}

} // namespace

class TestSelectionPanelView : public QObject {
    Q_OBJECT

    std::unique_ptr<SelectionPanelView> m_view;

    LanguagePopUp &popUp() { return *m_view->findChild<LanguagePopUp *>(); }
    QPushButton &launch()
    {
        for (QPushButton *button : m_view->findChildren<QPushButton *>()) {
            if (button->text() == "Launch")
                return *button;
        }
        qFatal("no Launch button");
    }
    QLabel *labelWithText(const QString &text)
    {
        for (QLabel *label : m_view->findChildren<QLabel *>()) {
            if (label->text() == text)
                return label;
        }
        return nullptr;
    }

private slots:
    void init()
    {
        TestEnvironment::setLanguage("en_US", "en");
        m_view = std::make_unique<SelectionPanelView>();
        m_view->show();
    }

    void showsContent()
    {
        PanelContent content = application(0);
        content.runningLine = "Currently open in French.";
        content.runningLineVisible = true;
        m_view->showContent(content);
        QVERIFY(labelWithText("Atlas") && labelWithText("Atlas")->isVisible());
        QVERIFY(labelWithText("Available in 2 different languages.")->isVisible());
        QVERIFY(labelWithText("Currently open in French.")->isVisible());
        QCOMPARE(popUp().text(), "French");
        QVERIFY(popUp().itemState(0) && popUp().itemState(2) && !popUp().itemState(3));
        QVERIFY(popUp().isEnabled() && launch().isEnabled());
        QSignalSpy clicked(m_view.get(), &SelectionPanelView::launchClicked);
        QTest::mouseClick(&launch(), Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);

        m_view->showContent(Panel::blank());
        QVERIFY(!labelWithText("Atlas"));
        QCOMPARE(popUp().numberOfItems(), 0);
        QVERIFY(!popUp().isEnabled() && !launch().isEnabled());
    }

    // A pick reports the entry; the panel's answer updates the entries in place, also while the
    // menu entry that was picked is still reporting.
    void picking()
    {
        m_view->showContent(application());
        QSignalSpy chosen(m_view.get(), &SelectionPanelView::languageChosen);
        connect(m_view.get(), &SelectionPanelView::languageChosen, this, [this](int entry) {
            PanelContent content = m_view->content();
            Panel::chooseLanguage(content, entry, [] { return std::nullopt; });
            m_view->showContent(content);
        });
        popUp().menu()->actions().at(3)->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toInt(), 3);
        QCOMPARE(popUp().text(), "German");
        QVERIFY(popUp().itemState(3) && !popUp().itemState(2));

        // The always-open entry is a command: the chosen language stays shown and marked.
        QSignalSpy alwaysOpen(m_view.get(), &SelectionPanelView::alwaysOpenChosen);
        popUp().pick(0);
        QCOMPARE(alwaysOpen.size(), 1);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(popUp().indexOfSelectedItem(), 3);
        QCOMPARE(popUp().text(), "German");
        QVERIFY(!popUp().itemState(0));
    }

    // The entries as a screen reader reaches them without opening the pop-up: the always-open
    // command, a separator, the languages, and their check marks.
    void popUpEntriesAreAccessible()
    {
        m_view->showContent(application(0));
        QAccessibleInterface *popUpItem = QAccessible::queryAccessibleInterface(&popUp());
        QCOMPARE(popUpItem->role(), QAccessible::ComboBox);
        QCOMPARE(popUpItem->text(QAccessible::Name), "Language");
        QCOMPARE(popUpItem->text(QAccessible::Value), "French");
        QCOMPARE(popUpItem->childCount(), 1);
        QAccessibleInterface *menu = popUpItem->child(0);
        QCOMPARE(menu->childCount(), 4);
        QCOMPARE(menu->child(0)->text(QAccessible::Name), "Always open in this language");
        QCOMPARE(menu->child(1)->role(), QAccessible::Separator);
        QCOMPARE(menu->child(3)->text(QAccessible::Name), "German");
        QVERIFY(menu->child(0)->state().checked && menu->child(2)->state().checked);
        QVERIFY(!menu->child(3)->state().checked);

        // Picking an entry through it is a pick like any other.
        QSignalSpy chosen(m_view.get(), &SelectionPanelView::languageChosen);
        menu->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toInt(), 3);
    }
};

QTEST_MAIN(TestSelectionPanelView)
#include "tst_selectionpanelview.moc"
