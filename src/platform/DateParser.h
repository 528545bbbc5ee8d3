#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace horalog
{

// A two-digit year as the earlier program read it: 00-29 are 2000-2029, 30-99 are 1930-1999.
int windowedYear(int twoDigits);

// Reads a date as users type it into a prompt: 7/4, 7/4/96, 7/4/1996, 7-4-96, 1996-07-04,
// "July 4", "Jul 4, 1996", "4 July 1996". A missing year is the year of `today`; a time of day after
// the date ("7/4/96 3:15 PM") is allowed and dropped. Anything else, an impossible day included,
// is not a date.
std::optional<QDate> parsePromptDate(const QString& text, const QDate& today);

} // namespace horalog
