#pragma once

#include <QDateTime>
#include <QString>

// The one-time reminder that asks for a donation once Vexilo has been used long enough.
namespace DonationReminder {

// Six weeks, and fifty starts, before the reminder may show.
inline constexpr qint64 kWaitSeconds = 3628800;
inline constexpr qlonglong kMinimumUses = 50;

// Whether to show the reminder at the end of this start: not shown before, more than six weeks
// since the first start, and at least fifty starts counted (this one included). An unreadable
// or future first-start date never makes it due.
bool isDue(bool alreadyShown, const QDateTime &installDate, const QDateTime &now, qlonglong uses);

struct Texts {
    QString title;
    QString message;
    QString donateButton;
    QString laterButton;
};

// The reminder's texts in the user's language.
Texts texts();

} // namespace DonationReminder
