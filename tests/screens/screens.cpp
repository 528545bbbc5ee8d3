// Renders every window with sample data into PNG files, to look at: horalog-screens OUTDIR
#include "app/AboutForm.h"
#include "clients/Client.h"
#include "clients/ClientData.h"
#include "employees/EmployeeForm.h"
#include "support/TestEnvironment.h"
#include "timing/TimerForm.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>

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
                    '2026-12-28 12:20:30', 2.25, 1))",
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
    test::closeAllWindows();
    return 0;
}
