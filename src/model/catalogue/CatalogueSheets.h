#pragma once

#include "text/SheetText.h"

#include <QString>

// What the sheets of adding, removing and hiding applications say.
namespace CatalogueSheets {

// Asked before an application leaves the row.
SheetText removalQuestion(const QString &name);
// An application without identifier cannot be hidden; `invalid` when it has been moved or
// deleted.
SheetText cannotRemove(const QString &name, bool invalid);
// Every chosen application is in the row already.
SheetText nothingAdded();
// More than one application joined the row.
SheetText added(int count);
// A chosen folder is no application bundle; nothing was added.
SheetText notAnApplication(const QString &name);
// Vexilo's preferences file could not be written; nothing changed.
SheetText notSaved(const QString &filePath);

} // namespace CatalogueSheets
