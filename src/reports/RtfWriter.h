#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace horalog
{

// Writes a document as Rich Text Format 1, which word processors open: a font table with each
// face's family and pitch, a colour table, paragraph alignment, font sizes, bold, italic,
// underline and coloured runs. Backslashes and braces are escaped; characters beyond ASCII are
// written as \u escapes, so that names with accents survive. Pages are letter size, 12240 twips
// (8.5 inches) wide, as the report is printed.
class RtfWriter
{
  public:
    explicit RtfWriter(const QTextDocument& document);

    QByteArray rtf() const;
    // Writes the file whole or not at all: a failure raises a RuntimeError that says why and leaves
    // a file already there as it was.
    void save(const QString& path) const;

  private:
    const QTextDocument& document_;
};

} // namespace horalog
