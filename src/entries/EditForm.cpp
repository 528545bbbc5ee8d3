#include "entries/EditForm.h"

#include "app/MainModule.h"
#include "app/RecordForm.h"
#include "controls/BoxRules.h"
#include "controls/DataControl.h"
#include "controls/Fonts.h"
#include "controls/SpinButton.h"
#include "controls/Twips.h"
#include "entries/HoursForm.h"
#include "platform/Formats.h"
#include "timing/TimingRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>

namespace horalog
{

namespace
{

const QColor kGrey(128, 128, 128);
const QColor kLightGrey(224, 224, 224);
const QString kRefusal = QStringLiteral("A Start Time may not be greater than an End Time.");
constexpr int kColumnWidth = 2895;
constexpr int kLabelHeight = 240;
constexpr int kMomentTop = 1800;
constexpr int kMomentBoxWidth = 855;
constexpr int kSpinWidth = 255;
constexpr int kSpinHeight = 375;

QLabel* makeLabel(QWidget* parent, const QString& caption, int left, int top, int width)
{
    auto* label = new QLabel(caption, parent);
    placeTwips(label, left, top, width, kLabelHeight);
    return label;
}

QComboBox* makeChoice(QWidget* parent, int left)
{
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    placeTwips(list, left, 360, kColumnWidth, 315);
    return list;
}

// Disabled, so that it takes neither focus nor typing, but with its text as dark as in any box: it
// shows values to read.
QLineEdit* makeShownBox(QWidget* parent, int left, int top, int width, int height)
{
    auto* box = new QLineEdit(parent);
    box->setEnabled(false);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
    box->setPalette(palette);
    placeTwips(box, left, top, width, height);
    return box;
}

QDateTime momentIn(const QLineEdit* box)
{
    return momentFromStore(box->text());
}

} // namespace

EditForm::EditForm(MainModule& module, HoursForm& hours, int line)
    : Form(module, QStringLiteral("Edit Form"), 6270, 3195), Data1(new DataControl(client())), hours_(hours),
      line_(line)
{
    setFont(sansSerif());
    setClientBackground(kGrey);
    Data1->hide();
    buildChoices();
    buildMomentRow();
    buildSpinButtons();
    buildMenus();
    bindFields();
    superviseWrites(module_, Data1);
    module_.CenterForm(*this);
}

void EditForm::buildChoices()
{
    QWidget* area = client();
    Label4 = makeLabel(area, QStringLiteral("Employee"), 120, 120, kColumnWidth);
    ClientLabel = makeLabel(area, QStringLiteral("Client"), 3240, 120, kColumnWidth);
    DBCombo1 = makeChoice(area, 120);
    DBCombo2 = makeChoice(area, 3240);
    ProjectLabel = makeLabel(area, QStringLiteral("Project"), 120, 840, kColumnWidth);
    TaskLabel = makeLabel(area, QStringLiteral("Task"), 3240, 840, kColumnWidth);
    for (int i = 0; i < 2; ++i) {
        Text1[size_t(i)] = new QLineEdit(area);
        placeTwips(Text1[size_t(i)], i == 0 ? 120 : 3240, 1080, kColumnWidth, 300);
        selectAllOnEntry(Text1[size_t(i)]);
    }
    Check1 = new QCheckBox(QStringLiteral("Billable"), area);
    placeTwips(Check1, 1920, 2520, 1000, 255);
    Label2[2] = makeLabel(area, QStringLiteral("Hours"), 3480, 2280, kMomentBoxWidth);
    Hours = makeShownBox(area, 3480, 2520, kMomentBoxWidth, 300);
    QPalette palette = Hours->palette();
    palette.setColor(QPalette::Disabled, QPalette::Base, kLightGrey);
    Hours->setPalette(palette);
    SSCommand1 = new QPushButton(QIcon(QStringLiteral(":/icons/close.svg")), QString(), area);
    SSCommand1->setAccessibleName(QStringLiteral("Close"));
    SSCommand1->setIconSize(QSize(32, 32));
    placeTwips(SSCommand1, 5520, 2400, 615, 615);
    connect(SSCommand1, &QPushButton::clicked, this, &EditForm::SSCommand1_Click);
}

// Start Date, Start Time, End Date and End Time, each a shown box under its label; the full start
// and end lie hidden under the two time boxes.
void EditForm::buildMomentRow()
{
    QWidget* area = client();
    const std::array<int, 4> lefts{360, 1920, 3480, 5040};
    const std::array<QString, 4> captions{QStringLiteral("Start Date"), QStringLiteral("Start Time"),
                                          QStringLiteral("End Date"), QStringLiteral("End Time")};
    const std::array<QLabel**, 4> labels{&StartLabel[0], &StartLabel[1], &Label2[0], &Label2[1]};
    const std::array<QLineEdit**, 4> boxes{&Text1[2], &Text2[0], &Text2[1], &Text2[2]};
    for (size_t column = 0; column < lefts.size(); ++column) {
        *labels[column] = makeLabel(area, captions[column], lefts[column], kMomentTop - kLabelHeight,
                                    kMomentBoxWidth + kSpinWidth);
        *boxes[column] = makeShownBox(area, lefts[column], kMomentTop, kMomentBoxWidth, kSpinHeight);
    }
    for (const size_t hidden : {size_t(3), size_t(4)}) {
        Text1[hidden] = new QLineEdit(area);
        Text1[hidden]->hide();
    }
}

void EditForm::buildSpinButtons()
{
    struct Column {
        std::array<SpinButton*, 2>* spins;
        int boxLeft;
        Moved moved;
        std::array<StepUnit, 2> units;
    };
    const std::array<Column, 4> columns{{
        {&SpinButton0, 360, Moved::Start, {StepUnit::Month, StepUnit::Day}},
        {&SpinButton1, 1920, Moved::Start, {StepUnit::Hour, StepUnit::Minute}},
        {&SpinButton2, 3480, Moved::End, {StepUnit::Month, StepUnit::Day}},
        {&SpinButton3, 5040, Moved::End, {StepUnit::Hour, StepUnit::Minute}},
    }};
    QWidget* previous = SSCommand1;
    QWidget::setTabOrder(DBCombo1, DBCombo2);
    QWidget::setTabOrder(DBCombo2, Text1[0]);
    QWidget::setTabOrder(Text1[0], Text1[1]);
    QWidget::setTabOrder(Text1[1], Check1);
    QWidget::setTabOrder(Check1, SSCommand1);
    for (const Column& column : columns) {
        for (size_t index = 0; index < 2; ++index) {
            auto* spin = new SpinButton(client());
            const int left =
                index == 0 ? column.boxLeft - kSpinWidth + 15 : column.boxLeft + kMomentBoxWidth - 15;
            placeTwips(spin, left, kMomentTop, kSpinWidth, kSpinHeight);
            const StepUnit unit = column.units[index];
            const Moved moved = column.moved;
            connect(spin, &SpinButton::SpinUp, this, [this, moved, unit] { step(moved, unit, 1); });
            connect(spin, &SpinButton::SpinDown, this, [this, moved, unit] { step(moved, unit, -1); });
            (*column.spins)[index] = spin;
            QWidget::setTabOrder(previous, spin);
            previous = spin;
        }
    }
}

void EditForm::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    CloseMenuItem = fileMenu->addAction(QStringLiteral("&Close"));
    CloseMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(CloseMenuItem, &QAction::triggered, this, &EditForm::SSCommand1_Click);
    const HelpMenu help = addHelpMenu();
    HelpMenuItem = help.help;
    AboutMenuItem = help.about;
}

