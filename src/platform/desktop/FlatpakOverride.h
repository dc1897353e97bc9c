#pragma once

#include "platform/desktop/DesktopOverride.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// "Always open in this language" for a Flatpak application: the user's own override of its
// environment (`flatpak override --user --env=LANGUAGE=...`), which `flatpak run` applies
// however the application is started. Beside LANGUAGE, Vexilo sets a marker variable holding
// the chosen code and the LANGUAGE value it wrote, so that it recognises its own setting and
// never removes one the user made or changed.
namespace FlatpakOverride {

inline const QString kMarker = QStringLiteral("VEXILO_LANGUAGE");

// The per-user installation's override file of an application: $FLATPAK_USER_DIR, else
// $XDG_DATA_HOME/flatpak, then overrides/<id>.
QString overridesFile(const QString &appId, const QProcessEnvironment &environment);

// Who set the application's LANGUAGE override, and for Vexilo's, the code it chose.
DesktopOverride::Found find(const QString &appId, const QProcessEnvironment &environment);

// The tool's arguments that make the application open in `code` (LANGUAGE gets `value`), and
// those that remove Vexilo's setting.
QStringList setArguments(const QString &appId, const QString &code, const QString &value);
QStringList unsetArguments(const QString &appId);

// Whether an application ID is one Flatpak accepts (reverse-DNS, no path characters).
bool isValidId(const QString &appId);

} // namespace FlatpakOverride
