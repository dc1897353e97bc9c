#pragma once

#include <QString>

// The keys of Vexilo's own user defaults.
namespace DefaultsKeys {

// Added applications: bundle identifiers (older entries: bundle paths).
inline const QString ExtraApps = QStringLiteral("ExtraApps");
// Identifiers of the applications left out of the row.
inline const QString HiddenApps = QStringLiteral("HiddenApps");
// Starts whose catalogue load completed.
inline const QString NumUses = QStringLiteral("NumUses");
inline const QString ShownDonateBox = QStringLiteral("ShownDonateBox");
// The date and time of the first start.
inline const QString InstallDate = QStringLiteral("InstallDate");

} // namespace DefaultsKeys