// The choices, the mark and the start's day are written as the values they stand for; the full
// start and end travel as the data file's text, seconds included.
void EditForm::bindFields()
{
    Data1->bindCustom(
        DBCombo1, QStringLiteral("EmployeeID"),
        [this](const QVariant& id) {
            DBCombo1->setCurrentIndex(id.isNull() ? -1 : DBCombo1->findData(id.toInt()));
        },
        [this] { return DBCombo1->currentData(); });
    Data1->bindCustom(
        DBCombo2, QStringLiteral("Client"),
        [this](const QVariant& name) {
            DBCombo2->setCurrentIndex(DBCombo2->findText(name.toString(), Qt::MatchFixedString));
        },
        [this] { return QVariant(DBCombo2->currentText()); });
    Data1->bind(Text1[0], QStringLiteral("Project"));
    Data1->bind(Text1[1], QStringLiteral("Task"));
    Data1->bindCustom(
        Text1[2], QStringLiteral("DateToday"),
        [this](const QVariant& day) { Text1[2]->setText(formatShortDate(dateFromStore(day))); },
        [this] { return QVariant(storedDate(momentIn(Text1[3]).date())); });
    Data1->bind(Text1[3], QStringLiteral("Start Time"));
    Data1->bind(Text1[4], QStringLiteral("End Time"));
    Data1->bind(Hours, QStringLiteral("Hours"), DataControl::FieldKind::Amount);
    Data1->bindCustom(
        Check1, QStringLiteral("Billable"),
        [this](const QVariant& billable) { Check1->setChecked(billable.toInt() != 0); },
        [this] { return QVariant(Check1->isChecked() ? 1 : 0); });
    for (QComboBox* choice : {DBCombo1, DBCombo2})
        connect(choice, &QComboBox::currentIndexChanged, this, [this, choice] { Data1->markEdited(choice); });
    connect(Check1, &QCheckBox::toggled, this, [this] { Data1->markEdited(Check1); });
    connect(Data1, &DataControl::Reposition, this, [this] {
        Text1_Change(3);
        Text1_Change(4);
        markRecomputedValues();
    });
}

