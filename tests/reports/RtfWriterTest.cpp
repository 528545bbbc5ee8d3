#include "reports/RtfWriter.h"
#include "platform/RuntimeError.h"
#include "reports/ReportDocument.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace horalog;

namespace
{

std::unique_ptr<QTextDocument> sampleReport()
{
    ReportOptions options;
    options.filter.firstDay = QDate(2026, 12, 1);
    options.filter.lastDay = QDate(2026, 12, 15);
    options.filter.employeeId = 1;
    options.employeeName = "Brandt, Zoë";
    QList<store::ReportEntry> rows;
    for (const auto& [client, project] :
         {std::pair{"Müller & Söhne", "a\\b{c}"}, std::pair{"O'Brien & Sons", "Ölwerk"}}) {
        store::ReportEntry row;
        row.client = QString::fromUtf8(client);
        row.project = QString::fromUtf8(project);
        row.task = "Survey";
        row.day = QDate(2026, 12, 2);
        row.start = QTime(9, 5);
        row.end = QTime(10, 20);
        row.hours = 1.25;
        rows << row;
    }
    return reportDocument(reportText(rows, options, QDate(2026, 12, 10)));
}

QString squeezed(QString text)
{
    static const QRegularExpression blanks(QStringLiteral(" +"));
    return text.replace(blanks, QStringLiteral(" "));
}

// The text of an RTF file as a word processor reads it: paragraphs as lines, escapes undone, \u
// escapes as their letters, the font and colour tables left out. Written apart from the writer,
// so that the columns and the accents are checked by a second reader.
QString readRtfText(const QByteArray& rtf)
{
    QString text;
    int depth = 0;
    int tableDepth = -1;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        const bool reading = tableDepth < 0;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == tableDepth)
                tableDepth = -1;
            --depth;
        } else if (c == '\\' && QByteArrayView("\\{}").contains(rtf[i + 1])) {
            if (reading)
                text += QLatin1Char(rtf[i + 1]);
            ++i;
        } else if (c == '\\') {
            qsizetype end = i + 1;
            while (end < rtf.size() && std::isalpha(uchar(rtf[end])))
                ++end;
            const QByteArray word = rtf.mid(i + 1, end - i - 1);
            qsizetype digits = end;
            while (digits < rtf.size() && (std::isdigit(uchar(rtf[digits])) || rtf[digits] == '-'))
                ++digits;
            const int parameter = rtf.mid(end, digits - end).toInt();
            i = rtf[digits] == ' ' ? digits : digits - 1;
            if (word == "fonttbl" || word == "colortbl")
                tableDepth = depth;
            else if (reading && word == "par")
                text += QLatin1Char('\n');
            else if (reading && word == "u") {
                text += QChar(char16_t(parameter));
                ++i; // the fallback letter for readers without \u
            }
        } else if (reading && c != '\n' && c != '\r') {
            text += QLatin1Char(c);
        }
    }
    return text;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Files larger than `bytes` cannot be written by this process, as on a full disk.
void limitFileSize(rlim_t bytes)
{
    const rlimit limit{bytes, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace

class RtfWriterTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;

    QString path(const QString& name) const { return QDir(folder->path()).filePath(name); }

  private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
    }

    void cleanup() { limitFileSize(RLIM_INFINITY); }

    void wordProcessorsReadTheSameText()
    {
        const QString unrtf = QStandardPaths::findExecutable("unrtf");
        QVERIFY2(!unrtf.isEmpty(), "unrtf is installed by scripts/install-deps.sh");
        const auto document = sampleReport();
        RtfWriter(*document).save(path("read.rtf"));

        QProcess reader;
        reader.start(unrtf, {"--text", path("read.rtf")});
        QVERIFY(reader.waitForFinished());
        QCOMPARE(reader.exitCode(), 0);
        // unrtf opens with comment lines and a rule, and shows a \u escape's fallback letter.
        const QString output = QString::fromUtf8(reader.readAllStandardOutput());
        const QString body = output.section("-----------------\n", 1);
        QString expected = document->toPlainText();
        for (QChar& character : expected) {
            if (character.unicode() > 0x7f)
                character = '?';
        }
        QCOMPARE(squeezed(body).trimmed(), squeezed(expected).trimmed());

        QCOMPARE(readRtfText(readAll(path("read.rtf"))), document->toPlainText());
    }

    void fileCarriesFontsColourSizesAndAlignment()
    {
        const QByteArray rtf = RtfWriter(*sampleReport()).rtf();
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
        QVERIFY(rtf.trimmed().endsWith('}'));
        QVERIFY(rtf.contains("{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
                             "{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}}"));
        QVERIFY(rtf.contains("{\\colortbl;\\red0\\green0\\blue255;}"));
        QVERIFY(rtf.contains("\\pard\\qc \\plain\\f0\\fs32\\b\\cf1 Horalog 96\\par"));
        QVERIFY(rtf.contains("\\pard\\ql "));
        QVERIFY(rtf.contains("\\plain\\f0\\fs28\\b Task Hours: \\plain\\f0\\fs24\\b December 1 to"));
        QVERIFY(rtf.contains("\\plain\\f0\\fs24\\b\\i 10-December-26"));
        QVERIFY(rtf.contains("M\\u252?ller & S\\u246?hne"));
        QVERIFY(rtf.contains("a\\\\b\\{c\\}"));
        QVERIFY(rtf.contains("Brandt, Zo\\u235?"));
        QVERIFY(rtf.contains("\\paperw12240"));
        for (const char byte : rtf)
            QVERIFY(uchar(byte) < 0x80);
    }

    void aFailedSaveLeavesNoHalfFileAndSaysWhy()
    {
        const auto document = sampleReport();
        QFile earlier(path("kept.rtf"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier report");
        earlier.close();

        limitFileSize(512);
        for (const QString name : {"new.rtf", "kept.rtf"}) {
            try {
                RtfWriter(*document).save(path(name));
                QFAIL("the save claimed success");
            } catch (const RuntimeError& error) {
                QCOMPARE(error.number(), error::PathFileAccessError);
                QVERIFY2(error.text().contains(path(name)) && error.text().contains("File too large"),
                         qPrintable(error.text()));
            }
        }
        limitFileSize(RLIM_INFINITY);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"kept.rtf"});
        QCOMPARE(readAll(path("kept.rtf")), QByteArray("earlier report"));

        RtfWriter(*document).save(path("kept.rtf"));
        QCOMPARE(readRtfText(readAll(path("kept.rtf"))), document->toPlainText());
    }

    void aFolderThatIsGoneIsNamed()
    {
        try {
            RtfWriter(*sampleReport()).save(path("gone/report.rtf"));
            QFAIL("the save claimed success");
        } catch (const RuntimeError& error) {
            QVERIFY2(error.text().startsWith("Path/File access error: '" + path("gone/report.rtf") + "'"),
                     qPrintable(error.text()));
        }
    }
};

QTEST_MAIN(RtfWriterTest)
#include "RtfWriterTest.moc"
