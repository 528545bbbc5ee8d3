#pragma once

#include "app/Form.h"
#include "controls/DataControl.h"

class QLabel;
class QLineEdit;
class QMenu;

namespace horalog
{

class StatusBar;

// The standard handling of a bar's writes for any window that owns one: a failed write is reported
// and the user chooses between keeping the edits and going on without them; a row that another
// program changed or deleted meanwhile is named before anything is written over it.
void superviseWrites(const MainModule& module, DataControl* bar);

// A window that edits one row at a time through its navigation bar: File > Close, Edit > Delete
// and Find, the bar's "3 of 17" caption, a status bar for hints, and what is typed written as it
// closes.
class RecordForm : public Form
{
    Q_OBJECT
  public:
    RecordForm(MainModule& module, const QString& caption, int clientWidthTwips, int clientHeightTwips);

    DataControl* Data1;
    StatusBar* StatusBar1;

    // 0 Delete after the window's warning, 1 Find; under the standard error report.
    void EditMenuItem_Click(int Index);
    void Data1_Reposition();
    virtual void Data1_Validate(DataControl::Action Action, bool* Cancel) = 0;

  protected:
    bool Form_QueryUnload() override;
    virtual QString deleteWarning() const = 0;
    virtual void findRecord() = 0;
    // File (with Close, Ctrl+F4), Edit (Delete, Ctrl+D; Find, Ctrl+F) and Help; returns the File menu.
    QMenu* buildMenus();

    // A box with its label standing directly above it, next in the tab order after the previous one;
    // `mask` is an input mask, empty for free text.
    QLineEdit* addLabelledBox(QLabel*& label, const QString& caption, const QRect& twips,
                              const QString& mask = {});

  private:
    void deleteRecord();

    QWidget* lastBox_ = nullptr;
};

} // namespace horalog
