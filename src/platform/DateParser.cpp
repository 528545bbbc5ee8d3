#include "platform/DateParser.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace horalog
{

namespace
{

// A time of day after the date: "3:15", "15:15:30", "3:15 PM", "3 PM".
const QRegularExpression
    kTrailingTime(QStringLiteral(R"(\s+(\d{1,2})(?::(\d{2})(?::(\d{2}))?)?\s*([AaPp][Mm])?$)"));
const QRegularExpression kIsoDate(QStringLiteral(R"(^(\d{4})[-/](\d{1,2})[-/](\d{1,2})$)"));
const QRegularExpression kNumericDate(QStringLiteral(R"(^(\d{1,2})([-/])(\d{1,2})(?:\2(\d{2}|\d{4}))?$)"));
const QRegularExpression kNamedDateSeparators(QStringLiteral(R"([\s,.\-/]+)"));
const QRegularExpression kDigits(QStringLiteral(R"(^\d+$)"));

bool isTimeOfDay(const QRegularExpressionMatch& time)
{
    const bool hasMinutes = time.hasCaptured(2);
    const bool hasMeridiem = time.hasCaptured(4);
    if (!hasMinutes && !hasMeridiem)
        return false;
    const int hour = time.captured(1).toInt();
    const bool hourFits = hasMeridiem ? hour >= 1 && hour <= 12 : hour <= 23;
    return hourFits && time.captured(2).toInt() < 60 && time.captured(3).toInt() < 60;
}

// The text without a time of day after the date; nullopt when what follows the date is no time.
std::optional<QString> withoutTime(const QString& text)
{
    const QRegularExpressionMatch time = kTrailingTime.match(text);
    if (!time.hasMatch() || (!time.hasCaptured(2) && !time.hasCaptured(4)))
        return text;
    if (!isTimeOfDay(time))
        return std::nullopt;
    return text.left(time.capturedStart());
}

// 1 to 12 for an English month name or its abbreviation ("Sept" too), 0 for anything else.
int monthNumber(const QString& word)
{
    const QLocale english = QLocale::c();
    for (int month = 1; month <= 12; ++month) {
        if (word.compare(english.monthName(month, QLocale::LongFormat), Qt::CaseInsensitive) == 0 ||
            word.compare(english.monthName(month, QLocale::ShortFormat), Qt::CaseInsensitive) == 0)
            return month;
    }
    return word.compare(QLatin1String("Sept"), Qt::CaseInsensitive) == 0 ? 9 : 0;
}

std::optional<int> yearOf(const QString& digits, const QDate& today)
{
    if (digits.isEmpty())
        return today.year();
    if (digits.size() == 2)
        return windowedYear(digits.toInt());
    if (digits.size() == 4)
        return digits.toInt();
    return std::nullopt;
}

std::optional<QDate> validDate(std::optional<int> year, int month, int day)
{
    if (!year)
        return std::nullopt;
    const QDate date(*year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// "July 4", "Jul 4, 1996", "4 July", "4-Jul-96": one month name, the day, and perhaps a year.
std::optional<QDate> namedDate(const QString& text, const QDate& today)
{
    const QStringList words = text.split(kNamedDateSeparators, Qt::SkipEmptyParts);
    if (words.size() < 2 || words.size() > 3)
        return std::nullopt;
    const int nameAt = monthNumber(words[0]) > 0 ? 0 : 1;
    const int month = monthNumber(words[nameAt]);
    const QString day = words[1 - nameAt];
    const QString year = words.size() == 3 ? words[2] : QString();
    if (month == 0 || !kDigits.match(day).hasMatch() || day.size() > 2 ||
        (!year.isEmpty() && !kDigits.match(year).hasMatch()))
        return std::nullopt;
    return validDate(yearOf(year, today), month, day.toInt());
}

} // namespace

int windowedYear(int twoDigits)
{
    return twoDigits < 30 ? 2000 + twoDigits : 1900 + twoDigits;
}

std::optional<QDate> parsePromptDate(const QString& text, const QDate& today)
{
    const std::optional<QString> date = withoutTime(text.trimmed());
    if (!date || date->isEmpty())
        return std::nullopt;
    if (const QRegularExpressionMatch iso = kIsoDate.match(*date); iso.hasMatch())
        return validDate(iso.captured(1).toInt(), iso.captured(2).toInt(), iso.captured(3).toInt());
    if (const QRegularExpressionMatch numeric = kNumericDate.match(*date); numeric.hasMatch())
        return validDate(yearOf(numeric.captured(4), today), numeric.captured(1).toInt(),
                         numeric.captured(3).toInt());
    return namedDate(*date, today);
}

} // namespace horalog
