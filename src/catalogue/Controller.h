#pragma once

#include "AppListing.h"
#include "Platform.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <memory>

class AppBrowseController;
class PrefsController;
class LanguagePopUp;
class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QTextBrowser;
class QThread;
class QWidget;
class UserDefaults;

using AppList = QList<AppListingPtr>;

// The application's delegate and the main window's controller. Its member functions are defined
// in the folder of the subsystem they belong to: catalogue/ (start-up, loading, adding, hiding),
// language/ (stored language, running instances, launching), window/ (panel, help, about).
class Controller : public QObject {
    Q_OBJECT
    Q_PROPERTY(double progress READ progress WRITE setProgress NOTIFY progressChanged)
    Q_PROPERTY(double maxValue READ maxValue WRITE setMaxValue NOTIFY maxValueChanged)

public:
    explicit Controller(std::shared_ptr<const Platform> platform, QObject *parent = nullptr);
    ~Controller() override;

    // Outlets, set when the main window is built (window/MainWindow).
    LanguagePopUp *menu = nullptr;
    QLabel *nameLabel = nullptr;
    QLabel *langCountField = nullptr;
    QLabel *openVersionsField = nullptr;
    QMainWindow *window = nullptr;
    AppBrowseController *browser = nullptr;
    QPointer<PrefsController> pController;
    QWidget *progWheel = nullptr;
    QPushButton *launchButton = nullptr;
    QWidget *aboutBox = nullptr;
    QPointer<QWidget> prefsWindow;
    QTextBrowser *creditsField = nullptr;
    QProgressBar *progBar = nullptr;

    const Platform &platform() const { return *m_platform; }
    UserDefaults *defaults() const { return m_defaults.get(); }

    // Start-up, in the order the application object sends them.
    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    void applicationWillBecomeActive();

    // Catalogue loading: loadAppsWork on the queue's thread, then appLoadComplete hands
    // `loaded` to the main thread.
    void loadAppsWork();
    void appLoadComplete();
    Q_INVOKABLE void loaded();
    bool stringIsValidIdentifier(const QString &string) const;

    // Selection panel.
    void clickedListing(const AppListingPtr &listing);
    void emptySelection();
    void languageSelectionChanged(QObject *sender);
    void windowWillClose();
    bool tableViewShouldSelectRow(int row) const { return false; }

    // Running instances.
    bool isAppRunning(const AppListingPtr &listing) const;
    QString currentInstanceLanguageString() const;

    // Commands.
    void launch(QObject *sender);
    void persistencePrefClicked(QObject *sender);
    void add(QObject *sender);
    void removeAppAtIndex(int index);
    void showAppList(QObject *sender);
    void hideAppListOK(QObject *sender);
    void hideAppListCancel(QObject *sender);
    void prefsChanged(QObject *sender);
    void showHelp(QObject *sender);
    void showAboutBox(QObject *sender);
    void sendFeedback(QObject *sender);
    void donate(QObject *sender);
    // The last step of `loaded`.
    void showDonationReminderIfDue();

    // Properties.
    AppList apps() const { return m_apps; }
    void setApps(const AppList &apps) { m_apps = apps; }
    AppList allApps() const { return m_allApps; }
    void setAllApps(const AppList &allApps) { m_allApps = allApps; }
    bool catalogueLoaded() const { return m_catalogueLoaded; }
    AppListingPtr currentListing() const { return m_currentListing; }
    // Keeps a copy of the listing, linked to it.
    void setCurrentListing(const AppListingPtr &listing);
    QThread *operationQueue() const { return m_operationQueue; }
    QString marketingLine() const { return m_marketingLine; }
    void setMarketingLine(const QString &line) { m_marketingLine = line; }
    // The credits as HTML for the about box; empty when Credits.rtf cannot be read.
    QString credits() const { return m_credits; }
    void setCredits(const QString &credits) { m_credits = credits; }
    QString version() const { return m_version; }
    void setVersion(const QString &version) { m_version = version; }
    bool editable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }
    bool isLeopard() const { return m_isLeopard; }
    int lastSelection() const { return m_lastSelection; }
    double progress() const { return m_progress.load(); }
    void setProgress(double progress);
    double maxValue() const { return m_maxValue.load(); }
    void setMaxValue(double maxValue);

signals:
    void progressChanged(double progress);
    void maxValueChanged(double maxValue);
    // The about box's texts (version, marketingLine, credits) were set.
    void aboutTextsChanged();
    // Emitted at the end of `loaded`, once the window shows the catalogue.
    void catalogueLoadedSignal(int visibleCount);

private:
    void showOwnEntry();

    std::shared_ptr<const Platform> m_platform;
    std::unique_ptr<UserDefaults> m_defaults;
    AppList m_apps;
    AppList m_allApps;
    AppListingPtr m_currentListing;
    QThread *m_operationQueue = nullptr;
    QString m_marketingLine;
    QString m_credits;
    QString m_version;
    bool m_editable = false;
    bool m_isLeopard = false;
    bool m_catalogueLoaded = false;
    int m_lastSelection = 0;
    std::atomic<double> m_progress{0.0};
    std::atomic<double> m_maxValue{0.0};
};