void EditForm::loadEntry(int id)
{
    const QSqlDatabase db = module_.TaskDatabase();
    {
        // Filling the choices is no choice of the user's.
        const QSignalBlocker employees(DBCombo1);
        const QSignalBlocker clients(DBCombo2);
        for (const store::EmployeeName& employee : store::employeeNames(db))
            DBCombo1->addItem(employee.name, employee.id);
        DBCombo2->addItems(store::clientNamesInOrder(db));
    }
    entryId_ = id;
    Data1->setRecordSource(db, QStringLiteral("Times"), {}, store::RowFilter{QStringLiteral("ID"), id});
    if (Data1->rowCount() == 0)
        throw RuntimeError(error::NoCurrentRecord);
}

// A start or end that is empty or not a moment cannot be stepped; the arrows then do nothing.
void EditForm::step(Moved moved, StepUnit unit, int direction)
{
    const QDateTime start = momentIn(Text1[3]);
    const QDateTime end = momentIn(Text1[4]);
    if (!start.isValid() || !end.isValid())
        return;
    const bool movesStart = moved == Moved::Start;
    const QDateTime next = steppedMoment(movesStart ? start : end, unit, direction);
    if (minuteBoundaries(movesStart ? next : start, movesStart ? end : next) < 0) {
        module_.platform.prompter.message(
            {kRefusal, QStringLiteral("Horalog"), MessageButtons::Ok, MessageIcon::Critical});
        return;
    }
    const int index = movesStart ? 3 : 4;
    Text1[size_t(index)]->setText(storedMoment(next));
    Data1->markEdited(Text1[size_t(index)]);
    Text1_Change(index);
    markRecomputedValues();
}

// What cannot be computed, because the start or the end is no moment, is left as it is.
void EditForm::Text1_Change(int Index)
{
    const QDateTime start = momentIn(Text1[3]);
    const QDateTime end = momentIn(Text1[4]);
    if (Index == 3 && start.isValid()) {
        Text1[2]->setText(formatShortDate(start.date()));
        Text2[0]->setText(formatTime(start));
    }
    if (Index == 4 && end.isValid()) {
        Text2[1]->setText(formatShortDate(end.date()));
        Text2[2]->setText(formatTime(end));
    }
    if (start.isValid() && end.isValid())
        Hours->setText(formatHours(hoursFromMinutes(minuteBoundaries(start, end))));
}

// The start's day and the recomputed hours are written when they differ from the stored row, so
// that closing an untouched entry corrects them and writes nothing else.
void EditForm::markRecomputedValues()
{
    const QSqlRecord stored = Data1->storedRecord();
    const QDateTime start = momentIn(Text1[3]);
    if (start.isValid() && storedDate(start.date()) != stored.value(QStringLiteral("DateToday")).toString())
        Data1->markEdited(Text1[2]);
    const QVariant storedHours = stored.value(QStringLiteral("Hours"));
    if (!Hours->text().isEmpty() &&
        (storedHours.isNull() || formatHours(storedHours.toDouble()) != Hours->text()))
        Data1->markEdited(Hours);
}

void EditForm::SSCommand1_Click()
{
    close();
}

bool EditForm::Form_QueryUnload()
{
    bool saved = false;
    module_.guarded([this, &saved] { saved = Data1->saveForUnload(); });
    return saved;
}

// The line is rewritten from the row as stored, so that it shows what was written, or what stayed
// when the user gave up edits that could not be written.
void EditForm::Form_Unload()
{
    module_.guarded([this] {
        const std::optional<store::TimesEntry> entry = store::entryById(module_.TaskDatabase(), entryId_);
        if (entry)
            hours_.showEditedEntry(line_, {entryId_, entry->day, entry->hours, entry->client});
    });
}

} // namespace horalog
