#include "employees/EmployeeForm.h"

#include "app/MainModule.h"
#include "controls/BoxRules.h"
#include "controls/Fonts.h"
#include "controls/StatusBar.h"
#include "controls/Twips.h"
#include "platform/Formats.h"
#include "store/Catalogue.h"
#include "timing/TimerForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

namespace horalog
{

namespace
{

constexpr int kClientWidth = 4950;
constexpr int kClientHeight = 4935;
constexpr int kLabelHeight = 240;

const QString kTitle = QStringLiteral("Horalog");
const QString kNameRule =
    QStringLiteral("An employee record must have at least, both a last name and a first name.");
const QString kDeleteWarning = QStringLiteral(
    "Warning!  All tasks recorded for this employee will also be deleted.\rDo you wish to continue?");

// Index, label, field, position and kind of every box, in tab order. The two date boxes and the
// telephone box are a little wider than the layout's 855 and 1215 twips, so that a date such as
// 12/25/2024 and a full telephone number show whole in the substitute font.
struct BoxSpec {
    int index;
    QString caption;
    QString field;
    QRect twips;
    DataControl::FieldKind kind;
};

const BoxSpec kBoxes[] = {
    {0,
     QStringLiteral("Last"),
     QStringLiteral("LastName"),
     {120, 360, 1815, 285},
     DataControl::FieldKind::Text},
    {1,
     QStringLiteral("First"),
     QStringLiteral("FirstName"),
     {2160, 360, 1575, 285},
     DataControl::FieldKind::Text},
    {2,
     QStringLiteral("Hire Date"),
     QStringLiteral("HireDate"),
     {3960, 360, 930, 285},
     DataControl::FieldKind::Date},
    {3,
     QStringLiteral("Street"),
     QStringLiteral("Street"),
     {120, 1080, 4695, 285},
     DataControl::FieldKind::Text},
    {4, QStringLiteral("City"), QStringLiteral("City"), {120, 1800, 2535, 285}, DataControl::FieldKind::Text},
    {5,
     QStringLiteral("State"),
     QStringLiteral("State"),
     {2880, 1800, 615, 285},
     DataControl::FieldKind::Text},
    {6,
     QStringLiteral("Zip"),
     QStringLiteral("ZIP"),
     {3720, 1800, 1095, 285},
     DataControl::FieldKind::Masked},
    {7,
     QStringLiteral("Telephone"),
     QStringLiteral("Phone"),
     {120, 2520, 1230, 285},
     DataControl::FieldKind::Masked},
    {8,
     QStringLiteral("Birthdate"),
     QStringLiteral("Birthdate"),
     {1560, 2520, 930, 285},
     DataControl::FieldKind::Date},
    {9,
     QStringLiteral("Soc. Sec. #"),
     QStringLiteral("Social Security"),
     {2640, 2520, 1095, 285},
     DataControl::FieldKind::Masked},
    {10,
     QStringLiteral("Pay Rate"),
     QStringLiteral("PayRate"),
     {3960, 2520, 855, 285},
     DataControl::FieldKind::Amount},
};

// The masked boxes by their label index: Zip 6, Telephone 7, Soc. Sec. # 9.
int maskedIndex(int labelIndex)
{
    return labelIndex == 6 ? 0 : labelIndex == 7 ? 1 : 2;
}

QString maskFor(int labelIndex)
{
    return labelIndex == 6 ? kZipMask : labelIndex == 7 ? kPhoneMask : kSocialSecurityMask;
}

} // namespace

EmployeeForm::EmployeeForm(MainModule& module)
    : RecordForm(module, QStringLiteral("Employees"), kClientWidth, kClientHeight)
{
    setFont(sansSerif());
    buildBoxes();
    buildControls();
    buildMenuBar();
    Form_Load();
}

void EmployeeForm::buildBoxes()
{
    for (const BoxSpec& item : kBoxes) {
        const bool masked = item.kind == DataControl::FieldKind::Masked;
        QLineEdit* box = addLabelledBox(Label1[size_t(item.index)], item.caption, item.twips,
                                        masked ? maskFor(item.index) : QString());
        if (masked)
            MaskEdBox1[size_t(maskedIndex(item.index))] = box;
        else
            Text1[size_t(item.index)] = box;
    }
    Label1[11] = new QLabel(QStringLiteral("Notes"), client());
    placeTwips(Label1[11], 120, 3240 - kLabelHeight, 1000, kLabelHeight);
    Notes = new QPlainTextEdit(client());
    placeTwips(Notes, 120, 3240, 4695, 615);
    Notes->setTabChangesFocus(true);
    QWidget::setTabOrder(Text1[10], Notes);
    startAfterParenthesis(MaskEdBox1[1]);
}

void EmployeeForm::buildControls()
{
    placeTwips(Data1, 1440, 4200, 2055, 300);
    SSCommand1[0] = new QPushButton(QIcon(QStringLiteral(":/icons/new.svg")), QString(), client());
    SSCommand1[0]->setAccessibleName(QStringLiteral("New"));
    placeTwips(SSCommand1[0], 120, 3960, 615, 615);
    SSCommand1[1] = new QPushButton(QIcon(QStringLiteral(":/icons/close.svg")), QString(), client());
    SSCommand1[1]->setAccessibleName(QStringLiteral("Close"));
    placeTwips(SSCommand1[1], 4200, 3960, 615, 615);
    for (int i = 0; i < 2; ++i) {
        SSCommand1[size_t(i)]->setIconSize(QSize(32, 32));
        connect(SSCommand1[size_t(i)], &QPushButton::clicked, this, [this, i] { SSCommand1_Click(i); });
    }
    StatusBar1->showHintFor(Data1, QStringLiteral("Browse employee records"));
    StatusBar1->showHintFor(SSCommand1[0], QStringLiteral("Add new employee"));
    StatusBar1->showHintFor(SSCommand1[1], QStringLiteral("Close"));
    StatusBar1->showHintFor(StatusBar1, QString());
}

void EmployeeForm::buildMenuBar()
{
    QMenu* fileMenu = buildMenus();
    auto* newItem = new QAction(QStringLiteral("&New"), fileMenu);
    newItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newItem, &QAction::triggered, this, [this] { SSCommand1_Click(0); });
    fileMenu->insertAction(fileMenu->actions().first(), newItem);
}

