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

    // No listing counts as not running.
    bool isAppRunning(const AppListing *listing) const;

    // The panel's line for the first running copy of the application: "Currently open in
    // French.", or "Currently open." when its language cannot be known; empty when none runs.
    // `stored` is its stored language, when it was looked up.
    QString currentInstanceLanguageString(const AppListing &listing,
                                          const std::optional<QString> &stored) const;

private:
    std::shared_ptr<const Processes> m_processes;
};
