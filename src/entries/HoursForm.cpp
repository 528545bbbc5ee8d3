#include "entries/HoursForm.h"

#include "app/MainModule.h"
#include "controls/Fonts.h"
#include "controls/Twips.h"
#include "entries/EditForm.h"
#include "entries/EntryRules.h"
#include "platform/Formats.h"
#include "reports/ReportForm.h"
#include "reports/ReportOption.h"

#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <memory>

namespace horalog
{

namespace
{

const QColor kDarkCyan(0, 128, 128);
const QColor kLightGrey(192, 192, 192);
const QString kTitle = QStringLiteral("Horalog");

struct ButtonSpec {
    QString caption;
    int left;
};

const std::array<ButtonSpec, 3> kButtons{{
    {QStringLiteral("&Report"), 240},
    {QStringLiteral("&Total"), 2040},
    {QStringLiteral("&Close"), 3900},
}};

constexpr int kListLeft = 240;
constexpr int kClientHeadingLeft = 1980;

// The tab of a line stops under the "Client" heading, however wide the hours before it are.
class ClientColumnDelegate : public QStyledItemDelegate
{
  public:
    explicit ClientColumnDelegate(QListWidget* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString line = item.text;
        item.text.clear();
        const QStyle* style = list_->style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, list_);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
        const QRect text =
            style->subElementRect(QStyle::SE_ItemViewItemText, &item, list_).adjusted(margin, 0, -margin, 0);
        QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
        layout.setWrapMode(QTextOption::NoWrap);
        layout.setTabStopDistance(pixels(kClientHeadingLeft - kListLeft) - list_->frameWidth() - text.left());
        const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (item.state & QStyle::State_Active) ? QPalette::Active
                                                                                 : QPalette::Inactive;
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(
            group, (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(text, line, layout);
        painter->restore();
    }

  private:
    QListWidget* list_;
};

QLabel* makeHeading(QWidget* parent, const QString& caption, int left)
{
    auto* heading = new QLabel(caption, parent);
    QFont underlined = heading->font();
    underlined.setUnderline(true);
    heading->setFont(underlined);
    placeTwips(heading, left, 840, 615, 255);
    return heading;
}

} // namespace

HoursForm::HoursForm(MainModule& module, const ReportOption& options)
    : Form(module, QStringLiteral("Hours"), 5310, 4500), options_(options)
{
    setFont(sansSerif());
    setClientBackground(kDarkCyan);
    buildControls();
    buildButtons();
    buildMenus();
    Form_Load();
}

void HoursForm::buildControls()
{
    QWidget* area = client();
    Label1 = new QLabel(QStringLiteral("To get a total of hours spent, select all of the entries to be "
                                       "included and then click on 'Total'."),
                        area);
    Label1->setWordWrap(true);
    placeTwips(Label1, 240, 240, 4935, 375);
    Label2 = makeHeading(area, QStringLiteral("Date"), 420);
    Label3 = makeHeading(area, QStringLiteral("Hours"), 1200);
    Label4 = makeHeading(area, QStringLiteral("Client"), kClientHeadingLeft);

    TimeList = new QListWidget(area);
    TimeList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Every line has the same height, so a long period lays out without measuring each one.
    TimeList->setUniformItemSizes(true);
    QPalette palette = TimeList->palette();
    palette.setColor(QPalette::Base, kLightGrey);
    TimeList->setPalette(palette);
    TimeList->setItemDelegate(new ClientColumnDelegate(TimeList));
    placeTwips(TimeList, kListLeft, 1080, 4800, 2205);
    TimeList->viewport()->installEventFilter(this);
    connect(TimeList, &QListWidget::itemDoubleClicked, this, &HoursForm::TimeList_DblClick);

    Label5[0] = new QLabel(QStringLiteral("Double Click on an entry to view its details."), area);
    placeTwips(Label5[0], 240, 3360, 3735, 255);
    Label5[1] = new QLabel(QStringLiteral("Alt-Click on an entry to edit."), area);
    placeTwips(Label5[1], 240, 3600, 3735, 255);
}

void HoursForm::buildButtons()
{
    for (int i = 0; i < int(kButtons.size()); ++i) {
        auto* button = new QPushButton(kButtons[size_t(i)].caption, client());
        placeTwips(button, kButtons[size_t(i)].left, 3960, 1155, 375);
        connect(button, &QPushButton::clicked, this, [this, i] { SSCommand1_Click(i); });
        SSCommand1[size_t(i)] = button;
    }
}

void HoursForm::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    CloseMenuItem = fileMenu->addAction(QStringLiteral("&Close"));
    CloseMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(CloseMenuItem, &QAction::triggered, this, [this] { SSCommand1_Click(2); });

    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    DeleteMenuItem = editMenu->addAction(QStringLiteral("&Delete"));
    DeleteMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(DeleteMenuItem, &QAction::triggered, this, &HoursForm::DeleteMenuItem_Click);
    editMenu->addSeparator();
    TaskEditMenuItem = editMenu->addAction(QStringLiteral("&Task"));
    TaskEditMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    connect(TaskEditMenuItem, &QAction::triggered, this,
            [this] { TimeList_MouseDown(Qt::LeftButton, Qt::AltModifier); });

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    const std::array<std::pair<QString, Qt::Key>, 2> viewItems{{
        {QStringLiteral("&Report"), Qt::Key_R},
        {QStringLiteral("&Total"), Qt::Key_T},
    }};
    for (int i = 0; i < int(viewItems.size()); ++i) {
        QAction* item = viewMenu->addAction(viewItems[size_t(i)].first);
        item->setShortcut(QKeySequence(Qt::CTRL | viewItems[size_t(i)].second));
        connect(item, &QAction::triggered, this, [this, i] { SSCommand1_Click(i); });
        ViewMenuItem[size_t(i)] = item;
    }

