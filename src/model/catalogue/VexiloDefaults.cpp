#include "VexiloDefaults.h"

#include "DefaultsKeys.h"
#include "platform/preferences/UserDefaults.h"

#include <QVariantList>
#include <limits>

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
    // A count that cannot grow any more stays where it is.
    const qlonglong stored = defaults.integerForKey(DefaultsKeys::NumUses);
    const qlonglong uses = stored < std::numeric_limits<qlonglong>::max() ? stored + 1 : stored;
    defaults.setInteger(DefaultsKeys::NumUses, uses);
    return uses;
}

} // namespace VexiloDefaults
