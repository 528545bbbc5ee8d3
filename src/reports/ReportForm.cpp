#include "reports/ReportForm.h"

#include "app/MainModule.h"
#include "controls/Fonts.h"
#include "controls/Twips.h"
#include "platform/PrivateFiles.h"
#include "reports/CsvExport.h"
#include "reports/ReportDocument.h"
#include "reports/ReportOption.h"
#include "reports/ReportPeriods.h"
#include "reports/RtfWriter.h"
#include "store/Catalogue.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace horalog
{

namespace
{

const QString kTitle = QStringLiteral("Horalog");
const QString kReportsFolder = QStringLiteral("Reports");
const QString kRtfSuffix = QStringLiteral(".rtf");
const QString kCsvSuffix = QStringLiteral(".csv");
const QString kSaveTitle = QStringLiteral("Save Report");
const QString kExportTitle = QStringLiteral("Export Report");

struct PictureButton {
    QString picture;
    QString name;
    QRect twips;
};

const std::array<PictureButton, 3> kButtons{{
    {QStringLiteral(":/icons/printer.svg"), QStringLiteral("Print"), {240, 5160, 615, 615}},
    {QStringLiteral(":/icons/diskette.svg"), QStringLiteral("Save"), {4080, 5160, 615, 615}},
    {QStringLiteral(":/icons/close.svg"), QStringLiteral("Close"), {7920, 5160, 615, 615}},
}};

// The File menu, top to bottom; an entry without an item is a separator.
struct FileMenuEntry {
    QAction* ReportForm::*item;
    QString caption;
    QKeySequence shortcut;
    void (ReportForm::*handler)();
};

const std::array<FileMenuEntry, 5> kFileMenu{{
    {&ReportForm::SaveMenuItem, QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
     &ReportForm::SaveMenuItem_Click},
    {&ReportForm::ExportMenuItem, QStringLiteral("&Export as CSV..."), QKeySequence(),
     &ReportForm::ExportMenuItem_Click},
    {&ReportForm::PrintMenuItem, QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P),
     &ReportForm::PrintMenuItem_Click},
    {nullptr, {}, {}, nullptr},
    {&ReportForm::CloseMenuItem, QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_F4),
     &ReportForm::CloseMenuItem_Click},
}};

QTextEdit* makeReportBox(QWidget* parent, const QRect& twips)
{
    auto* box = new QTextEdit(parent);
    box->setReadOnly(true);
    box->setUndoRedoEnabled(false);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setFont(sansSerif(9.75));
    placeTwips(box, twips.x(), twips.y(), twips.width(), twips.height());
    return box;
}

ReportOptions reportOptionsOf(const ReportOption& dialog, const MainModule& module)
{
    ReportOptions options;
    options.filter = dialog.chosenFilters();
    options.filter.firstDay = module.ReportStartDate.date();
    options.filter.lastDay = module.ReportEndDate.date();
    options.singleDay = dialog.Option1[int(FixedPeriod::Today)]->isChecked() ||
                        dialog.Option1[int(FixedPeriod::Yesterday)]->isChecked();
    if (options.filter.employeeId)
        options.employeeName = dialog.DBCombo1->currentText();
    return options;
}

// The hourglass that the hours list switched on before opening the report ends once the report
// can be read; the list's own restore then finds nothing left to undo.
void endCallersHourglass()
{
    const QCursor* pointer = QApplication::overrideCursor();
    if (pointer && pointer->shape() == Qt::WaitCursor)
        QApplication::restoreOverrideCursor();
}

} // namespace

// The choices are read as the report loads: a choice the report cannot be made of (one employee's
// report, but no employee) is reported like a failing query, in the report window.
ReportForm::ReportForm(MainModule& module, const ReportOption& options)
    : ReportForm(module, [&module, &options] { return reportOptionsOf(options, module); })
{
}

ReportForm::ReportForm(MainModule& module, ReportOptions options)
    : ReportForm(module, [options] { return options; })
{
}

ReportForm::ReportForm(MainModule& module, std::function<ReportOptions()> readOptions)
    : Form(module, QStringLiteral("Horalog Report"), 8880, 5955), readOptions_(std::move(readOptions))
{
    setFont(sansSerif());
    buildControls();
    buildMenus();
    Form_Load();
}

ReportForm::~ReportForm() = default;

void ReportForm::buildControls()
{
    RichTextBox1 = makeReportBox(client(), {0, 240, 8864, 4695});
    // Columns of the table stay whole; a line wider than the box scrolls instead of wrapping.
    RichTextBox1->setLineWrapMode(QTextEdit::NoWrap);
    RichTextBox2 = makeReportBox(client(), {0, 120, 8865, 4815});
    RichTextBox2->setFocusPolicy(Qt::NoFocus);
    RichTextBox2->raise();

    for (int i = 0; i < int(kButtons.size()); ++i) {
        const PictureButton& picture = kButtons[size_t(i)];
        auto* button = new QPushButton(client());
        placeTwips(button, picture.twips.x(), picture.twips.y(), picture.twips.width(),
                   picture.twips.height());
        button->setIcon(QIcon(picture.picture));
        button->setIconSize(QSize(32, 32));
        button->setToolTip(picture.name);
        button->setAccessibleName(picture.name);
        connect(button, &QPushButton::clicked, this, [this, i] { SSCommand1_Click(i); });
        SSCommand1[size_t(i)] = button;
    }
}

