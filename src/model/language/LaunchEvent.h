#pragma once

#include <QString>
#include <optional>

// A step of launch work that the window follows, handed from the worker to the main thread.
struct LaunchEvent {
    enum class Kind {
        // The application's stored language was written (`storedLanguage` set) or deleted.
        StoredLanguageChanged,
        // Its stored language could not be changed: `userFile` names the setting of someone
        // else's that Vexilo left alone; else `failure` says why, when it is known.
        StoredLanguageKept,
        // The launch or restart of the application ended (whether or not it started).
        Started,
    };
    Kind kind = Kind::Started;
    QString path;
    QString identifier;
    // The application's name as the user confirmed it.
    QString name;
    std::optional<QString> storedLanguage;
    QString userFile;
    // Why a change or a start failed; empty when it did not, or nobody said.
    QString failure;
    // Started: the title of the language it was started in; empty for a start without
    // arguments, whose language the application chooses itself.
    QString title;
    // Started: the new copy runs as the work ends.
    bool running = false;

    bool operator==(const LaunchEvent &) const = default;
};
