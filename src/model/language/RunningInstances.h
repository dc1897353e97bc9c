#pragma once

#include <QString>
#include <memory>
#include <optional>

class AppListing;
class Processes;

// Whether an application runs, and in which language its running copy was opened.
class RunningInstances {
public:
    explicit RunningInstances(std::shared_ptr<const Processes> processes);

    // Asks the bundle at the listing's path for its identifier now; a bundle without one, or
    // no listing, counts as not running. An application of the desktop's menu runs when
    // DesktopProcesses finds a copy.
    bool isAppRunning(const AppListing *listing) const;

    // "Currently open in French." for the first running copy of the listing's application: the
    // language of its -AppleLanguages argument, else its stored language `stored` (nullopt when
    // it has none or it was not looked up), else the first of the user's languages it offers.
    // Empty when none runs or no language can be named. For an application of the desktop's
    // menu, the language its copy's own environment asks for and it has.
    QString currentInstanceLanguageString(const AppListing &listing,
                                          const std::optional<QString> &stored) const;

private:
    std::shared_ptr<const Processes> m_processes;
};