void ReportForm::buildMenus()
{
    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    for (const FileMenuEntry& entry : kFileMenu) {
        if (!entry.item) {
            FileMenu->addSeparator();
            continue;
        }
        QAction* item = FileMenu->addAction(entry.caption);
        item->setShortcut(entry.shortcut);
        connect(item, &QAction::triggered, this, entry.handler);
        this->*entry.item = item;
    }
    const HelpMenu help = addHelpMenu();
    HelpMenuItem = help.help;
    AboutMenuItem = help.about;
}

// Load and first activation report a failure with the window's own box and go on; the window
// opens all the same, with no report when the query failed.
template <typename Body> void ReportForm::loadGuarded(Body&& body)
{
    try {
        body();
    } catch (const RuntimeError& error) {
        module_.platform.prompter.message(
            {QStringLiteral("Error %1 has ocurred.  %2").arg(error.number()).arg(error.text()), kTitle});
    }
}

// A command that fails says why in a box and ends there.
template <typename Body> void ReportForm::commandGuarded(Body&& body)
{
    try {
        body();
    } catch (const RuntimeError& error) {
        module_.platform.prompter.message({error.text(), kTitle});
    }
}

void ReportForm::Form_Load()
{
    const BusyPointer busy;
    loadGuarded([this] {
        const ReportOptions options = readOptions_();
        report_ = buildReport(options);
        filter_ = options.filter;
    });
    module_.CenterForm(*this);
}

std::unique_ptr<QTextDocument> ReportForm::buildReport(const ReportOptions& options) const
{
    ReportTextBuilder text(options, module_.platform.clock.now().date());
    store::forEachReportEntry(module_.TaskDatabase(), options.filter,
                              [&text](const store::ReportEntry& row) { text.addRow(row); });
    return reportDocument(text.finish());
}

void ReportForm::Form_Activate()
{
    if (RichTextBox2->isHidden())
        return;
    loadGuarded([this] { showReport(); });
}

void ReportForm::showReport()
{
    if (report_) {
        report_->setParent(RichTextBox1);
        RichTextBox1->setDocument(report_.release());
    }
    RichTextBox1->moveCursor(QTextCursor::Start);
    RichTextBox2->hide();
    endCallersHourglass();
    SSCommand1[0]->setFocus();
}

void ReportForm::SSCommand1_Click(int Index)
{
    commandGuarded([this, Index] {
        switch (Index) {
        case 0:
            printReport();
            break;
        case 1:
            saveReport();
            break;
        default:
            close();
            break;
        }
    });
}

// The selected text alone when there is a selection, else the whole report.
void ReportForm::printReport()
{
    const QTextCursor selection = RichTextBox1->textCursor();
    if (!selection.hasSelection()) {
        module_.platform.printer.print(*RichTextBox1->document());
        return;
    }
    QTextDocument part;
    QTextCursor(&part).insertFragment(selection.selection());
    module_.platform.printer.print(part);
}

void ReportForm::saveReport()
{
    const QString path = chosenFile(kSaveTitle, QStringLiteral("Rich Text Format (*.rtf)|*.rtf"), kRtfSuffix);
    if (!path.isEmpty())
        RtfWriter(*RichTextBox1->document()).save(path);
}

void ReportForm::ExportMenuItem_Click()
{
    commandGuarded([this] { exportReport(); });
}

// The same entries as the report shows, read again with every field a spreadsheet needs.
void ReportForm::exportReport()
{
    if (!filter_)
        return;
    const QString path =
        chosenFile(kExportTitle, QStringLiteral("Comma-separated values (*.csv)|*.csv"), kCsvSuffix);
    if (path.isEmpty())
        return;
    const BusyPointer busy(this);
    exportReportCsv(module_.TaskDatabase(), *filter_, path);
}

QString ReportForm::chosenFile(const QString& title, const QString& filter, const QString& suffix) const
{
    const QString chosen = module_.platform.prompter.saveFile({title, filter, reportsFolder(), {}});
    if (chosen.isEmpty() || chosen.endsWith(suffix, Qt::CaseInsensitive))
        return chosen;
    // The dialog asked about the name as typed; the name with its suffix is asked about here.
    const QString path = chosen + suffix;
    if (QFileInfo::exists(path) && !replaceAsked(path, title))
        return {};
    return path;
}

// The "Reports" folder of the start directory, made on first use for its owner only: reports hold
// the business's hours.
QString ReportForm::reportsFolder() const
{
    const QDir start(module_.StartDir);
    if (!makePrivateFolder(start.filePath(kReportsFolder))) {
        throw RuntimeError(error::PathFileAccessError,
                           QStringLiteral("the folder '%1' could not be made.")
                               .arg(QDir::toNativeSeparators(start.filePath(kReportsFolder))));
    }
    return start.absoluteFilePath(kReportsFolder);
}

bool ReportForm::replaceAsked(const QString& path, const QString& title) const
{
    return module_.platform.prompter.message({QStringLiteral("%1 already exists.\rDo you want to replace it?")
                                                  .arg(QFileInfo(path).fileName()),
                                              title, MessageButtons::YesNo, MessageIcon::Exclamation,
                                              Answer::No}) == Answer::Yes;
}

} // namespace horalog
