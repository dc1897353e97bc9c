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
    // Read and written under the domain's lock: two starts at once must both count.
    qlonglong uses = 0;
    defaults.update([&uses](QVariantMap &stored) {
        const qlonglong count = UserDefaults::integerValue(stored.value(DefaultsKeys::NumUses));
        // A count that cannot grow any more stays where it is.
        uses = count < std::numeric_limits<qlonglong>::max() ? count + 1 : count;
        stored.insert(DefaultsKeys::NumUses, uses);
    });
    return uses;
}

} // namespace VexiloDefaults
