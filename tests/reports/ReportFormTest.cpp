#include "reports/ReportForm.h"
#include "entries/HoursForm.h"
#include "platform/QtPlatform.h"
#include "reports/ReportOption.h"
#include "reports/ReportPeriods.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <sys/stat.h>

using namespace horalog;

namespace
{

ReportOptions december()
{
    ReportOptions options;
    options.filter.firstDay = QDate(2026, 12, 1);
    options.filter.lastDay = QDate(2026, 12, 15);
    return options;
}

QStringList detailLines(const ReportForm* form)
{
    QStringList lines = form->RichTextBox1->document()->toPlainText().split('\n');
    const qsizetype headings = lines.indexOf(QRegularExpression("Client +Project.*"));
    return headings < 0 ? QStringList() : lines.mid(headings + 1);
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The report window over a small data file: what it lists, and its Print, Save and Close.
class ReportFormTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    std::unique_ptr<QTemporaryDir> start;
    QPointer<ReportForm> form;

    void open(const ReportOptions& options = december())
    {
        form = new ReportForm(*env->module, options);
        QVERIFY(test::showActive(form));
    }

    static void press(QPushButton* button)
    {
        QVERIFY(button->isVisible() && button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static void trigger(QAction* item)
    {
        QVERIFY(item && item->isEnabled());
        item->trigger();
    }

    // The report options window, not shown, with its client, billable and employee choices made;
    // an employee name of "" checks "Individual Employee" and chooses nobody.
    QPointer<ReportOption> chooseOptions(const QString& client, bool billable, const QString& employee)
    {
        QPointer<ReportOption> dialog = new ReportOption(*env->module);
        if (!client.isEmpty())
            dialog->Combo1->setCurrentIndex(dialog->Combo1->findText(client));
        if (billable)
            dialog->Option2[1]->click();
        if (!employee.isNull()) {
            dialog->Check1->click();
            dialog->DBCombo1->setCurrentIndex(dialog->DBCombo1->findText(employee));
        }
        return dialog;
    }

    QString reports(const QString& name = {}) const
    {
        return QDir(start->path()).filePath(name.isEmpty() ? "Reports" : "Reports/" + name);
    }

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        start = std::make_unique<QTemporaryDir>();
        env->module->StartDir = start->path();
        env->sql({
            "INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice'), ('Chen', 'Bo')",
            R"(INSERT INTO Clients (ClientName) VALUES ('Acme'), ('O''Brien & Sons'), ('Zenith'))",
            R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours,
                Billable) VALUES
                (1, 'Acme', 'Mill', 'Survey', '2026-12-01', '2026-12-01 13:00:00', '2026-12-01 14:00:00', 1.0, 1),
                (2, 'Acme', 'Mill', 'Drawing', '2026-12-01', '2026-12-01 09:00:00', '2026-12-01 09:30:00', 0.5, 0),
                (1, 'O''Brien & Sons', 'Deck', 'Repair', '2026-12-02', '2026-12-02 10:00:00',
                    '2026-12-02 10:08:00', 0.13, 1),
                (1, 'Zenith', 'Tower', 'Before', '2026-11-30', '2026-11-30 08:00:00', '2026-11-30 09:00:00', 1.0, 1),
                (1, 'Zenith', 'Tower', 'Last day', '2026-12-15', '2026-12-15 16:00:00', '2026-12-15 18:59:00',
                    2.99, 1),
                (1, 'Acme', 'Mill', 'After', '2026-12-16', '2026-12-16 08:00:00', '2026-12-16 09:00:00', 1.0, 1))",
            "INSERT INTO Times DEFAULT VALUES",
        });
        env->module->openTaskDatabase();
        env->fake.printer.pdfPath.clear();
        env->fake.printer.printed.clear();
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        start.reset();
    }

