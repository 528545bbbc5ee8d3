#include "reports/CsvExport.h"

#include "platform/PrivateFiles.h"
#include "platform/RuntimeError.h"
#include "reports/CsvCell.h"
#include "reports/ReportText.h"

#include <QDir>
#include <algorithm>

namespace horalog
{

namespace
{

const QByteArray kByteOrderMark = "\xEF\xBB\xBF";
// Lines gather up to this size before they are written, so that a long report costs few writes.
constexpr qsizetype kChunk = 64 * 1024;

const QStringList kHeadings{QStringLiteral("Date"),          QStringLiteral("Employee"),
                            QStringLiteral("Client"),        QStringLiteral("Project"),
                            QStringLiteral("Task"),          QStringLiteral("Start"),
                            QStringLiteral("End"),           QStringLiteral("Hours"),
                            QStringLiteral("Rounded Hours"), QStringLiteral("Billable")};

QString isoMoment(const QDateTime& moment)
{
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QString decimal(double value)
{
    return QString::number(value, 'f', 2);
}

QStringList fieldsOf(const store::ExportEntry& entry)
{
    // What users typed never reaches a spreadsheet as a formula.
    return {entry.day.toString(Qt::ISODate),
            formulaSafe(entry.employee),
            formulaSafe(entry.client),
            formulaSafe(entry.project),
            formulaSafe(entry.task),
            isoMoment(entry.start),
            isoMoment(entry.end),
            decimal(entry.hours),
            decimal(RoundedHours(entry.hours)),
            entry.billable ? QStringLiteral("Yes") : QStringLiteral("No")};
}

} // namespace

QString csvField(const QString& text)
{
    static const QString needsQuotes = QStringLiteral(",\"\r\n");
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return needsQuotes.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Unbuffered, so that a short write (a full disk) shows where it happens and never reaches commit().
// A new file is its owner's only; one it replaces keeps its rights.
CsvWriter::CsvWriter(const QString& path) : file_(path), pending_(kByteOrderMark)
{
    const TightUmask ownerOnly;
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
}

void CsvWriter::addRow(const QStringList& fields)
{
    QStringList line;
    line.reserve(fields.size());
    for (const QString& field : fields)
        line << csvField(field);
    pending_ += line.join(QLatin1Char(',')).toUtf8();
    pending_ += "\r\n";
    if (pending_.size() >= kChunk)
        writeOut();
}

void CsvWriter::commit()
{
    writeOut();
    if (!file_.commit())
        fail();
}

void CsvWriter::writeOut()
{
    for (qsizetype written = 0; written < pending_.size();) {
        const qint64 step = file_.write(pending_.constData() + written, pending_.size() - written);
        if (step <= 0)
            fail();
        written += step;
    }
    pending_.clear();
}

void CsvWriter::fail()
{
    const QString reason = file_.errorString();
    file_.cancelWriting();
    throw RuntimeError(error::PathFileAccessError,
                       QStringLiteral("'%1' could not be saved (%2).")
                           .arg(QDir::toNativeSeparators(file_.fileName()), reason));
}

void exportReportCsv(const QSqlDatabase& db, const store::EntryFilter& filter, const QString& path)
{
    CsvWriter csv(path);
    csv.addRow(kHeadings);
    store::forEachExportEntry(db, filter,
                              [&csv](const store::ExportEntry& entry) { csv.addRow(fieldsOf(entry)); });
    csv.commit();
}

} // namespace horalog
