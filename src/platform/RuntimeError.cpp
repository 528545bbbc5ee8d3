#include "platform/RuntimeError.h"

#include <QHash>

namespace horalog
{

QString errorMessage(int number)
{
    static const QHash<int, QString> messages{
        {error::InvalidProcedureCall, "Invalid procedure call or argument."},
        {error::TypeMismatch, "Type mismatch: '%1'."},
        {error::PathFileAccessError, "Path/File access error: %1"},
        {error::NoDataFile,
         "No data file is open.  Horalog could not use the data file in '%1'; correct it and start Horalog "
         "again."},
        {error::InvalidPropertyValue, "'%1' is not in the list."},
        {error::NoBoundField,
         "Find searches the field of the box that has the focus; put the focus in a box first."},
        {error::PrinterError, "Printer error: %1"},
        {error::DatabaseError, "The data file reported an error: %1"},
        {error::NoCurrentRecord, "No current record."},
        {error::DuplicateKey, "The changes were not saved because another row already has the same %1."},
        {error::FileNotFound, "Couldn't find file '%1'."},
        {error::DiskFull, "Not enough space on disk to write '%1'."},
        {error::NotAValidPath, "'%1' isn't a valid path."},
        {error::DataFileDamaged, "The data file %1 is damaged.  Restore it from a backup."},
        {error::FileReadOnly, "The file '%1' is read-only or could not be written."},
        {error::NoEmployeeChosen, "\"Individual Employee\" is checked, but no employee is chosen."},
        {error::TableNotFound, "The data file has no table or field '%1'."},
        {error::RecordLocked, "Couldn't update '%1'; the data file is locked by another program."},
        {error::IncompleteDataFile, "The data file '%1' lacks tables or fields that Horalog needs: %2."},
        {error::UnrecognizedFormat, "Unrecognized database format '%1'."},
    };
    return messages.value(number, "Application-defined or object-defined error.");
}

RuntimeError::RuntimeError(int number, const QString& detail, const QString& moreDetail)
    : number_(number), text_(errorMessage(number))
{
    // Both at once, so that a "%2" inside the first detail stays as it is.
    if (text_.contains("%2"))
        text_ = text_.arg(detail, moreDetail);
    else if (text_.contains("%1"))
        text_ = text_.arg(detail);
    utf8_ = QStringLiteral("Error %1: %2").arg(number).arg(text_).toUtf8();
}

} // namespace horalog
