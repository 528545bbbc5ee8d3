#include "platform/Formats.h"

#include "platform/DateParser.h"

#include <QLocale>
#include <QRegularExpression>
#include <QVariant>

namespace horalog
{

namespace
{
const QString kMomentFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
} // namespace

QString formatTime(const QDateTime& moment)
{
    return moment.isValid() ? QLocale::c().toString(moment.time(), QStringLiteral("h:mm AP")) : QString();
}

QString formatTime(const QTime& time)
{
    return time.isValid() ? QLocale::c().toString(time, QStringLiteral("h:mm AP")) : QString();
}

QString formatShortDate(const QDate& day)
{
    return day.isValid() ? QLocale::c().toString(day, QStringLiteral("M/d/yy")) : QString();
}

QString formatHours(double hours)
{
    return QString::number(hours, 'f', 2);
}

QString formatDate(const QDate& day)
{
    return day.isValid() ? QLocale::c().toString(day, QStringLiteral("M/d/yyyy")) : QString();
}

std::optional<double> parseAmount(const QString& text)
{
    QString plain = text.trimmed();
    if (plain.startsWith(QLatin1Char('$')))
        plain = plain.mid(1).trimmed();
    plain.remove(QLatin1Char(','));
    bool ok = false;
    const double amount = plain.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return amount;
}

QDate parseDate(const QString& text)
{
    static const QRegularExpression usDate(QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})\s*$)"));
    const auto match = usDate.match(text);
    if (match.hasMatch()) {
        const QString yearText = match.captured(3);
        const int year = yearText.size() == 2 ? windowedYear(yearText.toInt()) : yearText.toInt();
        return QDate(year, match.captured(1).toInt(), match.captured(2).toInt());
    }
    return QDate::fromString(text.trimmed(), Qt::ISODate);
}

QString storedDate(const QDate& day)
{
    return day.isValid() ? day.toString(Qt::ISODate) : QString();
}

QString storedMoment(const QDateTime& moment)
{
    return moment.isValid() ? moment.toString(kMomentFormat) : QString();
}

QDate dateFromStore(const QVariant& value)
{
    return QDate::fromString(value.toString().left(10), Qt::ISODate);
}

QDateTime momentFromStore(const QVariant& value)
{
    return QDateTime::fromString(value.toString(), kMomentFormat);
}

QString storedTimeOfDay(const QTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QTime timeOfDayFromStore(const QVariant& value)
{
    const QString text = value.toString().trimmed();
    for (const QString& format : {QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm"),
                                  QStringLiteral("h:mm AP"), QStringLiteral("h:mm:ss AP")}) {
        const QTime time = QLocale::c().toTime(text, format);
        if (time.isValid())
            return time;
    }
    return {};
}

} // namespace horalog