    void reportIsReadyWithFocusOnPrint()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor); // as the hours list opens the report
        open();
        QCOMPARE(form->windowTitle(), QString("Horalog Report"));
        QVERIFY(form->RichTextBox2->isHidden());
        QVERIFY(form->SSCommand1[0]->hasFocus());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(form->RichTextBox1->textCursor().position(), 0);
        QCOMPARE(form->RichTextBox1->document()->firstBlock().text(), QString("Horalog 96"));
        // The 70 columns of the table fit the box; nothing hides behind a scroll bar.
        QTRY_COMPARE(form->RichTextBox1->horizontalScrollBar()->maximum(), 0);
        QVERIFY(form->RichTextBox1->document()->idealWidth() > 500);

        // Later activations leave the report as the user left it.
        QTextCursor selection(form->RichTextBox1->document()->findBlockByNumber(6));
        selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        form->RichTextBox1->setTextCursor(selection);
        form->activate();
        QVERIFY(form->RichTextBox1->textCursor().hasSelection());
    }

    void entriesOfThePeriodByClientDayAndStart()
    {
        open();
        QCOMPARE(detailLines(form),
                 (QStringList{
                     "Acme        Mill      Drawing      12/1/26    9:00a     9:30a     0.50",
                     "Acme        Mill      Survey       12/1/26    1:00p     2:00p     1.00",
                     "                                                         Acme:    1.50",
                     "",
                     "O'Brien & S Deck      Repair       12/2/26   10:00a    10:08a     0.25",
                     "                                               O'Brien & Sons:    0.25",
                     "",
                     "Zenith      Tower     Last day     12/15/26   4:00p     6:59p     3.00",
                     "                                                       Zenith:    3.00",
                     "",
                     "                                                        Total:    4.75",
                     "",
                     "",
                 }));
    }

    void filtersNarrowTheReport_data()
    {
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("billableOnly");
        QTest::addColumn<int>("employee");
        QTest::addColumn<QStringList>("tasks");
        QTest::addColumn<QString>("total");
        QTest::newRow("a client with an apostrophe")
            << "O'Brien & Sons" << false << 0 << QStringList{"Repair"}
            << "                                                        Total:    0.25";
        QTest::newRow("billable only")
            << "" << true << 0 << QStringList{"Survey", "Repair", "Last day"}
            << "                                                        Total:    4.25";
        QTest::newRow("one employee")
            << "" << false << 2 << QStringList{"Drawing"}
            << "Chen, Bo                                                Total:    0.50";
        QTest::newRow("client and billable")
            << "Acme" << true << 0 << QStringList{"Survey"}
            << "                                                        Total:    1.00";
    }

    void filtersNarrowTheReport()
    {
        QFETCH(QString, client);
        QFETCH(bool, billableOnly);
        QFETCH(int, employee);
        QFETCH(QStringList, tasks);
        QFETCH(QString, total);
        ReportOptions options = december();
        if (!client.isEmpty())
            options.filter.client = client;
        options.filter.billableOnly = billableOnly;
        if (employee) {
            options.filter.employeeId = employee;
            options.employeeName = "Chen, Bo";
        }
        open(options);
        QStringList listed;
        for (const QString& line : detailLines(form)) {
            if (line.contains(QRegularExpression(R"( \d+/\d+/\d+ )")))
                listed << line.mid(22, 12).trimmed();
        }
        QCOMPARE(listed, tasks);
        QVERIFY(detailLines(form).contains(total));
    }

    void anEmployeeReportWithoutAnEmployeeSaysSo()
    {
        const QPointer<ReportOption> dialog = chooseOptions(QString(), false, QString(""));
        env->fake.prompter.answer(Answer::Ok);
        form = new ReportForm(*env->module, *dialog);
        QVERIFY(test::showActive(form));
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(
            box.text,
            QString(
                "Error 3075 has ocurred.  \"Individual Employee\" is checked, but no employee is chosen."));
        QCOMPARE(box.title, QString("Horalog"));
        QVERIFY(form->isVisible());
        QVERIFY(form->RichTextBox1->document()->isEmpty());
        QVERIFY(form->RichTextBox2->isHidden());
    }

    void theHoursListOpensTheReportOfItsChoices_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("billable");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("tasks");
        QTest::addColumn<QString>("total");
        QTest::newRow("today, every client")
            << int(FixedPeriod::Today) << QDateTime(QDate(2026, 12, 1), QTime(18, 0)) << QString() << false
            << QString() << "Task Hours: December 1" << QStringList{"Drawing", "Survey"}
            << "                                                        Total:    1.50";
        QTest::newRow("the month, one employee's billable work for one client")
            << int(FixedPeriod::CurrentMonth) << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << "Acme"
            << true << "Brandt, Alice"
            << "Task Hours: December 1 to December 31, 2026" << QStringList{"Survey", "After"}
            << "Brandt, Alice                                           Total:    2.00";
    }

    void theHoursListOpensTheReportOfItsChoices()
    {
        QFETCH(int, period);
        QFETCH(QDateTime, end);
        QFETCH(QString, client);
        QFETCH(bool, billable);
        QFETCH(QString, employee);
        QFETCH(QString, heading);
        QFETCH(QStringList, tasks);
        QFETCH(QString, total);
        const QPointer<ReportOption> dialog = chooseOptions(client, billable, employee);
        {
            const QSignalBlocker quiet(dialog->Option1[size_t(period)]);
            dialog->Option1[size_t(period)]->setChecked(true);
        }
        env->module->ReportStartDate = QDateTime(QDate(2026, 12, 1), QTime(0, 0));
        env->module->ReportEndDate = end;
        auto* hours = new HoursForm(*env->module, *dialog);
        QVERIFY(test::showActive(hours));

        QStringList shown;
        bool hourglassEnded = false;
        test::whenShown<ReportForm>(this, [&](ReportForm* report) {
            form = report;
            QTRY_VERIFY(report->RichTextBox2->isHidden());
            shown = report->RichTextBox1->document()->toPlainText().split('\n');
            hourglassEnded = QApplication::overrideCursor() == nullptr;
            report->SSCommand1[2]->click();
        });
        press(hours->SSCommand1[0]);
        QTRY_VERIFY(form.isNull());
        QVERIFY(hourglassEnded);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(shown.value(2), heading);
        QStringList listed;
        for (const QString& line : std::as_const(shown)) {
            if (line.contains(QRegularExpression(R"( \d+/\d+/\d+ )")))
                listed << line.mid(22, 12).trimmed();
        }
        QCOMPARE(listed, tasks);
        QVERIFY(shown.contains(total));
        QVERIFY(hours->isVisible());
    }

    void saveMakesTheReportsFolderAndAddsTheSuffix()
    {
        open();
        env->fake.prompter.answerText(reports("december"));
        // Whatever the umask, the folder and the report are the owner's only.
        const mode_t startedWith = ::umask(0);
        press(form->SSCommand1[1]);
        ::umask(startedWith);
        QCOMPARE(QFile::permissions(reports()) & 0x0777, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QCOMPARE(QFile::permissions(reports("december.rtf")) & 0x0777, QFile::ReadUser | QFile::WriteUser);
        const FileRequest& dialog = env->fake.prompter.files.first();
        QCOMPARE(dialog.title, QString("Save Report"));
        QCOMPARE(dialog.filter, QString("Rich Text Format (*.rtf)|*.rtf"));
        QCOMPARE(dialog.directory, reports());
        const QByteArray saved = contentsOf(reports("december.rtf"));
        QVERIFY(saved.startsWith("{\\rtf1"));
        QVERIFY(saved.contains("O'Brien & Sons:    0.25"));

        // The same name again: the file with the suffix is there, so the user is asked first.
        QFile::resize(reports("december.rtf"), 10);
        env->fake.prompter.answerText(reports("december"));
        env->fake.prompter.answer(Answer::No);
        trigger(form->SaveMenuItem);
        const MessageRequest& question = env->fake.prompter.messages.last();
        QCOMPARE(question.text, QString("december.rtf already exists.\rDo you want to replace it?"));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(question.defaultAnswer, Answer::No);
        QCOMPARE(contentsOf(reports("december.rtf")).size(), 10);

        env->fake.prompter.answerText(reports("december"));
        env->fake.prompter.answer(Answer::Yes);
        trigger(form->SaveMenuItem);
        QCOMPARE(contentsOf(reports("december.rtf")), saved);

        // A name typed with its suffix was already asked about by the dialog.
        env->fake.prompter.answerText(reports("December.RTF"));
        trigger(form->SaveMenuItem);
        QStringList files = QDir(reports()).entryList(QDir::Files);
        files.sort();
        QCOMPARE(files, (QStringList{"December.RTF", "december.rtf"}));
    }

    void cancelSavesNothing()
    {
        open();
        env->fake.prompter.answerText(QString());
        press(form->SSCommand1[1]);
        QVERIFY(QFileInfo(reports()).isDir());
        QVERIFY(QDir(reports()).isEmpty());
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void aSaveThatFailsSaysWhyAndARetryWrites()
    {
        open();
        QFile blocker(reports());
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
        blocker.close();
        env->fake.prompter.answer(Answer::Ok);
        press(form->SSCommand1[1]);
        const MessageRequest& box = env->fake.prompter.messages.last();
        QCOMPARE(box.title, QString("Horalog"));
        QCOMPARE(box.text,
                 QString("Path/File access error: the folder '%1' could not be made.").arg(reports()));
        QVERIFY(form->isVisible());

        QVERIFY(QFile::remove(reports()));
        env->fake.prompter.answerText(reports("retry.rtf"));
        press(form->SSCommand1[1]);
        QVERIFY(contentsOf(reports("retry.rtf")).contains("Total:    4.75"));
    }

    void printSendsTheWholeReportOrTheSelection()
    {
        open();
        env->fake.printer.pdfPath = QDir(start->path()).filePath("whole.pdf");
        press(form->SSCommand1[0]);
        QCOMPARE(env->fake.printer.printed, QStringList{form->RichTextBox1->document()->toPlainText()});
        const QByteArray pdf = contentsOf(env->fake.printer.pdfPath);
        QVERIFY(pdf.startsWith("%PDF"));
        QVERIFY(pdf.contains("/MediaBox [0 0 612.000000 792.000000]")); // a letter page, 8.5 inches wide

        QTextCursor selection(form->RichTextBox1->document()->findBlockByNumber(6));
        selection.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
        selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        form->RichTextBox1->setTextCursor(selection);
        env->fake.printer.pdfPath = QDir(start->path()).filePath("part.pdf");
        trigger(form->PrintMenuItem);
        QCOMPARE(env->fake.printer.printed.last(),
                 form->RichTextBox1->textCursor().selection().toPlainText());
        QVERIFY(env->fake.printer.printed.last().startsWith("Acme        Mill      Drawing"));
        QVERIFY(contentsOf(env->fake.printer.pdfPath).startsWith("%PDF"));
    }

    void aPrintThatFailsIsReported_data()
    {
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<QString>("message");
        QTest::newRow("no printer") << ""
                                    << "Printer error: no printer is installed.";
        QTest::newRow("job refused") << "gone/report.pdf"
                                     << "Printer error: the printer did not accept the job.";
    }

    void aPrintThatFailsIsReported()
    {
        QFETCH(QString, pdf);
        QFETCH(QString, message);
        open();
        env->fake.printer.pdfPath = pdf.isEmpty() ? pdf : QDir(start->path()).filePath(pdf);
        env->fake.prompter.answer(Answer::Ok);
        press(form->SSCommand1[0]);
        QCOMPARE(env->fake.prompter.messages.last().text, message);
        QCOMPARE(env->fake.prompter.messages.last().title, QString("Horalog"));
        QVERIFY(env->fake.printer.printed.isEmpty());
    }

    void theRealPrinterSaysWhenThereIsNone()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this machine has a printer; nothing is printed on it");
        QTextDocument document("text");
        QtPrinter printer;
        try {
            printer.print(document);
            QFAIL("printing claimed success without a printer");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.text(), QString("Printer error: no printer is installed."));
        }
    }

    void menusOfferTheCommands()
    {
        open();
        QStringList items;
        for (const QAction* item : form->FileMenu->actions())
            items << (item->isSeparator() ? "-" : item->text() + " " + item->shortcut().toString());
        QCOMPARE(items,
                 (QStringList{"&Save Ctrl+S", "&Export as CSV... ", "&Print Ctrl+P", "-", "&Close Ctrl+F4"}));
        // The shortcuts work while the report box has the focus.
        env->fake.printer.pdfPath = QDir(start->path()).filePath("keys.pdf");
        form->RichTextBox1->setFocus();
        QTest::keyClick(form->RichTextBox1, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(env->fake.printer.printed.size(), 1);
        trigger(form->HelpMenuItem);
        QCOMPARE(env->fake.process.opened.size(), 1);
        trigger(form->CloseMenuItem);
        QTRY_VERIFY(form.isNull());
    }

    void closeButtonUnloadsTheWindow()
    {
        open();
        press(form->SSCommand1[2]);
        QTRY_VERIFY(form.isNull());
    }
};

QTEST_MAIN(ReportFormTest)
#include "ReportFormTest.moc"
