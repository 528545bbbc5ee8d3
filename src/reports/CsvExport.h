#pragma once

#include "store/Catalogue.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringList>

namespace horalog
{

// One field as RFC 4180 writes it: in double quotes, with each inner one doubled, when it holds a
// comma, a double quote or a line break; as it is otherwise.
QString csvField(const QString& text);

// Writes a table of comma-separated values that spreadsheets open: UTF-8 with a byte-order mark, so
// that accents read right, each line ended by CR LF. The file is written whole or not at all: a
// failure raises a RuntimeError that says why and leaves a file already there as it was.
class CsvWriter
{
  public:
    explicit CsvWriter(const QString& path);
    void addRow(const QStringList& fields);
    void commit();

  private:
    void writeOut();
    [[noreturn]] void fail();

    QSaveFile file_;
    QByteArray pending_;
};

// The report's entries, one line each, under a heading line: Date, Employee, Client, Project, Task,
// Start, End, Hours, Rounded Hours and Billable. Dates and moments are ISO 8601, numbers have a
// decimal point and two decimals, the billable mark is Yes or No.
void exportReportCsv(const QSqlDatabase& db, const store::EntryFilter& filter, const QString& path);

} // namespace horalog
