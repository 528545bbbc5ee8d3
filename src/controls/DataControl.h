#pragma once

#include "platform/RuntimeError.h"
#include "store/Rows.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QWidget>
#include <functional>
#include <optional>

class QDataWidgetMapper;
class QLabel;
class QSqlQueryModel;

namespace horalog
{

using store::RowFilter;

// The navigation bar of a window that edits one row at a time: first, previous, next and last
// buttons around a caption, over a table of the data file. Boxes bound to fields show the current
// row; what is typed reaches the data file only when the bar moves, adds a row or the window
// closes, after the window's Validate handler has let it. Only the fields whose box was edited are
// written, and only while the row still holds what was shown; an edit that could not be written
// stays pending in its box until it is written or the user gives it up.
class DataControl : public QWidget
{
    Q_OBJECT
  public:
    enum class Action { MoveFirst, MovePrevious, MoveNext, MoveLast, AddNew, Delete, Find, Unload };
    Q_ENUM(Action)

    // How a box shows and stores its field: plain text; a masked box (kept with the mask's
    // literals, empty while no digit is typed); a date typed as m/d/yyyy and kept as ISO text;
    // an amount kept as a number.
    enum class FieldKind { Text, Masked, Date, Amount };

    explicit DataControl(QWidget* parent = nullptr);
    ~DataControl() override;

    // Reads every row of `table` (narrowed by `filter`, sorted by `orderBy` when given) and shows
    // the first.
    void setRecordSource(const QSqlDatabase& db, const QString& table, const QString& orderBy = {},
                         const std::optional<RowFilter>& filter = {});
    // Binds a text box (QLineEdit or QPlainTextEdit) to a field of the current row.
    void bind(QWidget* box, const QString& field, FieldKind kind = FieldKind::Text);
    // Binds any other control: `show` puts the stored value into it when the bar moves, `value`
    // gives the value to store. The window reports changes with markEdited().
    void bindCustom(QWidget* box, const QString& field, std::function<void(const QVariant&)> show,
                    std::function<QVariant()> value);
    // A box whose value the program changed is written like a typed one.
    void markEdited(QWidget* box);
    bool hasPendingEdits() const;

    // The field `box` is bound to; empty when it is bound to none.
    QString boundField(const QWidget* box) const;
    // A field of a row as its bound box shows it.
    QString shownText(const QSqlRecord& row, const QString& field) const;

    // Each returns false when Validate cancelled it or the edits could not be written and were kept.
    bool moveFirst();
    bool movePrevious();
    bool moveNext();
    bool moveLast();
    bool addNew();
    // Deletes the current row; a failure raises a RuntimeError.
    bool deleteCurrent();
    // Moves to the first row, from the top, for which `matches` holds; stays where it is otherwise.
    bool findFirst(const std::function<bool(const QSqlRecord&)>& matches);
    // Writes what is typed, as the window closes; false when the window must stay open.
    bool saveForUnload();
    // Reads the rows again, staying on the current one; pending edits stay in their boxes.
    void refresh();

    int rowCount() const;
    // The current row counted from 0; -1 when there is none.
    int position() const;
    bool isAdding() const;
    // The current row as it is stored, before what is typed now.
    QSqlRecord storedRecord() const;
    // The key of the current row; invalid while a new row is being added.
    QVariant currentKey() const;

    QString caption() const;
    void setCaption(const QString& caption);

  signals:
    // Before every move, addition, deletion, find and close; set *cancel to stop it.
    void Validate(horalog::DataControl::Action action, bool* cancel);
    // After the bar moved to another row.
    void Reposition();
    // A button of the bar failed; the window reports it.
    void Error(const horalog::RuntimeError& error);
    // The edits could not be written; set *loseEdits to go on without them.
    void WriteFailed(const horalog::RuntimeError& error, bool* loseEdits);
    // Another program changed the row since it was shown; set *overwrite to write over it.
    void RowChanged(bool* overwrite);
    // Another program deleted the row since it was shown.
    void RowDeleted();

  private:
    struct Binding {
        QWidget* box;
        QString field;
        FieldKind kind;
        std::function<void(const QVariant&)> show;
        std::function<QVariant()> value;
    };
    enum class Outcome { GoOn, Stay };

    bool navigate(Action action, int target);
    bool validate(Action action);
    // Writes the pending edits; GoOn once they are written or given up, with the row's key.
    Outcome writePending(QVariant& key);
    Outcome writeRow(QVariant& key);
    store::FieldValues editedValues() const;
    void dropEdits();
    void watchEdits(QWidget* box);
    void boxEdited(QWidget* box);
    void showRow(int row);
    void clearBoxes();
    int rowOfKey(const QVariant& key) const;
    QVariant keyAt(int row) const;
    int storedRowCount() const;
    // The stored row closest to `row`; -1 when there is none.
    int nearestRow(int row) const;
    void selectAll();
    // Reads the rows again after this bar wrote, or found them changed by another program.
    void selectIfStale();
    void guardedClick(const std::function<void()>& body);

    QSqlDatabase db_;
    QString table_;
    QString orderBy_;
    std::optional<RowFilter> filter_;
    QString keyField_;
    QSqlQueryModel* model_;
    QDataWidgetMapper* mapper_;
    class FieldDelegate* delegate_;
    QList<Binding> bindings_;
    QLabel* caption_;
    int current_ = -1;
    bool adding_ = false;
    // The row was deleted by another program; its edits are dropped at the next move or close.
    bool rowGone_ = false;
    bool showing_ = false;
    bool stale_ = false;
    QSet<const QWidget*> edited_;
    QSqlRecord stored_;
};

} // namespace horalog
