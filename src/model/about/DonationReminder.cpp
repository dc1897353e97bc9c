#include "DonationReminder.h"

#include "text/Texts.h"

namespace DonationReminder {

bool isDue(bool alreadyShown, const QDateTime &installDate, const QDateTime &now, qlonglong uses)
{
    if (alreadyShown || !installDate.isValid() || !now.isValid())
        return false;
    if (installDate.msecsTo(now) <= kWaitSeconds * 1000)
        return false;
    return uses >= kMinimumUses;
}

Texts texts()
{
    return {
        Vexilo::tr("Thank you for using Vexilo!"),
        Vexilo::tr("If you're finding it useful, please do consider making a donation. It would "
                   "be much appreciated, and helps with our web hosting costs.\n\n(If you've "
                   "donated already - thank you very much!)\n"),
        Vexilo::tr("&Donate Now"),
        Vexilo::tr("&Not yet"),
    };
}

} // namespace DonationReminder
