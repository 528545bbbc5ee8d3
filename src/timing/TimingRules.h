#pragma once

#include <QDateTime>

namespace horalog
{

// Whole minutes between two moments with their seconds dropped: 9:59:50 to 10:00:10 is one minute.
int minuteBoundaries(const QDateTime& start, const QDateTime& end);

// Minutes as hours to two decimals, the value shown and recorded.
double hoursFromMinutes(int minutes);

// A moment to the whole second, as the data file keeps it.
QDateTime toWholeSecond(const QDateTime& moment);

} // namespace horalog
