#pragma once

#include "about/SupportCommands.h"

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>

struct Platform;
class AlwaysOpen;
class Catalogue;
class Launcher;
class LaunchWorker;
class MainWindow;
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

signals:
    // The window shows the catalogue.
    void catalogueShown();
    // The user asked to remove the application at `index` of the visible list.
    void removeAppRequested(int index);

private:
    void catalogueLoaded();
    void removeAppAtIndex(int index);
    void applicationActivated();

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
};
