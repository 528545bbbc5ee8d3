#include "reports/ReportDocument.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>

namespace horalog
{

namespace
{

constexpr double kBaseSize = 9.75;
constexpr double kHeadingSize = 12;
constexpr double kPeriodLabelSize = 14;
constexpr double kTitleSize = 16;
const QColor kTitleColour(0, 0, 255);
const QString kPeriodLabel = QStringLiteral("Task Hours: ");

QTextCharFormat face(const QString& family, QFont::StyleHint hint, double points)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    format.setFontStyleHint(hint);
    format.setFontFixedPitch(hint == QFont::TypeWriter);
    format.setFontPointSize(points);
    return format;
}

QTextCharFormat table()
{
    return face(QStringLiteral("Courier New"), QFont::TypeWriter, kBaseSize);
}

// The heading emphasis: the heading lines and the total lines.
QTextCharFormat heading(QTextCharFormat format)
{
    format.setFontWeight(QFont::Bold);
    return format;
}

QTextCharFormat headingFace(double points = kHeadingSize)
{
    return heading(face(QStringLiteral("Times New Roman"), QFont::Serif, points));
}

void setFormat(QTextCursor& cursor, int from, int length, const QTextCharFormat& format)
{
    cursor.setPosition(from);
    cursor.setPosition(from + length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
}

void formatLine(QTextCursor& cursor, const ReportText::Line& line)
{
    const int from = int(line.start);
    const int length = int(line.length);
    switch (line.kind) {
    case ReportLineKind::Title: {
        QTextCharFormat title = headingFace(kTitleSize);
        title.setForeground(kTitleColour);
        setFormat(cursor, from, length, title);
        QTextBlockFormat centred = cursor.blockFormat();
        centred.setAlignment(Qt::AlignHCenter);
        cursor.setBlockFormat(centred);
        break;
    }
    case ReportLineKind::Rule:
        setFormat(cursor, from, length, headingFace());
        break;
    case ReportLineKind::Period:
        setFormat(cursor, from, length, headingFace());
        setFormat(cursor, from, int(kPeriodLabel.size()), headingFace(kPeriodLabelSize));
        break;
    case ReportLineKind::PrintDate: {
        // The date emphasis, besides the heading emphasis of the lines around it.
        QTextCharFormat printDate = headingFace();
        printDate.setFontItalic(true);
        setFormat(cursor, from, length, printDate);
        break;
    }
    case ReportLineKind::Headings:
    case ReportLineKind::ClientTotal:
    case ReportLineKind::ReportTotal:
        setFormat(cursor, from, length, heading(table()));
        break;
    case ReportLineKind::Detail:
    case ReportLineKind::Blank:
        break;
    }
}

} // namespace

std::unique_ptr<QTextDocument> reportDocument(const ReportText& report)
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Horalog Report"));

    // The whole text goes in at once in the table's face; only the few heading and total lines
    // are formatted after it.
    QTextCursor cursor(document.get());
    cursor.setBlockCharFormat(table());
    cursor.insertText(report.text, table());
    for (const ReportText::Line& line : report.lines) {
        if (line.kind != ReportLineKind::Detail && line.kind != ReportLineKind::Blank)
            formatLine(cursor, line);
    }
    return document;
}

} // namespace horalog
