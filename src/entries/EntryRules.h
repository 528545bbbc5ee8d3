#pragma once

#include "store/Catalogue.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace horalog
{

// One line of the hours list: the day as "mm/dd/yy", four blanks, the hours as "0.00", a tab, a
// blank and the client.
QString hoursLine(const QDate& day, double hours, const QString& client);

// The nine lines of an entry's details, each label followed by the value; lines end in a carriage
// return, the last one excepted.
QString detailText(const QString& employeeName, const store::TimesEntry& entry);

// The units the spin buttons of the entry editor step a start or an end by.
enum class StepUnit { Month, Day, Hour, Minute };

// `moment` moved one unit forward (direction 1) or back (-1) on the calendar, by its date and clock
// time: minutes carry into hours, hours into days, days into months and years. A month step keeps
// the day and the time, or takes the month's last day when the month is shorter.
QDateTime steppedMoment(const QDateTime& moment, StepUnit unit, int direction);

} // namespace horalog
