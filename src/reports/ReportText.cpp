#include "reports/ReportText.h"

#include "platform/Formats.h"
#include "platform/RuntimeError.h"

#include <QLocale>
#include <cmath>

namespace horalog
{

namespace
{

const QString kTitle = QStringLiteral("Horalog 96");
QString blanks(int count)
{
    return QString(count, QLatin1Char(' '));
}
const QString kHeadings = QStringLiteral("Client") + blanks(6) + QStringLiteral("Project") + blanks(3) +
                          QStringLiteral("Task") + blanks(10) + QStringLiteral("Date") + blanks(6) +
                          QStringLiteral("Start") + blanks(6) + QStringLiteral("End") + blanks(5) +
                          QStringLiteral("Hours");
constexpr int kClientWidth = 11;
constexpr int kProjectWidth = 9;
constexpr int kTaskWidth = 12;
constexpr int kDateWidth = 10;
constexpr int kTimeWidth = 6;
constexpr int kHoursWidth = 5;
constexpr int kTotalNameWidth = 61;
constexpr int kEmployeeWidth = 56;
constexpr int kTotalWidth = 8;
const QString kTimeGap = blanks(4);

// A value from the data file on one line, so that it cannot break the columns.
QString oneLine(QString value)
{
    for (QChar& character : value) {
        if (character.category() == QChar::Other_Control || character == QChar::LineSeparator ||
            character == QChar::ParagraphSeparator)
            character = QLatin1Char(' ');
    }
    return value;
}

// Padded with blanks or cut to exactly `width` characters.
QString column(const QString& value, int width)
{
    return oneLine(value).leftJustified(width, QLatin1Char(' '), true);
}

// Padded with blanks to `width` characters; a longer value keeps all its characters.
QString leftAligned(const QString& value, int width)
{
    return oneLine(value).leftJustified(width, QLatin1Char(' '));
}

// Right-aligned in `width` characters; a longer value keeps all its characters.
QString rightAligned(const QString& value, int width)
{
    return oneLine(value).rightJustified(width, QLatin1Char(' '));
}

// "h:mma/p": 9:05a, 12:30p.
QString shortTime(const QDateTime& moment)
{
    if (!moment.isValid())
        return {};
    const QTime time = moment.time();
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2%3")
        .arg(hour)
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QLatin1Char('a') : QLatin1Char('p'));
}

QString periodLine(const ReportOptions& options)
{
    const QLocale english = QLocale::c();
    QString line = QStringLiteral("Task Hours: ") +
                   english.toString(options.ReportStartDate.date(), QStringLiteral("MMMM d"));
    if (!options.singleDay)
        line += QStringLiteral(" to ") +
                english.toString(options.ReportEndDate.date(), QStringLiteral("MMMM d, yyyy"));
    return line;
}

QString detailLine(const store::TimesEntry& row)
{
    return column(row.client, kClientWidth) + QLatin1Char(' ') + column(row.project, kProjectWidth) +
           QLatin1Char(' ') + column(row.task, kTaskWidth) + QLatin1Char(' ') +
           column(formatShortDate(row.day), kDateWidth) + rightAligned(shortTime(row.start), kTimeWidth) +
           kTimeGap + rightAligned(shortTime(row.end), kTimeWidth) + kTimeGap +
           rightAligned(formatHours(RoundedHours(row.hours)), kHoursWidth);
}

bool sameClient(const QString& a, const QString& b)
{
    // Client names compare without regard to letter case, as the report's order does.
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

store::ReportSelection reportSelection(const ReportOptions& options)
{
    if (options.individualEmployee && !options.employeeId)
        throw RuntimeError(error::InvalidUseOfNull, QStringLiteral("no employee is chosen."));
    return {options.ReportStartDate.date(), options.ReportEndDate.date(),
            options.individualEmployee ? options.employeeId : std::nullopt, options.client,
            options.billableOnly};
}

double RoundedHours(double Hours)
{
    const double whole = std::floor(Hours);
    const double quarters = (Hours - whole) * 4;
    const double wholeQuarters = std::floor(quarters);
    return (wholeQuarters + (quarters - wholeQuarters >= 0.5 ? 1 : 0)) * 0.25 + whole;
}

ReportTextBuilder::ReportTextBuilder(const ReportOptions& options, const QDate& printDate)
{
    if (options.individualEmployee)
        reportEmployee_ = options.employeeName;
    const QString rule(kReportColumns, QLatin1Char('_'));
    add(ReportLineKind::Title, kTitle);
    add(ReportLineKind::Rule, rule);
    add(ReportLineKind::Period, periodLine(options));
    add(ReportLineKind::PrintDate, QLocale::c().toString(printDate, QStringLiteral("d-MMMM-yy")));
    add(ReportLineKind::Rule, rule);
    add(ReportLineKind::Headings, kHeadings);
}

void ReportTextBuilder::add(ReportLineKind kind, const QString& text)
{
    lines_.append({kind, text});
}

void ReportTextBuilder::addRow(const store::TimesEntry& row)
{
    if (anyRow_ && !sameClient(row.client, previousClient_))
        closeClient();
    add(ReportLineKind::Detail, detailLine(row));
    clientTotal_ += RoundedHours(row.hours);
    previousClient_ = row.client;
    anyRow_ = true;
}

void ReportTextBuilder::closeClient()
{
    add(ReportLineKind::ClientTotal, rightAligned(previousClient_, kTotalNameWidth) + QLatin1Char(':') +
                                         rightAligned(formatHours(clientTotal_), kTotalWidth));
    add(ReportLineKind::Blank, {});
    reportTotal_ += clientTotal_;
    clientTotal_ = 0;
}

QList<ReportLine> ReportTextBuilder::finish()
{
    closeClient();
    add(ReportLineKind::ReportTotal, leftAligned(reportEmployee_.value_or(QString()), kEmployeeWidth) +
                                         QStringLiteral("Total:") +
                                         rightAligned(formatHours(reportTotal_), kTotalWidth));
    add(ReportLineKind::Blank, {});
    return std::move(lines_);
}

QList<ReportLine> reportText(const QList<store::TimesEntry>& rows, const ReportOptions& options,
                             const QDate& printDate)
{
    ReportTextBuilder builder(options, printDate);
    for (const store::TimesEntry& row : rows)
        builder.addRow(row);
    return builder.finish();
}

} // namespace horalog
