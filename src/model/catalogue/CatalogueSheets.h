#pragma once

#include "text/SheetText.h"

#include <QString>
#include <QStringList>

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
// What became of the chosen applications beside folders that are no application bundles.
enum class OthersChosen { None, Added, AlreadyShown };
// Names the chosen folders that are no application bundles and were left out.
SheetText notAnApplication(const QStringList &names, OthersChosen others);
// Vexilo's preferences file could not be written; nothing changed.
SheetText notSaved(const QString &filePath);

} // namespace CatalogueSheets
