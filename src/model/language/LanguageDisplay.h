#pragma once

#include <QString>

namespace LanguageDisplay {

// The user's name for a language code: as a locale identifier, else as its canonical identifier
// (which maps "French" to "fr"); empty when neither has a name.
QString nameIfKnown(const QString &code);

// As nameIfKnown, falling back to the code itself.
QString name(const QString &code);

} // namespace LanguageDisplay
