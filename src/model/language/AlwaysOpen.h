#pragma once

#include "LaunchWork.h"
#include "text/SheetText.h"

#include <QObject>
#include <memory>
#include <optional>

struct Platform;
class LaunchWorker;
class RunningInstances;
class Selection;
class StoredLanguages;

// "Always open in this language": makes the chosen language the application's stored language,
// or, when it already is, deletes it so the application follows the user's languages again.
// A running copy is quit first and started again afterwards, so the change takes effect.
class AlwaysOpen : public QObject {
    Q_OBJECT
public:
    AlwaysOpen(std::shared_ptr<const Platform> platform, const Selection &selection,
               StoredLanguages &storedLanguages, const RunningInstances &runningInstances,
               LaunchWorker &worker, QObject *parent = nullptr);

    // The user picked the always-open entry: asks to confirm the change it would make, or says
    // why it cannot be made.
    void request();
    // The user confirmed it: the change runs on the worker.
    void confirm();

    // What the confirmation says.
    struct Facts {
        bool running = false;
        // The always-open entry carries its check mark: the change deletes the stored language.
        bool entryChecked = false;
        // The stored language's name; nullopt when the application has none.
        std::optional<QString> storedName;
        QString applicationName;
        // The chosen language's title.
        QString language;
    };
    static SheetText question(const Facts &facts);
    // The change was not made: `userFile` is the setting of someone else's that Vexilo leaves
    // alone; else writing failed, for `reason` when it is known. Not a question.
    static SheetText keptNotice(const QString &name, const QString &userFile,
                                const QString &reason = QString());

signals:
    // A question to confirm, or (not a question) what became of a change.
    void confirmationNeeded(const SheetText &text);

private:
    void workReported(const LaunchEvent &event);

    std::shared_ptr<const Platform> m_platform;
    const Selection &m_selection;
    StoredLanguages &m_storedLanguages;
    const RunningInstances &m_runningInstances;
    LaunchWorker &m_worker;
    // The change the sheet on screen asks about, for the application shown when it was asked.
    std::optional<LaunchWork::StoredLanguageChange> m_asked;
};
