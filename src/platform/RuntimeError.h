#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace horalog
{

// Error numbers the users of the earlier program know from its error reports.
namespace error
{
constexpr int InvalidProcedureCall = 5;
constexpr int TypeMismatch = 13;
constexpr int PathFileAccessError = 75;
// A command needs the data file, which did not open at start.
constexpr int NoDataFile = 91;
constexpr int InvalidPropertyValue = 380;
constexpr int NoBoundField = 438;
constexpr int PrinterError = 482;
constexpr int DatabaseError = 3000;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int FileNotFound = 3024;
constexpr int DiskFull = 3026;
constexpr int NotAValidPath = 3044;
constexpr int DataFileDamaged = 3049;
constexpr int FileReadOnly = 3051;
constexpr int NoEmployeeChosen = 3075;
constexpr int TableNotFound = 3078;
constexpr int RecordLocked = 3260;
constexpr int IncompleteDataFile = 3265;
constexpr int UnrecognizedFormat = 3343;
} // namespace error

// The message of an error number; "%1" (and "%2") in it stand for the file, table or value concerned.
QString errorMessage(int number);

class RuntimeError : public std::exception
{
  public:
    RuntimeError(int number, const QString& detail = {}, const QString& moreDetail = {});
    int number() const { return number_; }
    const QString& text() const { return text_; }
    const char* what() const noexcept override { return utf8_.constData(); }

  private:
    int number_;
    QString text_;
    QByteArray utf8_;
};

} // namespace horalog
