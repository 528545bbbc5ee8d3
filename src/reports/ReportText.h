#pragma once

#include "store/Catalogue.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace horalog
{

// What a report is made of: the period's days and the client, billable and employee choices of the
// report options window.
struct ReportOptions {
    store::EntryFilter filter;
    // "Today" or "Yesterday" was chosen: the heading names one day, without the year.
    bool singleDay = false;
    // The employee's "Last, First" when the report is one employee's; the report total line names
    // him or her.
    std::optional<QString> employeeName;
};

// Hours rounded to the nearest quarter hour, a remainder of exactly one eighth rounding up:
// 1.10 gives 1.00, 1.13 gives 1.25, 0.125 gives 0.25, 2.99 gives 3.00.
double RoundedHours(double Hours);

// What a line of the report is; the formatting of the report document follows it.
enum class ReportLineKind {
    Title,
    Rule,
    Period,
    PrintDate,
    Headings,
    Detail,
    ClientTotal,
    ReportTotal,
    Blank
};

// The width of the report's table, in characters of a monospaced font. A value wider than its
// column (a client name on its total line, hours of 100 or more) widens its line rather than
// being cut, so that no entry and no total is ever missing.
constexpr int kReportColumns = 70;

// The report as one text, every line ended by a line feed, and what each line is. It is kept in
// one piece because a report lists every entry of its period: the document is made from it in one
// step, and only the few heading and total lines are found again to be formatted.
struct ReportText {
    struct Line {
        ReportLineKind kind;
        qsizetype start;
        qsizetype length;
    };
    QString text;
    QList<Line> lines;

    QStringView line(qsizetype index) const;
    QStringList lineTexts() const;
};

// Writes the report a row at a time: the heading first, then each row in client, day and start
// time order, with a total line after each client and the report total at the end.
class ReportTextBuilder
{
  public:
    ReportTextBuilder(const ReportOptions& options, const QDate& printDate);
    void addRow(const store::ReportEntry& row);
    ReportText finish();

  private:
    void add(ReportLineKind kind, QStringView text);
    void beginLine(ReportLineKind kind);
    void endLine();
    void closeClient();

    ReportText report_;
    std::optional<QString> reportEmployee_;
    QString previousClient_;
    double clientTotal_ = 0;
    double reportTotal_ = 0;
    bool anyRow_ = false;
};

// The whole report of `rows` (already in report order).
ReportText reportText(const QList<store::ReportEntry>& rows, const ReportOptions& options,
                      const QDate& printDate);

} // namespace horalog
