#include "reports/RtfWriter.h"

#include "platform/RuntimeError.h"

#include <QColor>
#include <QDir>
#include <QHash>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <optional>

namespace horalog
{

namespace
{

const QByteArray kPage = "\\paperw12240\\paperh15840\\margl1080\\margr1080\\margt1080\\margb1080\n";

QByteArray familyKeyword(const QFont& font)
{
    switch (font.styleHint()) {
    case QFont::Serif:
        return "\\froman";
    case QFont::SansSerif:
        return "\\fswiss";
    case QFont::TypeWriter:
    case QFont::Monospace:
        return "\\fmodern";
    case QFont::Cursive:
        return "\\fscript";
    case QFont::Decorative:
        return "\\fdecor";
    default:
        return "\\fnil";
    }
}

bool fixedPitch(const QFont& font)
{
    return font.fixedPitch() || font.styleHint() == QFont::TypeWriter || font.styleHint() == QFont::Monospace;
}

QByteArray alignmentKeyword(Qt::Alignment alignment)
{
    switch (alignment & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute) {
    case Qt::AlignHCenter:
        return "\\qc";
    case Qt::AlignRight:
        return "\\qr";
    case Qt::AlignJustify:
        return "\\qj";
    default:
        return "\\ql";
    }
}

// Text that goes into RTF as it is.
bool plainAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar character) {
        const char16_t unit = character.unicode();
        return unit >= 0x20 && unit < 0x80 && unit != u'\\' && unit != u'{' && unit != u'}';
    });
}

// Text as RTF: control characters of RTF escaped, tabs and line breaks as their control words,
// everything beyond ASCII as a signed 16-bit \u escape with "?" for readers that lack it.
void appendText(QByteArray& out, QStringView text)
{
    if (plainAscii(text)) {
        out += text.toLatin1();
        return;
    }
    for (const QChar character : text) {
        const char16_t unit = character.unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            out += '\\';
            out += char(unit);
        } else if (unit == u'\t') {
            out += "\\tab ";
        } else if (unit == QChar::LineSeparator) {
            out += "\\line ";
        } else if (unit >= 0x20 && unit < 0x80) {
            out += char(unit);
        } else if (unit >= 0x80) {
            out += "\\u";
            out += QByteArray::number(qint16(unit));
            out += '?';
        }
    }
}

// The character formatting of one run, by its place in the font and colour tables.
struct Run {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
    bool operator==(const Run&) const = default;
};

class Writer
{
  public:
    explicit Writer(const QTextDocument& document) : document_(document) {}

    QByteArray rtf()
    {
        const QByteArray body = bodyText();
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
        out += fontTable();
        out += colourTable();
        out += kPage;
        out += body;
        out += "}\n";
        return out;
    }

  private:
    QByteArray bodyText()
    {
        QByteArray body;
        body.reserve(document_.characterCount() + 1024);
        std::optional<QByteArray> alignment;
        std::optional<Run> current;
        const QTextBlock first = document_.begin();
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            if (block != first)
                body += "\\par\n";
            const QByteArray& blockAlignment = alignmentOf(block);
            if (blockAlignment != alignment) {
                body += "\\pard" + blockAlignment + ' ';
                alignment = blockAlignment;
            }
            if (block.begin().atEnd())
                setRun(body, current, runOf(block.charFormatIndex()));
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextFragment part = fragment.fragment();
                setRun(body, current, runOf(part.charFormatIndex()));
                appendText(body, part.text());
            }
        }
        return body;
    }

    const QByteArray& alignmentOf(const QTextBlock& block)
    {
        const int formatIndex = block.blockFormatIndex();
        auto known = alignments_.find(formatIndex);
        if (known == alignments_.end())
            known = alignments_.insert(formatIndex, alignmentKeyword(block.blockFormat().alignment()));
        return *known;
    }

    void setRun(QByteArray& out, std::optional<Run>& current, const Run& run)
    {
        if (current == run)
            return;
        out += "\\plain\\f" + QByteArray::number(run.font) + "\\fs" + QByteArray::number(run.halfPoints);
        if (run.bold)
            out += "\\b";
        if (run.italic)
            out += "\\i";
        if (run.underline)
            out += "\\ul";
        if (run.colour)
            out += "\\cf" + QByteArray::number(run.colour);
        out += ' ';
        current = run;
    }

    Run runOf(int formatIndex)
    {
        const auto known = runs_.constFind(formatIndex);
        if (known != runs_.constEnd())
            return *known;
        const QTextCharFormat format = document_.allFormats().at(formatIndex).toCharFormat();
        const QFont font = format.font().resolve(document_.defaultFont());
        Run run;
        run.font = fontIndex(font);
        run.halfPoints = qRound((font.pointSizeF() > 0 ? font.pointSizeF() : 12.0) * 2);
        run.bold = font.bold();
        run.italic = font.italic();
        run.underline = font.underline();
        if (format.foreground().style() != Qt::NoBrush)
            run.colour = colourIndex(format.foreground().color());
        runs_.insert(formatIndex, run);
        return run;
    }

    int fontIndex(const QFont& font)
    {
        const QString family = font.families().value(0, font.family());
        const qsizetype known = fontNames_.indexOf(family);
        if (known >= 0)
            return int(known);
        fontNames_ << family;
        QByteArray entry = "{\\f" + QByteArray::number(fontNames_.size() - 1) + familyKeyword(font) +
                           (fixedPitch(font) ? "\\fprq1" : "\\fprq2") + "\\fcharset0 ";
        appendText(entry, family);
        fonts_ += entry + ";}";
        return int(fontNames_.size() - 1);
    }

    int colourIndex(const QColor& colour)
    {
        const qsizetype known = colours_.indexOf(colour.rgb());
        if (known >= 0)
            return int(known) + 1;
        colours_ << colour.rgb();
        return int(colours_.size());
    }

    QByteArray fontTable()
    {
        if (fontNames_.isEmpty())
            fontIndex(document_.defaultFont());
        return "{\\fonttbl" + fonts_ + "}\n";
    }

    QByteArray colourTable() const
    {
        QByteArray table = "{\\colortbl;";
        for (const QRgb colour : colours_) {
            table += "\\red" + QByteArray::number(qRed(colour)) + "\\green" +
                     QByteArray::number(qGreen(colour)) + "\\blue" + QByteArray::number(qBlue(colour)) + ';';
        }
        return table + "}\n";
    }

    const QTextDocument& document_;
    QHash<int, Run> runs_;
    QHash<int, QByteArray> alignments_;
    QStringList fontNames_;
    QByteArray fonts_;
    QList<QRgb> colours_;
};

[[noreturn]] void saveFailed(const QString& path, const QString& reason)
{
    throw RuntimeError(
        error::PathFileAccessError,
        QStringLiteral("'%1' could not be saved (%2).").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

RtfWriter::RtfWriter(const QTextDocument& document) : document_(document) {}

QByteArray RtfWriter::rtf() const
{
    return Writer(document_).rtf();
}

void RtfWriter::save(const QString& path) const
{
    const QByteArray content = rtf();
    // Unbuffered, so that a short write (a full disk) shows here: a buffered one would only show
    // when the file is flushed, and commit() would then keep the cut file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        saveFailed(path, file.errorString());
    for (qsizetype written = 0; written < content.size();) {
        const qint64 step = file.write(content.constData() + written, content.size() - written);
        if (step <= 0)
            saveFailed(path, file.errorString());
        written += step;
    }
    if (!file.commit())
        saveFailed(path, file.errorString());
}

} // namespace horalog
