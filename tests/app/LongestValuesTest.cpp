#include "clients/ClientData.h"
#include "employees/EmployeeForm.h"
#include "entries/EditForm.h"
#include "entries/HoursForm.h"
#include "reports/ReportOption.h"
#include "support/TestEnvironment.h"
#include "timing/TimerForm.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

using namespace horalog;

namespace
{

// A box lays its text out in the style's contents rectangle, less its text margins and a fixed
// inner margin of 2 pixels a side, and keeps one pixel after the text for the caret; text wider
// than that scrolls and loses its first characters.
int textRoom(const QLineEdit* box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = box->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, box)
                               .marginsRemoved(box->textMargins());
    constexpr int innerMargin = 2;
    constexpr int caret = 1;
    return contents.width() - 2 * innerMargin - caret;
}

struct Filled {
    QString name;
    QLineEdit* box;
    QString value;
};

} // namespace

// Every box shows the longest value it is made for in full.
class LongestValuesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;

  private slots:
    void init() { env = std::make_unique<test::TestEnvironment>(); }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void everyBoxShowsItsLongestValueInFull()
    {
        auto* timer = new TimerForm(*env->module);
        auto* employees = new EmployeeForm(*env->module);
        auto* clients = new ClientData(*env->module, nullptr);
        auto* options = new ReportOption(*env->module);
        auto* editor = new EditForm(*env->module, *new HoursForm(*env->module, *options), 0);
        const QString date = "12/25/2024";
        const QString phone = "(555) 123-4567";
        const QList<Filled> boxes{
            {"Employees: Hire Date", employees->Text1[2], date},
            {"Employees: State", employees->Text1[5], "WV"},
            {"Employees: Zip", employees->MaskEdBox1[0], "12345-6789"},
            {"Employees: Telephone", employees->MaskEdBox1[1], phone},
            {"Employees: Birthdate", employees->Text1[8], date},
            {"Employees: Soc. Sec. #", employees->MaskEdBox1[2], "123-45-6789"},
            {"Employees: Pay Rate", employees->Text1[10], "9,999.99"},
            {"Clients: State", clients->Text1[4], "WV"},
            {"Clients: Zip", clients->MaskEdBox1[0], "12345-6789"},
            {"Clients: Voice", clients->MaskEdBox1[1], phone},
            {"Clients: Fax", clients->MaskEdBox1[2], phone},
            {"Clients: Beeper", clients->MaskEdBox1[3], phone},
            {"Clients: Mobile", clients->MaskEdBox1[4], phone},
            {"Main: Start", timer->StartTime, "12:59 AM"},
            {"Main: Date", timer->DateToday, "12/31/26"},
            {"Main: End", timer->EndTime, "12:59 AM"},
            {"Main: Hours", timer->Hours, "9999.99"},
            {"Edit Form: Start Date", editor->Text1[2], "12/31/26"},
            {"Edit Form: Start Time", editor->Text2[0], "12:59 AM"},
            {"Edit Form: End Date", editor->Text2[1], "12/31/26"},
            {"Edit Form: End Time", editor->Text2[2], "12:59 AM"},
            {"Edit Form: Hours", editor->Hours, "9999.99"},
        };
        for (const Filled& filled : boxes) {
            filled.box->setText(filled.value);
            QCOMPARE(filled.box->displayText(), filled.value);
            const int needed = filled.box->fontMetrics().horizontalAdvance(filled.value);
            QVERIFY2(needed <= textRoom(filled.box),
                     qPrintable(QString("%1 needs %2 pixels for \"%3\" and has %4")
                                    .arg(filled.name)
                                    .arg(needed)
                                    .arg(filled.value)
                                    .arg(textRoom(filled.box))));
        }
    }
};

QTEST_MAIN(LongestValuesTest)
#include "LongestValuesTest.moc"
