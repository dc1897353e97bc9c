#include "AccessibleFactory.h"

#include "AppRowAccessible.h"
#include "AppRowView.h"
#include "LanguagePopUp.h"
#include "LanguagePopUpAccessible.h"

namespace {

QAccessibleInterface *vexiloAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("AppRowView") && object && object->isWidgetType())
        return new AppRowAccessible(static_cast<AppRowView *>(object));
    if (className == QLatin1String("LanguagePopUp") && object && object->isWidgetType())
        return new LanguagePopUpAccessible(static_cast<LanguagePopUp *>(object));
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(vexiloAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
