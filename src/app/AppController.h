#pragma once

#include "about/SupportCommands.h"
#include "catalogue/AppListing.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

struct Platform;
class AlwaysOpen;
class Catalogue;
class HiddenAppsList;
class Launcher;
class LaunchWorker;
class MainWindow;
class QWidget;
class RowBrowser;
class RunningInstances;
class Selection;
class StoredLanguages;
class UserDefaults;

// Owns the model objects and the main window and connects them; it decides nothing itself.
class AppController : public QObject {
    Q_OBJECT
public:
    explicit AppController(std::shared_ptr<const Platform> platform, QObject *parent = nullptr);
    ~AppController() override;

    // Shows the window, prepares Vexilo's defaults and starts loading the catalogue.
    void start();

    MainWindow &window() { return *m_window; }
    const Catalogue &catalogue() const { return *m_catalogue; }
    const Selection &selection() const { return *m_selection; }
    const RowBrowser &row() const { return *m_row; }
    UserDefaults &defaults() { return *m_defaults; }

    // What leaves the program, for tests to stand in for: the URLs handed to the desktop, the
    // donation reminder's question, and the clock.
    void setUrlOpener(SupportCommands::UrlOpener opener);
    void setDonationAsker(SupportCommands::DonationAsker asker);
    void setClock(std::function<QDateTime()> clock);
    // The file chooser of the Add command: opened over `parent`, it hands the chosen paths to
    // `done` (none when cancelled).
    using ApplicationChooser =
        std::function<void(QWidget *parent, std::function<void(const QStringList &paths)> done)>;
    void setApplicationChooser(ApplicationChooser chooser);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // The window shows the catalogue.
    void catalogueShown();

private:
    void catalogueLoaded();
    // The window has painted once (or could not, unseen): a catalogue loaded before may show.
    void firstPaintDone();
    void applicationActivated();

    // Adding, removing and hiding applications.
    void add();
    void addChosen(const QStringList &paths);
    void removeAppAtIndex(int index);
    // The removal sheet was confirmed.
    void removeConfirmed(const AppListingPtr &listing);
    void showAppList();
    void hideAppListOK(const HiddenAppsList &list);
    // The hidden-applications list changed the visible list: the row takes it over and the
    // selection stays near where it was.
    void showChangedList();
    void reportNotSaved();

    std::shared_ptr<const Platform> m_platform;
    std::shared_ptr<UserDefaults> m_defaults;
    std::unique_ptr<StoredLanguages> m_storedLanguages;
    std::unique_ptr<RunningInstances> m_runningInstances;
    std::unique_ptr<Catalogue> m_catalogue;
    std::unique_ptr<Selection> m_selection;
    std::unique_ptr<RowBrowser> m_row;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<SupportCommands> m_support;
    std::unique_ptr<LaunchWorker> m_launchWorker;
    std::unique_ptr<Launcher> m_launcher;
    std::unique_ptr<AlwaysOpen> m_alwaysOpen;
    SupportCommands::DonationAsker m_askToDonate;
    std::function<QDateTime()> m_now;
    ApplicationChooser m_chooseApplications;
    bool m_windowPainted = false;
};
