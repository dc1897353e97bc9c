#include "VexiloDefaults.h"

#include "DefaultsKeys.h"
#include "UserDefaults.h"

#include <QVariantList>

namespace VexiloDefaults {

void prepare(UserDefaults &defaults, const QDateTime &now)
{
    defaults.registerDefaults({
        {DefaultsKeys::ExtraApps, QVariantList()},
        {DefaultsKeys::HiddenApps, QVariantList()},
        {DefaultsKeys::NumUses, 0},
        {DefaultsKeys::ShownDonateBox, false},
    });
    if (!defaults.objectForKey(DefaultsKeys::InstallDate).isValid())
        defaults.setObject(DefaultsKeys::InstallDate, now.toUTC());
}

qlonglong countUse(UserDefaults &defaults)
{
    const qlonglong uses = defaults.integerForKey(DefaultsKeys::NumUses) + 1;
    defaults.setInteger(DefaultsKeys::NumUses, uses);
    return uses;
}

} // namespace VexiloDefaults
