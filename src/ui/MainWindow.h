#pragma once

#include "about/AboutTexts.h"
#include "catalogue/AppListing.h"
#include "panel/PanelContent.h"
#include "text/SheetText.h"

#include <QMainWindow>
#include <functional>

class AboutBox;
class HelpWindow;
class AppRowView;
class RowBrowser;
class QLineEdit;
class QProgressBar;
class QScrollArea;
class SelectionPanelView;

// The main window: the search field, the icon row, the selection panel, the loading progress
// bar and the menus. It shows what it is given and reports what the user does.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The icon row shows what `row` holds and forwards its input there.
    explicit MainWindow(RowBrowser &row, QWidget *parent = nullptr);

    // Catalogue loading: entries looked at against entries to look at.
    void setLoadingProgress(int done, int total);
    // Hides the progress bar and offers the commands that change the catalogue, which would
    // otherwise work on a list the load is about to replace.
    void finishLoading();

    void setGenericIcon(std::function<QImage()> source);

    void showPanel(const PanelContent &content);
    // Empties the search field, so the row shows every application again.
    void clearSearch();

    void setAboutTexts(const AboutTexts &texts);
    void showAboutBox();

    // A sheet on this window; `done` gets the answer (true for "OK") when the user gives it.
    void showSheet(const SheetText &text, std::function<void(bool accepted)> done = {});
    // A sheet whose texts can be selected and copied (an address to write to).
    void showSheetToCopy(const SheetText &text);
    // The help page at `path`, in a window of Vexilo's own.
    void showHelpPage(const QString &path);

signals:
    void searchTextChanged(const QString &text);
    void languageChosen(int entry);
    void alwaysOpenChosen();
    void launchRequested();
    void addRequested();
    void showAppsRequested();
    void helpRequested();
    void aboutRequested();
    void feedbackRequested();
    void donateRequested();
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildMenus();

    QLineEdit *m_search;
    QScrollArea *m_scroll;
    AppRowView *m_row;
    SelectionPanelView *m_panel;
    QProgressBar *m_progress;
    QAction *m_addAction = nullptr;
    QAction *m_showAppsAction = nullptr;
    AboutBox *m_aboutBox = nullptr;
    HelpWindow *m_help = nullptr;
    AboutTexts m_aboutTexts;
    // Return and a double click in the row launch only when the Launch button would.
    bool m_launchEnabled = false;
};
