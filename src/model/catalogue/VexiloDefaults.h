#pragma once

#include <QDateTime>

class UserDefaults;

// Vexilo's own settings at start-up and at the end of each load.
namespace VexiloDefaults {

// Registers the defaults of every key that holds no stored value, and records the first start.
void prepare(UserDefaults &defaults, const QDateTime &now);

// Counts a start whose catalogue load completed; returns the new count.
qlonglong countUse(UserDefaults &defaults);

} // namespace VexiloDefaults
