#include "reports/ReportText.h"

#include "platform/Formats.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdio>

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

// Characters that would end a line in the document or in a text editor; 0xfdd0 and 0xfdd1 are the
// marks with which a rich-text document begins and ends a frame.
bool breaksLine(char16_t unit)
{
    return unit < 0x20 || (unit >= 0x7f && unit <= 0x9f) || unit == QChar::LineSeparator ||
           unit == QChar::ParagraphSeparator || unit == 0xfdd0 || unit == 0xfdd1;
}

// Appends a value from the data file on one line, so that it cannot break the columns.
template <typename Text> void appendOnOneLine(QString& line, Text value)
{
    const qsizetype from = line.size();
    line += value;
    for (qsizetype i = from; i < line.size(); ++i) {
        if (breaksLine(line.at(i).unicode()))
            line[i] = QLatin1Char(' ');
    }
}

void appendBlanks(QString& line, qsizetype count)
{
    for (; count > 0; --count)
        line += QLatin1Char(' ');
}

// Padded with blanks or cut to exactly `width` characters.
template <typename Text> void appendColumn(QString& line, Text value, int width)
{
    appendOnOneLine(line, value.left(width));
    appendBlanks(line, width - value.size());
}

// Padded with blanks to `width` characters; a longer value keeps all its characters.
template <typename Text> void appendLeftAligned(QString& line, Text value, int width)
{
    appendOnOneLine(line, value);
    appendBlanks(line, width - value.size());
}

// Right-aligned in `width` characters; a longer value keeps all its characters.
template <typename Text> void appendRightAligned(QString& line, Text value, int width)
{
    appendBlanks(line, width - value.size());
    appendOnOneLine(line, value);
}

// The report writes a line for every entry, so its dates, times and hours are formatted directly.
template <typename... Values> QLatin1String printed(char (&buffer)[24], const char* format, Values... values)
{
    const int length = std::snprintf(buffer, sizeof buffer, format, values...);
    return QLatin1String(buffer, std::clamp(length, 0, int(sizeof buffer) - 1));
}

// The short date text, "m/d/yy": 7/4/96.
QLatin1String shortDate(char (&buffer)[24], const QDate& day)
{
    if (!day.isValid())
        return {};
    return printed(buffer, "%d/%d/%02d", day.month(), day.day(), (day.year() % 100 + 100) % 100);
}

// "h:mma/p": 9:05a, 12:30p.
QLatin1String shortTime(char (&buffer)[24], const QTime& time)
{
    if (!time.isValid())
        return {};
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return printed(buffer, "%d:%02d%c", hour, time.minute(), time.hour() < 12 ? 'a' : 'p');
}

QString periodLine(const ReportOptions& options)
{
    const QLocale english = QLocale::c();
    QString line =
        QStringLiteral("Task Hours: ") + english.toString(options.filter.firstDay, QStringLiteral("MMMM d"));
    if (!options.singleDay)
        line +=
            QStringLiteral(" to ") + english.toString(options.filter.lastDay, QStringLiteral("MMMM d, yyyy"));
    return line;
}

void appendDetail(QString& line, const store::ReportEntry& row)
{
    char buffer[24];
    appendColumn(line, QStringView(row.client), kClientWidth);
    line += QLatin1Char(' ');
    appendColumn(line, QStringView(row.project), kProjectWidth);
    line += QLatin1Char(' ');
    appendColumn(line, QStringView(row.task), kTaskWidth);
    line += QLatin1Char(' ');
    appendColumn(line, shortDate(buffer, row.day), kDateWidth);
    appendRightAligned(line, shortTime(buffer, row.start), kTimeWidth);
    line += kTimeGap;
    appendRightAligned(line, shortTime(buffer, row.end), kTimeWidth);
    line += kTimeGap;
    appendRightAligned(line, printed(buffer, "%.2f", RoundedHours(row.hours)), kHoursWidth);
}

bool sameClient(const QString& a, const QString& b)
{
    // Client names compare without regard to letter case, as the report's order does.
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

double RoundedHours(double Hours)
{
    const double whole = std::floor(Hours);
    const double quarters = (Hours - whole) * 4;
    const double wholeQuarters = std::floor(quarters);
    return (wholeQuarters + (quarters - wholeQuarters >= 0.5 ? 1 : 0)) * 0.25 + whole;
}

QStringView ReportText::line(qsizetype index) const
{
    const Line& place = lines.at(index);
    return QStringView(text).mid(place.start, place.length);
}

QStringList ReportText::lineTexts() const
{
    QStringList texts;
    texts.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        texts << line(i).toString();
    return texts;
}

ReportTextBuilder::ReportTextBuilder(const ReportOptions& options, const QDate& printDate)
{
    reportEmployee_ = options.employeeName;
    const QString rule(kReportColumns, QLatin1Char('_'));
    add(ReportLineKind::Title, kTitle);
    add(ReportLineKind::Rule, rule);
    add(ReportLineKind::Period, periodLine(options));
    add(ReportLineKind::PrintDate, QLocale::c().toString(printDate, QStringLiteral("d-MMMM-yy")));
    add(ReportLineKind::Rule, rule);
    add(ReportLineKind::Headings, kHeadings);
}

void ReportTextBuilder::beginLine(ReportLineKind kind)
{
    report_.lines.append({kind, report_.text.size(), 0});
}

void ReportTextBuilder::endLine()
{
    ReportText::Line& line = report_.lines.last();
    line.length = report_.text.size() - line.start;
    report_.text += QLatin1Char('\n');
}

void ReportTextBuilder::add(ReportLineKind kind, QStringView text)
{
    beginLine(kind);
    report_.text += text;
    endLine();
}

void ReportTextBuilder::addRow(const store::ReportEntry& row)
{
    if (anyRow_ && !sameClient(row.client, previousClient_))
        closeClient();
    beginLine(ReportLineKind::Detail);
    appendDetail(report_.text, row);
    endLine();
    clientTotal_ += RoundedHours(row.hours);
    previousClient_ = row.client;
    anyRow_ = true;
}

void ReportTextBuilder::closeClient()
{
    beginLine(ReportLineKind::ClientTotal);
    appendRightAligned(report_.text, QStringView(previousClient_), kTotalNameWidth);
    report_.text += QLatin1Char(':');
    appendRightAligned(report_.text, QStringView(formatHours(clientTotal_)), kTotalWidth);
    endLine();
    add(ReportLineKind::Blank, {});
    reportTotal_ += clientTotal_;
    clientTotal_ = 0;
}

ReportText ReportTextBuilder::finish()
{
    closeClient();
    beginLine(ReportLineKind::ReportTotal);
    appendLeftAligned(report_.text, QStringView(reportEmployee_.value_or(QString())), kEmployeeWidth);
    report_.text += QStringLiteral("Total:");
    appendRightAligned(report_.text, QStringView(formatHours(reportTotal_)), kTotalWidth);
    endLine();
    add(ReportLineKind::Blank, {});
    return std::move(report_);
}

ReportText reportText(const QList<store::ReportEntry>& rows, const ReportOptions& options,
                      const QDate& printDate)
{
    ReportTextBuilder builder(options, printDate);
    for (const store::ReportEntry& row : rows)
        builder.addRow(row);
    return builder.finish();
}

} // namespace horalog
