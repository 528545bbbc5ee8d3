// Renders every window with sample data into PNG files, to look at: horalog-screens OUTDIR
#include "alarms/AlarmForm.h"
#include "alarms/AlarmMessageForm.h"
#include "alarms/AlarmSwitch.h"
#include "app/AboutForm.h"
#include "app/frmMenus.h"
#include "clients/Client.h"
#include "clients/ClientData.h"
#include "employees/EmployeeForm.h"
#include "entries/EditForm.h"
#include "entries/HoursForm.h"
#include "reports/ReportForm.h"
#include "reports/ReportOption.h"
#include "support/TestEnvironment.h"
#include "timing/TimerForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>

using namespace horalog;

namespace
{

void sampleData(test::TestEnvironment& env)
{
    env.sql({
        R"(INSERT INTO Employees (LastName, FirstName, HireDate, Street, City, State, ZIP, Phone, Birthdate,
            "Social Security", PayRate, Notes) VALUES
            ('Brandt', 'Alice', '2024-12-25', '12 Harbor Road', 'Portland', 'ME', '04101-2231', '(207) 555-0142',
             '1984-11-28', '123-45-6789', 1248.5, 'Prefers morning meetings.'),
            ('O''Neil', 'sean', '2021-09-01', '', '', '', '', '', '', '', 35, ''))",
        R"(INSERT INTO Clients (ClientName, Street, Suite, City, State, ZIP, "Contact First", "Contact Last", Voice,
            Extension, FAX, Beeper, Car, "e-Mail") VALUES
            ('Acme Tooling', '400 Mill Street', 'Suite 12', 'Lowell', 'MA', '01852-4400', 'Dana', 'Whitfield',
             '(978) 555-0110', '214', '(978) 555-0111', '(978) 555-0188', '(978) 555-0199', 'dana@acme.example'),
            ('Baker''s Dozen', '', '', '', '', '', '', '', '', '', '', '', '', ''),
            ('zenith', '', '', '', '', '', '', '', '', '', '', '', '', ''))",
        R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours, Billable)
            VALUES (1, 'Acme Tooling', 'Press line', 'Site survey', '2026-12-28', '2026-12-28 10:05:00',
                    '2026-12-28 12:20:30', 2.25, 1),
                   (2, 'Baker''s Dozen', 'Ovens', 'Repair', '2026-12-02', '2026-12-02 08:00:00',
                    '2026-12-02 10:00:00', 2, 0),
                   (1, 'zenith', 'Audit', 'Ledger', '2026-12-03', '2026-12-03 09:10:00',
                    '2026-12-03 21:40:00', 12.5, 1),
                   (2, 'Acme Tooling', 'Press line', 'Report', '2026-12-04', '2026-12-04 16:00:00',
                    '2026-12-04 16:30:00', 0.5, 1),
                   (1, 'Baker''s Dozen', 'Ovens', 'Night shift', '2026-12-28', '2026-12-28 10:58:00',
                    '2026-12-28 22:58:00', 12, 0))",
        R"(INSERT INTO ALARMS (EmployeeID, AlarmDescription, AlarmTime, Recurrence, WeekDay, MonthDay, AlarmSound,
            SoundName) VALUES
            (1, 'Call Dana at Acme', '14:40:00', 0, 0, 0, 'BeepBeep.wav', 'BeepBeep.wav'),
            (1, 'Weekly status report for the Wednesday meeting', '12:59:00', 2, 3, 0,
             '/usr/share/sounds/Westminster Chimes.wav', 'Westminster Chimes.wav'),
            (1, 'Pay the rent', '09:00:00', 3, 0, 28, 'BeepBeep.wav', 'BeepBeep.wav'))",
    });
}

