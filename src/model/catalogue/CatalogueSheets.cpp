#include "CatalogueSheets.h"

#include "text/Texts.h"

namespace CatalogueSheets {

SheetText removalQuestion(const QString &name)
{
    return {formatText(Vexilo::tr("Are you sure you want to remove %@ from Vexilo?"), {name}),
            Vexilo::tr("You can restore it later using \"Edit > Show Apps\"."), true};
}

SheetText cannotRemove(const QString &name, bool invalid)
{
    return {formatText(Vexilo::tr("%@ cannot be removed from Vexilo."), {name}),
            invalid ? Vexilo::tr("This app has been moved or deleted.")
                    : Vexilo::tr("This app has no bundle identifier, so Vexilo cannot hide it."),
            false};
}

SheetText nothingAdded()
{
    return {Vexilo::tr("No apps were added."),
            Vexilo::tr("All the applications you selected are already in Vexilo."), false};
}

SheetText added(int count)
{
    return {Vexilo::tr("Done!"),
            formatText(Vexilo::tr("%d apps have been added to Vexilo."), {QString::number(count)}),
            false};
}

SheetText notAnApplication(const QStringList &names, OthersChosen others)
{
    const QString title = names.size() == 1
                              ? formatText(Vexilo::tr("%@ is not an application."), {names.first()})
                              : formatText(Vexilo::tr("These folders are not applications: %@."),
                                           {names.join(QStringLiteral(", "))});
    QString message;
    switch (others) {
    case OthersChosen::None:
        message = Vexilo::tr("Choose application bundles: folders whose names end in .app and that "
                             "hold a Contents/Info.plist file. Nothing was added.");
        break;
    case OthersChosen::Added:
        message = Vexilo::tr("Only application bundles can be added: folders whose names end in "
                             ".app and that hold a Contents/Info.plist file. The other "
                             "applications you selected were added.");
        break;
    case OthersChosen::AlreadyShown:
        message = Vexilo::tr("Only application bundles can be added: folders whose names end in "
                             ".app and that hold a Contents/Info.plist file. The other "
                             "applications you selected are already in Vexilo.");
        break;
    }
    return {title, message, false};
}

SheetText notSaved(const QString &filePath)
{
    return {Vexilo::tr("Vexilo could not save your change."),
            formatText(Vexilo::tr("Nothing was changed. Check that the file %@ and its folder "
                                  "can be written."),
                       {filePath}),
            false};
}

} // namespace CatalogueSheets
