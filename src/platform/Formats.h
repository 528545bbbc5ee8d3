#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace horalog
{

// The display formats the windows share; an empty or invalid value shows as the empty text.
QString formatTime(const QDateTime& moment); // "h:mm AM/PM", e.g. 7:04 PM
QString formatTime(const QTime& time);       // the same for a time of day
QString formatShortDate(const QDate& day);   // "m/d/yy", e.g. 8/26/96
QString formatHours(double hours);           // "0.00"
QString formatDate(const QDate& day);        // "m/d/yyyy", e.g. 8/26/1996

// Reads an amount such as 12.50, $1,200 or 7; nullopt when the text is no number.
std::optional<double> parseAmount(const QString& text);

// Reads a date typed as m/d/yy, m/d/yyyy or yyyy-mm-dd; two-digit years 00-29 are 2000-2029,
// 30-99 are 1930-1999. Invalid when the text is no such date.
QDate parseDate(const QString& text);

// The text form the data file keeps dates and moments in; they sort and compare as text.
QString storedDate(const QDate& day);
QString storedMoment(const QDateTime& moment);
QDate dateFromStore(const QVariant& value);
QDateTime momentFromStore(const QVariant& value);
// A time of day is kept as "HH:MM:SS"; "h:mm AM/PM" and "HH:MM" are read too. Invalid when it is none.
QString storedTimeOfDay(const QTime& time);
QTime timeOfDayFromStore(const QVariant& value);

} // namespace horalog
