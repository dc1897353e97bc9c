#pragma once

#include "LaunchChoice.h"
#include "LaunchEvent.h"
#include "text/SheetText.h"

#include <QObject>
#include <memory>

struct Platform;
class LaunchWorker;
class Selection;

// The Launch button: starts the selected application once in the language chosen in the
// pop-up, after asking to quit the copy that the panel shows as running.
class Launcher : public QObject {
    Q_OBJECT
public:
    Launcher(std::shared_ptr<const Platform> platform, const Selection &selection,
             LaunchWorker &worker, QObject *parent = nullptr);

    // The user pressed Launch: the application and language chosen now are what starts. Whether
    // the application runs is what the panel's running-instance line says.
    void launch();
    // The user confirmed the "Quit?" sheet: the running copies of the application it named quit,
    // and that application starts in the language it named.
    void quitAndLaunch();

    // "Quit?": `name` as the panel shows it, `language` the chosen entry's title.
    static SheetText quitQuestion(const QString &name, const QString &language);
    // A start that failed: `reason` as the system gave it.
    static SheetText startFailure(const QString &name, const QString &reason);

signals:
    void quitConfirmationNeeded(const SheetText &text);
    // What became of a launch the user should hear of (not a question).
    void noticeNeeded(const SheetText &text);

private:
    void start(bool quitFirst);
    void workReported(const LaunchEvent &event);

    std::shared_ptr<const Platform> m_platform;
    const Selection &m_selection;
    LaunchWorker &m_worker;
    // What the "Quit?" sheet on screen asks about.
    LaunchChoice m_asked;
};
