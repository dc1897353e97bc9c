#pragma once

#include <QString>

// Localisation folders of older bundles carry English language names ("French") instead of
// codes ("fr"). Matched case-sensitively, as the folder names are.
namespace LanguageCodes {

// "fr" for "French"; an empty string when the name is not one of the classic names.
QString codeForClassicName(const QString &name);

} // namespace LanguageCodes