    const HelpMenu help = addHelpMenu();
    HelpMenuItem = help.help;
    AboutMenuItem = help.about;
}

void HoursForm::Form_Load()
{
    module_.CenterForm(*this);
    module_.guarded([this] { FillTimeList(); });
}

// Nothing is current afterwards, not even once the list has the focus: Delete and Edit wait for a
// line the user chose.
void HoursForm::FillTimeList()
{
    BusyPointer busy;
    store::EntryFilter filter = options_.chosenFilters();
    filter.firstDay = module_.ReportStartDate.date();
    filter.lastDay = module_.ReportEndDate.date();
    HoursRecords = store::listedEntries(module_.TaskDatabase(), filter);
    QStringList lines;
    lines.reserve(HoursRecords.size());
    EntryIDs.reserve(HoursRecords.size());
    for (const store::ListedEntry& entry : std::as_const(HoursRecords)) {
        lines << hoursLine(entry.day, entry.hours, entry.client);
        EntryIDs << entry.id;
    }
    TimeList->addItems(lines);
    TimeList->setCurrentIndex(QModelIndex());
}

void HoursForm::SSCommand1_Click(int Index)
{
    module_.guarded([this, Index] {
        switch (Index) {
        case 0:
            openReport();
            break;
        case 1:
            showTotal();
            break;
        case 2:
            close();
            break;
        default:
            break;
        }
    });
}

// The report window builds its report from the same options; the hourglass shows until the report
// can be read, and the report window ends it.
void HoursForm::openReport()
{
    const BusyPointer busy;
    module_.showModal(new ReportForm(module_, options_));
}

void HoursForm::showTotal()
{
    if (HoursRecords.isEmpty())
        return;
    double total = 0;
    for (int line = 0; line < TimeList->count(); ++line) {
        if (TimeList->item(line)->isSelected())
            total += HoursRecords[line].hours;
    }
    module_.platform.prompter.message(
        {formatHours(total), QStringLiteral("Total Hours"), MessageButtons::Ok, MessageIcon::None});
    SSCommand1[1]->setFocus();
}

void HoursForm::TimeList_DblClick()
{
    module_.guarded([this] {
        const int line = TimeList->currentRow();
        if (line < 0)
            return;
        const QSqlDatabase db = module_.TaskDatabase();
        const std::optional<store::TimesEntry> entry = store::entryById(db, EntryIDs[line]);
        if (!entry)
            throw RuntimeError(error::NoCurrentRecord);
        // An entry recorded with no employee chosen still shows its details.
        const QString employee = store::employeeNameById(db, entry->employeeId).value_or(QString());
        module_.platform.prompter.message(
            {detailText(employee, *entry), QStringLiteral("Detail"), MessageButtons::Ok, MessageIcon::None});
    });
}

void HoursForm::DeleteMenuItem_Click()
{
    module_.guarded([this] { deleteCurrentEntry(); });
}

void HoursForm::deleteCurrentEntry()
{
    if (TimeList->count() == 0) {
        noTasks(QStringLiteral("No tasks to delete."));
        return;
    }
    const int line = TimeList->currentRow();
    if (line < 0)
        return;
    if (module_.platform.prompter.message({QStringLiteral("Are you sure you wish to delete this record?"),
                                           kTitle, MessageButtons::YesNo, MessageIcon::Question,
                                           Answer::No}) != Answer::Yes)
        return;
    store::deleteEntry(module_.TaskDatabase(), EntryIDs[line]);
    TimeList->clear();
    EntryIDs.clear();
    HoursRecords.clear();
    FillTimeList();
}

bool HoursForm::TimeList_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift)
{
    if (Button != Qt::LeftButton || Shift != Qt::AltModifier)
        return false;
    module_.guarded([this] { editCurrentEntry(); });
    return true;
}

void HoursForm::editCurrentEntry()
{
    if (TimeList->count() == 0) {
        noTasks(QStringLiteral("No tasks to edit."));
        return;
    }
    const int line = TimeList->currentRow();
    if (line < 0)
        return;
    auto editor = std::make_unique<EditForm>(module_, *this, line);
    editor->loadEntry(EntryIDs[line]);
    module_.showModal(editor.release());
}

void HoursForm::showEditedEntry(int line, const store::ListedEntry& entry)
{
    HoursRecords[line] = entry;
    TimeList->item(line)->setText(hoursLine(entry.day, entry.hours, entry.client));
    TimeList->setCurrentRow(line, QItemSelectionModel::NoUpdate);
}

void HoursForm::noTasks(const QString& text) const
{
    module_.platform.prompter.message({text, kTitle, MessageButtons::Ok, MessageIcon::Information});
}

// The press that edits makes the line under the pointer the current one first, as a click does.
bool HoursForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TimeList->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && press->modifiers() == Qt::AltModifier) {
            const int line = TimeList->indexAt(press->position().toPoint()).row();
            if (line >= 0)
                TimeList->setCurrentRow(line);
        }
        return TimeList_MouseDown(press->button(), press->modifiers());
    }
    return Form::eventFilter(watched, event);
}

} // namespace horalog