void EmployeeForm::Form_Load()
{
    module_.setTopmost(*this, true);
    module_.guarded([this] {
        for (const BoxSpec& item : kBoxes) {
            QWidget* box = item.kind == DataControl::FieldKind::Masked
                               ? static_cast<QWidget*>(MaskEdBox1[size_t(maskedIndex(item.index))])
                               : Text1[size_t(item.index)];
            Data1->bind(box, item.field, item.kind);
        }
        Data1->bind(Notes, QStringLiteral("Notes"));
        Data1->setRecordSource(module_.TaskDatabase(), QStringLiteral("Employees"));
    });
    module_.CenterForm(*this);
}

void EmployeeForm::Form_Activate()
{
    module_.guarded([this] {
        if (Data1->moveLast())
            Data1->moveFirst();
    });
    Text1[0]->setFocus();
}

void EmployeeForm::Data1_Validate(DataControl::Action Action, bool* Cancel)
{
    if (!namesAreComplete() || (Action != DataControl::Action::Delete && !typedValuesConvert()))
        *Cancel = true;
}

bool EmployeeForm::namesAreComplete() const
{
    const bool lastEmpty = Text1[0]->text().isEmpty();
    const bool firstEmpty = Text1[1]->text().isEmpty();
    if (lastEmpty == firstEmpty)
        return true;
    module_.platform.prompter.message({kNameRule, kTitle, MessageButtons::Ok, MessageIcon::Information});
    return false;
}

// Dates and the pay rate are typed as text; what does not convert is named by its box and kept for
// correction. The message never repeats the typed value: a birthdate or a pay rate is personal.
bool EmployeeForm::typedValuesConvert() const
{
    const auto refuse = [this](const QString& text) {
        module_.platform.prompter.message({text, kTitle, MessageButtons::Ok, MessageIcon::Information});
        return false;
    };
    for (const int index : {2, 8}) {
        const QString text = Text1[size_t(index)]->text().trimmed();
        if (!text.isEmpty() && !parseDate(text).isValid())
            return refuse(
                QStringLiteral("The %1 is not a date.  Type it as month/day/year, for example 3/15/2024.")
                    .arg(Label1[size_t(index)]->text()));
    }
    const QString payRate = Text1[10]->text().trimmed();
    if (!payRate.isEmpty() && !parseAmount(payRate))
        return refuse(
            QStringLiteral("The Pay Rate is not an amount.  Type it as a number, for example 18.50."));
    return true;
}

void EmployeeForm::SSCommand1_Click(int Index)
{
    if (Index == 1) {
        close();
        return;
    }
    module_.guarded([this] {
        if (Data1->addNew())
            Text1[0]->setFocus();
    });
}

QString EmployeeForm::deleteWarning() const
{
    return kDeleteWarning;
}

void EmployeeForm::findRecord()
{
    QWidget* focused = focusWidget();
    const QString field = Data1->boundField(focused);
    if (field.isEmpty())
        throw RuntimeError(error::NoBoundField);
    const auto label =
        std::find_if(kBoxes, std::end(kBoxes), [&](const BoxSpec& item) { return item.field == field; });
    const QString caption = label != std::end(kBoxes) ? label->caption : QStringLiteral("Notes");
    const QString answer = module_.platform.prompter.input(
        {QStringLiteral("Enter all or part of %1.").arg(caption), QStringLiteral("Find"), QString()});
    if (answer.isEmpty())
        return;
    Data1->findFirst([&](const QSqlRecord& row) {
        return Data1->shownText(row, field).contains(answer, Qt::CaseInsensitive) ||
               row.value(field).toString().contains(answer, Qt::CaseInsensitive);
    });
}

void EmployeeForm::Form_Unload()
{
    module_.guarded([this] { refillMainEmployeeList(); });
}

// The main window's list follows additions, renamings and deletions; its position is kept, and
// while the list is disabled its handler leaves the chosen employee's presets alone.
void EmployeeForm::refillMainEmployeeList()
{
    auto* timer = qobject_cast<TimerForm*>(module_.mainWindow);
    if (!timer)
        return;
    const QList<store::EmployeeName> employees = store::employeeNames(module_.TaskDatabase());
    QComboBox* list = timer->EmployeeList;
    const int position = list->currentIndex();
    list->setEnabled(false);
    list->clear();
    for (const store::EmployeeName& employee : employees)
        list->addItem(employee.name);
    list->setCurrentIndex(position);
    list->setEnabled(true);
}

} // namespace horalog
