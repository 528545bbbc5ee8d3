#pragma once

#include "app/Form.h"
#include "store/Catalogue.h"

#include <array>

class QLabel;
class QListWidget;
class QPushButton;

namespace horalog
{

class ReportOption;

// The entries of the chosen period that pass the report options' filters, one line each in the
// order they were recorded: total the selected lines, see one entry's details, delete or edit it.
class HoursForm : public Form
{
    Q_OBJECT
  public:
    // `options` is the open dialog beneath, whose choices every fill reads.
    HoursForm(MainModule& module, const ReportOption& options);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QListWidget* TimeList = nullptr;
    std::array<QLabel*, 2> Label5{};
    std::array<QPushButton*, 3> SSCommand1{};
    QAction* CloseMenuItem = nullptr;
    QAction* DeleteMenuItem = nullptr;
    QAction* TaskEditMenuItem = nullptr;
    std::array<QAction*, 2> ViewMenuItem{};
    QAction* HelpMenuItem = nullptr;
    QAction* AboutMenuItem = nullptr;

    // What the list shows, line by line, and the ID of each line's entry.
    QList<store::ListedEntry> HoursRecords;
    QList<int> EntryIDs;

    // 0 Report, 1 Total, 2 Close.
    void SSCommand1_Click(int Index);
    void TimeList_DblClick();
    // A press on the list; the left button with Alt alone edits the entry under the pointer.
    // True when it did.
    bool TimeList_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift);
    void DeleteMenuItem_Click();
    // The entry editor closed on line `line`: the line shows the entry as it is stored now.
    void showEditedEntry(int line, const store::ListedEntry& entry);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildButtons();
    void buildMenus();
    void Form_Load();
    void FillTimeList();
    void openReport();
    void showTotal();
    void deleteCurrentEntry();
    void editCurrentEntry();
    void noTasks(const QString& text) const;

    const ReportOption& options_;
};

} // namespace horalog
