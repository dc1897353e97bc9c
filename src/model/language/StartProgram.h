#pragma once

#include "catalogue/AppListing.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>

class Processes;

namespace StartProgram {

using namespace std::chrono_literals;

// A started process that has not shown up by then (it ended at once) is not waited for longer.
constexpr std::chrono::milliseconds kKnownBound = 5s;
// For the new copy's window to show, to bring it to the front.
constexpr std::chrono::milliseconds kWindowBound = 5s;

// Starts a program directly with these arguments and environment, remembers it as started from
// `startedFrom` (the bundle or the entry's file), waits until it is known and brings it to the
// front.
AppListing::StartOutcome startAndRaise(Processes &processes, const QString &startedFrom,
                                       const QString &program, const QStringList &arguments,
                                       const QProcessEnvironment &environment);

} // namespace StartProgram
