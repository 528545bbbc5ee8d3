#include "entries/EntryRules.h"

#include "platform/Formats.h"

#include <QLocale>

namespace horalog
{

namespace
{

// "h:nn am/pm": the hour without a leading zero, two-digit minutes, lower-case am or pm.
QString lowerCaseTime(const QDateTime& moment)
{
    return moment.isValid() ? QLocale::c().toString(moment.time(), QStringLiteral("h:mm ap")) : QString();
}

} // namespace

QString hoursLine(const QDate& day, double hours, const QString& client)
{
    const QString shownDay =
        day.isValid() ? QLocale::c().toString(day, QStringLiteral("MM/dd/yy")) : QString();
    return shownDay + QStringLiteral("    ") + formatHours(hours) + QStringLiteral("\t ") + client;
}

QString detailText(const QString& employeeName, const store::TimesEntry& entry)
{
    const QString afterLabel = QStringLiteral("\t   ");
    const QStringList lines{
        QStringLiteral("Employee:   ") + employeeName,
        QStringLiteral("Client:") + afterLabel + entry.client,
        QStringLiteral("Project:") + afterLabel + entry.project,
        QStringLiteral("Task:") + afterLabel + entry.task,
        QStringLiteral("Date:") + afterLabel + formatShortDate(entry.day),
        QStringLiteral("Start:") + afterLabel + lowerCaseTime(entry.start),
        QStringLiteral("End:") + afterLabel + lowerCaseTime(entry.end),
        QStringLiteral("Hours:") + afterLabel + formatHours(entry.hours),
        QStringLiteral("Billable:") + afterLabel +
            (entry.billable ? QStringLiteral("Yes") : QStringLiteral("No")),
    };
    return lines.join(QLatin1Char('\r'));
}

// The arithmetic runs on the clock time as written, without a time zone, so that a step over a
// change to or from summer time still moves the written hour by one.
QDateTime steppedMoment(const QDateTime& moment, StepUnit unit, int direction)
{
    const QDateTime written(moment.date(), moment.time(), Qt::UTC);
    QDateTime stepped;
    switch (unit) {
    case StepUnit::Month:
        stepped = written.addMonths(direction);
        break;
    case StepUnit::Day:
        stepped = written.addDays(direction);
        break;
    case StepUnit::Hour:
        stepped = written.addSecs(qint64(direction) * 3600);
        break;
    case StepUnit::Minute:
        stepped = written.addSecs(qint64(direction) * 60);
        break;
    }
    return QDateTime(stepped.date(), stepped.time());
}

} // namespace horalog
