#include "reports/ReportOption.h"

#include "app/MainModule.h"
#include "controls/Fonts.h"
#include "controls/Twips.h"
#include "entries/HoursForm.h"
#include "platform/DateParser.h"
#include "platform/Formats.h"
#include "reports/ReportPeriods.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace horalog
{

namespace
{

const QString kOtherTitle = QStringLiteral("Report Start Date");
const QString kOtherStart = QStringLiteral("Enter the starting date of the report. (e.g., 7/4)");
const QString kOtherEnd = QStringLiteral("Enter the ending date of the report. (e.g., 7/4)");
constexpr int kOtherPeriod = 7;

struct PeriodOption {
    QString caption;
    int width;
};

// By option number, from 1; each sits 360 twips below the one before.
const std::array<PeriodOption, 7> kPeriodOptions{{
    {QStringLiteral("&Today"), 1695},
    {QStringLiteral("&Yesterday"), 1695},
    {QStringLiteral("&First of month to 15th"), 2295},
    {QStringLiteral("16th to &end of month"), 2295},
    {QStringLiteral("Current &Month"), 1695},
    {QStringLiteral("&Previous Month"), 1695},
    {QStringLiteral("&Other"), 1695},
}};

QComboBox* makeList(QWidget* parent, const QRect& twips)
{
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    placeTwips(list, twips.x(), twips.y(), twips.width(), twips.height());
    return list;
}

QGroupBox* makeFrame(QWidget* parent, const QRect& twips)
{
    auto* frame = new QGroupBox(parent);
    placeTwips(frame, twips.x(), twips.y(), twips.width(), twips.height());
    return frame;
}

} // namespace

ReportOption::ReportOption(MainModule& module) : Form(module, QStringLiteral("Report Option"), 3285, 5715)
{
    setFont(sansSerif(8.25, true));
    buildControls();
    Form_Load();
}

void ReportOption::buildControls()
{
    QWidget* area = client();
    Label1 = new QLabel(QStringLiteral("Select Client."), area);
    placeTwips(Label1, 360, 120, 1335, 255);
    Combo1 = makeList(area, {360, 360, 2535, 315});

    Frame2 = makeFrame(area, {360, 720, 2535, 615});
    Option2[0] = new QRadioButton(QStringLiteral("All"), Frame2);
    placeTwips(Option2[0], 240, 240, 855, 255);
    Option2[0]->setChecked(true);
    Option2[1] = new QRadioButton(QStringLiteral("Billable"), Frame2);
    placeTwips(Option2[1], 1320, 240, 975, 255);

    Check1 = new QCheckBox(QStringLiteral("&Individual Employee"), area);
    placeTwips(Check1, 360, 1440, 2535, 255);
    DBCombo1 = makeList(area, {360, 1800, 2535, 315});
    DBCombo1->hide();
    connect(Check1, &QCheckBox::toggled, this, &ReportOption::Check1_Click);

    buildPeriodOptions();

    Command1 = new QPushButton(QStringLiteral("&Cancel"), area);
    placeTwips(Command1, 1920, 5160, 975, 375);
    connect(Command1, &QPushButton::clicked, this, &ReportOption::Command1_Click);
}

void ReportOption::buildPeriodOptions()
{
    Frame1 = makeFrame(client(), {360, 2160, 2535, 2775});
    periodGroup_ = new QButtonGroup(this);
    for (int index = 1; index <= int(kPeriodOptions.size()); ++index) {
        const PeriodOption& option = kPeriodOptions[size_t(index - 1)];
        auto* button = new QRadioButton(option.caption, Frame1);
        placeTwips(button, 120, 240 + 360 * (index - 1), option.width, 255);
        periodGroup_->addButton(button, index);
        connect(button, &QRadioButton::toggled, this, [this, index] { Option1_Click(index); });
        Option1[size_t(index)] = button;
    }
}

void ReportOption::Form_Load()
{
    module_.guarded([this] {
        module_.CenterForm(*this);
        const QSqlDatabase db = module_.TaskDatabase();
        Combo1->addItem(QStringLiteral("All"));
        Combo1->addItems(store::clientNamesInOrder(db));
        Combo1->setCurrentIndex(0);
        for (const store::EmployeeName& employee : store::employeeNames(db))
            DBCombo1->addItem(employee.name, employee.id);
        DBCombo1->setCurrentIndex(-1);
    });
}

void ReportOption::Check1_Click()
{
    DBCombo1->setVisible(Check1->isChecked());
}

// The choice is cleared whatever happened, so that the same period can be chosen again at once.
void ReportOption::Option1_Click(int Index)
{
    if (!Option1[size_t(Index)]->isChecked())
        return;
    module_.guarded([this, Index] {
        if (!choosePeriod(Index))
            return;
        module_.showModal(new HoursForm(module_, *this));
        Command1->setText(QStringLiteral("&Close"));
    });
    clearPeriodChoice(Index);
}

bool ReportOption::choosePeriod(int Index)
{
    if (Index == kOtherPeriod)
        return askOtherPeriod();
    const ReportPeriod period = reportPeriod(FixedPeriod(Index), module_.platform.clock.now());
    module_.ReportStartDate = period.start;
    module_.ReportEndDate = period.end;
    return true;
}

// A start given before the end prompt was cancelled stays the period's start, as users of the
// earlier program knew it.
bool ReportOption::askOtherPeriod()
{
    Prompter& prompter = module_.platform.prompter;
    const QDate today = module_.platform.clock.now().date();
    const std::optional<QDate> first = parsePromptDate(prompter.input({kOtherStart, kOtherTitle, {}}), today);
    if (!first)
        return false;
    module_.ReportStartDate = firstInstant(*first);
    const std::optional<QDate> last =
        parsePromptDate(prompter.input({kOtherEnd, kOtherTitle, formatShortDate(today)}), today);
    if (!last)
        return false;
    module_.ReportEndDate = lastInstant(*last);
    return true;
}

void ReportOption::clearPeriodChoice(int Index)
{
    periodGroup_->setExclusive(false);
    Option1[size_t(Index)]->setChecked(false);
    periodGroup_->setExclusive(true);
}

store::EntryFilter ReportOption::chosenFilters() const
{
    store::EntryFilter filter;
    if (Check1->isChecked()) {
        if (DBCombo1->currentIndex() < 0)
            throw RuntimeError(error::NoEmployeeChosen);
        filter.employeeId = DBCombo1->currentData().toInt();
    }
    filter.billableOnly = Option2[1]->isChecked();
    // "All" is the first line; a client that happens to be named so is still one client.
    if (Combo1->currentIndex() > 0)
        filter.client = Combo1->currentText();
    return filter;
}

void ReportOption::Command1_Click()
{
    close();
}

// However the dialog is closed, the main window gets back the on-top state it gave up for it.
void ReportOption::Form_Unload()
{
    module_.RestoreTopmost();
}

} // namespace horalog
