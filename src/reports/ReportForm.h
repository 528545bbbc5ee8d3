#pragma once

#include "app/Form.h"
#include "reports/ReportText.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QPushButton;
class QTextDocument;
class QTextEdit;

namespace horalog
{

class ReportOption;

// The period report: every entry of the chosen period and filters, by client with each client's
// total and the report's total, as one formatted document to read, print or save as RTF.
class ReportForm : public Form
{
    Q_OBJECT
  public:
    // The report of the period in MainModule's ReportStartDate and ReportEndDate, with the choices
    // the open report options window holds when the report loads.
    ReportForm(MainModule& module, const ReportOption& options);
    ReportForm(MainModule& module, ReportOptions options);
    ~ReportForm() override;

    QTextEdit* RichTextBox1 = nullptr;
    // Lies over the report box until the report is ready to be read.
    QTextEdit* RichTextBox2 = nullptr;
    std::array<QPushButton*, 3> SSCommand1{};

    QMenu* FileMenu = nullptr;
    QAction* SaveMenuItem = nullptr;
    QAction* ExportMenuItem = nullptr;
    QAction* PrintMenuItem = nullptr;
    QAction* CloseMenuItem = nullptr;
    QAction* HelpMenuItem = nullptr;
    QAction* AboutMenuItem = nullptr;

    // 0 Print, 1 Save, 2 Close.
    void SSCommand1_Click(int Index);
    void PrintMenuItem_Click() { SSCommand1_Click(0); }
    void SaveMenuItem_Click() { SSCommand1_Click(1); }
    // Writes the report's entries into a file of comma-separated values for a spreadsheet.
    void ExportMenuItem_Click();
    void CloseMenuItem_Click() { SSCommand1_Click(2); }

  protected:
    void Form_Activate() override;

  private:
    ReportForm(MainModule& module, std::function<ReportOptions()> readOptions);
    void buildControls();
    void buildMenus();
    void Form_Load();
    std::unique_ptr<QTextDocument> buildReport(const ReportOptions& options) const;
    void showReport();
    void printReport();
    void saveReport();
    void exportReport();
    // The path to write chosen in a save dialog of `title`, with `suffix` added when it was typed
    // without it; empty when the user cancelled or would not replace the file of the added suffix.
    QString chosenFile(const QString& title, const QString& filter, const QString& suffix) const;
    QString reportsFolder() const;
    bool replaceAsked(const QString& path, const QString& title) const;
    template <typename Body> void loadGuarded(Body&& body);
    template <typename Body> void commandGuarded(Body&& body);

    std::function<ReportOptions()> readOptions_;
    // The entries of the report shown, once it could be made.
    std::optional<store::EntryFilter> filter_;
    // Built off screen at load, handed to the report box once when the window first activates.
    std::unique_ptr<QTextDocument> report_;
};

} // namespace horalog
