#pragma once

class QPrinter;
class QTextDocument;

namespace horalog
{

// Prints documents on the default printer. A print that did not reach the printer whole (no
// printer installed, a job the printer refused or that broke off) raises a RuntimeError with the
// printer error's number, so nobody is told a report was printed when it was not.
class Printer
{
  public:
    virtual ~Printer() = default;
    virtual void print(const QTextDocument& document) = 0;
};

// Lays `document` out on letter pages 8.5 inches wide and paints it on `printer`, one page after
// the other; any step the printer refuses raises the printer error.
void printOnLetterPages(const QTextDocument& document, QPrinter& printer);

} // namespace horalog
