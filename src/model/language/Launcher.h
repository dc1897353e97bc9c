#pragma once

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

    // The user pressed Launch. Whether the application runs is what the panel's running-instance
    // line says.
    void launch();
    // The user confirmed the "Quit?" sheet: the running copies of the application selected then
    // quit, and the application selected once they have ended starts.
    void quitAndLaunch();

    // "Quit?": `name` as the panel shows it, `language` the chosen entry's title.
    static SheetText quitQuestion(const QString &name, const QString &language);

signals:
    void quitConfirmationNeeded(const SheetText &text);

private:
    void start(bool quitFirst);

    std::shared_ptr<const Platform> m_platform;
    const Selection &m_selection;
    LaunchWorker &m_worker;
};
