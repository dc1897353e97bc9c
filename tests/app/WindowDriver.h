#pragma once

#include "AppController.h"
#include "AppRowView.h"
#include "LanguagePopUp.h"
#include "MainWindow.h"
#include "SpinningIndicator.h"
#include "catalogue/Catalogue.h"
#include "panel/Selection.h"
#include "platform/Platform.h"
#include "row/RowBrowser.h"
#include "row/RowGeometry.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// Driving Vexilo's window as a user does, for the tests of the whole program.
namespace WindowDriver {

// One start of Vexilo up to the catalogue shown; `prepare` stands in for what leaves the program.
inline std::unique_ptr<AppController>
start(const Platform &platform, const std::function<void(AppController &)> &prepare = {})
{
    auto c = std::make_unique<AppController>(std::make_shared<Platform>(platform));
    if (prepare)
        prepare(*c);
    QSignalSpy shown(c.get(), &AppController::catalogueShown);
    c->start();
    if (!shown.wait(20000))
        qWarning("catalogue was not shown");
    if (!QTest::qWaitFor([&c] { return c->selection().isSettled(); }, 20000))
        qWarning("the first selection was not shown");
    return c;
}

// The icon row, once laid out and painted: clicks reach icons then.
inline AppRowView *row(AppController &c)
{
    auto *row = c.window().findChild<AppRowView *>();
    if (QTest::qWaitForWindowExposed(&c.window()))
        row->repaint();
    return row;
}

// Clicks the shown application of this name and checks that it became the selection.
inline void click(AppController &c, const QString &name)
{
    const QList<AppListingPtr> shown = c.row().shown();
    int i = 0;
    while (i < shown.size() && shown.at(i)->name() != name)
        ++i;
    QVERIFY2(i < shown.size(), qPrintable(name));
    QTest::mouseClick(row(c), Qt::LeftButton, {}, RowGeometry::iconRect(i, false).center());
    QCOMPARE(c.row().selected(), i);
    // What the panel shows is gathered in the background.
    QTRY_VERIFY(c.selection().isSettled());
}

// The Remove command of the row's context menu over icon `index`.
inline void removeWithMenu(AppController &c, int index)
{
    const QPoint icon = RowGeometry::iconRect(index, c.row().selected() == index).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, icon, row(c)->mapToGlobal(icon));
    QApplication::sendEvent(row(c), &event);
    auto *menu = row(c)->findChild<QMenu *>();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 1);
    menu->actions().first()->trigger();
    menu->hide();
}

inline void menuCommand(MainWindow &window, const QString &text)
{
    for (QAction *menu : window.menuBar()->actions()) {
        for (QAction *action : menu->menu()->actions()) {
            if (QString(action->text()).remove(u'&') == text)
                return action->trigger();
        }
    }
    QFAIL(qPrintable("no command " + text));
}

inline QPushButton *launchButton(MainWindow &window)
{
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        if (button->text() == u"Launch" || button->text() == u"Launching...")
            return button;
    }
    return nullptr;
}

// The visible label whose text starts so; empty when there is none.
inline QString label(MainWindow &window, const QString &start)
{
    for (QLabel *label : window.findChildren<QLabel *>()) {
        if (label->text().startsWith(start) && label->isVisible())
            return label->text();
    }
    return {};
}

// The sheet on screen (one closed before lingers until the event loop deletes it), and its
// title and message.
inline QMessageBox *sheet(MainWindow &window)
{
    const QList<QMessageBox *> boxes = window.findChildren<QMessageBox *>();
    const auto shown =
        std::find_if(boxes.begin(), boxes.end(), [](auto *b) { return b->isVisible(); });
    return shown == boxes.end() ? nullptr : *shown;
}
inline QStringList sheetLines(MainWindow &window)
{
    QMessageBox *box = sheet(window);
    return box ? QStringList{box->text(), box->informativeText()} : QStringList{};
}

// Answers the sheet on screen, modal to the window, with the button of this title.
inline void answer(MainWindow &window, const QString &button)
{
    QTRY_VERIFY(sheet(window));
    const QPointer<QMessageBox> box = sheet(window);
    QCOMPARE(box->windowModality(), Qt::WindowModal);
    const QList<QAbstractButton *> buttons = box->buttons();
    const auto b =
        std::find_if(buttons.begin(), buttons.end(), [&](auto *b) { return b->text() == button; });
    QVERIFY2(b != buttons.end(), qPrintable("no button " + button));
    (*b)->click();
    QTRY_VERIFY(!box || !box->isVisible());
}

} // namespace WindowDriver
