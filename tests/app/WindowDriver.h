#pragma once

#include "AppController.h"
#include "AppRowView.h"
#include "LanguagePopUp.h"
#include "MainWindow.h"
#include "SpinningIndicator.h"
#include "row/RowBrowser.h"
#include "row/RowGeometry.h"

#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

// Driving Vexilo's window as a user does, for the tests of the whole program.
namespace WindowDriver {

// Clicks the icon at `index` of the row and checks that it became the selection.
inline void clickIcon(AppController &controller, int index)
{
    MainWindow &window = controller.window();
    auto *row = window.findChild<AppRowView *>();
    // Clicks reach icons once the row has been laid out and painted.
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    row->repaint();
    QTest::mouseClick(row, Qt::LeftButton, {}, RowGeometry::iconRect(index, false).center());
    QCOMPARE(controller.row().selected(), index);
}

// Picks the pop-up's entry with this title from its menu.
inline void pick(MainWindow &window, const QString &title)
{
    for (QAction *action : window.findChild<LanguagePopUp *>()->menu()->actions()) {
        if (action->text() == title) {
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable("no entry " + title));
}

inline QPushButton *launchButton(MainWindow &window)
{
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        if (button->text() == u"Launch" || button->text() == u"Launching...")
            return button;
    }
    return nullptr;
}

// No launch work runs.
inline bool isIdle(MainWindow &window)
{
    return launchButton(window)->text() == u"Launch" &&
           window.findChild<SpinningIndicator *>()->isHidden();
}

inline QString runningLine(MainWindow &window)
{
    for (QLabel *label : window.findChildren<QLabel *>()) {
        if (label->text().startsWith(u"Currently open in") && label->isVisible())
            return label->text();
    }
    return {};
}

inline QMessageBox *sheet(MainWindow &window)
{
    return window.findChild<QMessageBox *>();
}

// Answers the sheet on screen with the button of this title.
inline void answer(MainWindow &window, const QString &button)
{
    QTRY_VERIFY(sheet(window) && sheet(window)->isVisible());
    QCOMPARE(sheet(window)->windowModality(), Qt::WindowModal);
    for (QAbstractButton *b : sheet(window)->buttons()) {
        if (b->text() == button) {
            b->click();
            QTRY_VERIFY(!sheet(window));
            return;
        }
    }
    QFAIL(qPrintable("no button " + button));
}

} // namespace WindowDriver