// Entries of December for the report, older than the main window's latest one.
void reportSampleData(test::TestEnvironment& env)
{
    env.sql({
        R"(INSERT INTO Clients (ClientName) VALUES ('Müller & Söhne'), ('O''Brien & Sons'))",
        R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours, Billable)
            VALUES (1, 'Acme Tooling', 'Press line', 'Drawings', '2026-12-01', '2026-12-01 09:05:00',
                    '2026-12-01 10:13:00', 1.13, 1),
                   (2, 'Acme Tooling', 'Press line', 'Site survey', '2026-12-01', '2026-12-01 13:30:00',
                    '2026-12-01 17:29:00', 3.98, 1),
                   (1, 'Acme Tooling', 'Conveyor', 'Quote', '2026-12-03', '2026-12-03 08:00:00',
                    '2026-12-03 08:40:00', 0.67, 0),
                   (1, 'Müller & Söhne', 'Kiln', 'Inspection', '2026-12-04', '2026-12-04 12:00:00',
                    '2026-12-04 12:07:00', 0.12, 1),
                   (2, 'O''Brien & Sons', 'Deck #2', 'Repair', '2026-12-09', '2026-12-09 10:00:00',
                    '2026-12-09 19:35:00', 9.58, 1))",
    });
}

void save(QWidget* window, const QString& dir, const QString& name)
{
    window->show();
    QApplication::processEvents();
    window->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(out);
    test::TestEnvironment env;
    sampleData(env);
    MainModule& module = *env.module;

    auto* splash = new AboutForm(module, AboutForm::Mode::Splash);
    save(splash, out, QStringLiteral("splash"));
    splash->close();
    auto* about = new AboutForm(module, AboutForm::Mode::Dialog);
    save(about, out, QStringLiteral("about"));
    auto* timer = new TimerForm(module);
    save(timer, out, QStringLiteral("main"));
    auto* employees = new EmployeeForm(module);
    employees->activate();
    save(employees, out, QStringLiteral("employees"));
    auto* clients = new Client(module);
    clients->activate();
    clients->ClientList->setCurrentRow(0);
    save(clients, out, QStringLiteral("clients"));
    auto* clientData = new ClientData(module, clients->ClientList);
    clientData->activate();
    save(clientData, out, QStringLiteral("client-record"));
    clientData->close();
    clients->close();

    auto* options = new ReportOption(module);
    options->Check1->setChecked(true);
    options->DBCombo1->setCurrentIndex(0);
    save(options, out, QStringLiteral("report-options"));
    options->Check1->setChecked(false);
    module.ReportStartDate = QDateTime(QDate(2026, 12, 1), QTime(0, 0));
    module.ReportEndDate = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59));
    auto* hours = new HoursForm(module, *options);
    hours->TimeList->setCurrentRow(0);
    hours->TimeList->item(2)->setSelected(true);
    save(hours, out, QStringLiteral("hours"));
    // The widest day and times the boxes are made for.
    auto* editor = new EditForm(module, *hours, 4);
    editor->loadEntry(hours->EntryIDs[4]);
    save(editor, out, QStringLiteral("entry-editor"));
    editor->close();
    reportSampleData(env);
    auto* report = new ReportForm(module, *options);
    report->show();
    report->activate();
    save(report, out, QStringLiteral("report"));
    report->close();

    module.CurrentEmployeeID = 1;
    auto* alarms = new AlarmForm(module);
    alarms->DBList1->setCurrentRow(1);
    save(alarms, out, QStringLiteral("alarms"));
    alarms->DBList1->setCurrentRow(2);
    alarms->Option1[3]->setChecked(true);
    save(alarms, out, QStringLiteral("alarms-monthly"));
    ToggleAlarms(module);
    save(alarms, out, QStringLiteral("alarms-checking"));
    auto* alert = new AlarmMessageForm(module);
    alert->announce(
        QStringLiteral("It's 12:59 PM...\ntime for\nWeekly status report for the Wednesday meeting"));
    save(alert, out, QStringLiteral("alarm-message"));
    alert->close();
    auto* carrier = new frmMenus(module);
    carrier->popupAt(timer->mapToGlobal(QPoint(130, 230)));
    QApplication::processEvents();
    carrier->MenuPopup->grab().save(QDir(out).filePath(QStringLiteral("alarm-popup.png")));
    timer->grab().save(QDir(out).filePath(QStringLiteral("main-alarm-on.png")));
    test::closeAllWindows();
    return 0;
}
