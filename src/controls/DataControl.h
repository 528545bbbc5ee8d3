#pragma once

#include "platform/RuntimeError.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QWidget>
#include <functional>

class QDataWidgetMapper;
class QLabel;
class QSqlTableModel;
class QToolButton;

namespace horalog
{

// The navigation bar of a window that edits one row at a time: first, previous, next and last
// buttons around a caption, over a table of the data file. Boxes bound to fields show the current
// row; what is typed reaches the data file only when the bar moves, adds a row or the window
// closes, after the window's Validate handler has let it.
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

    // Reads `table` (all rows, sorted by `orderBy` when given) and shows the first row.
    void setRecordSource(const QSqlDatabase& db, const QString& table, const QString& orderBy = {});
    // Binds a box to a field of the current row.
    void bind(QWidget* box, const QString& field, FieldKind kind = FieldKind::Text);
    // The field `box` is bound to; empty when it is bound to none.
    QString boundField(const QWidget* box) const;
    // A field of a row as its bound box shows it.
    QString shownText(const QSqlRecord& row, const QString& field) const;

    // Each returns false when Validate cancelled it. A failed write raises a RuntimeError and
    // keeps what was typed.
    bool moveFirst();
    bool movePrevious();
    bool moveNext();
    bool moveLast();
    bool addNew();
    bool deleteCurrent();
    // Moves to the first row, from the top, for which `matches` holds; stays where it is otherwise.
    bool findFirst(const std::function<bool(const QSqlRecord&)>& matches);
    // Writes what is typed, as the window closes.
    bool saveForUnload();
    void refresh();

    int rowCount() const;
    // The current row counted from 0; -1 when there is none.
    int position() const;
    bool isAdding() const;
    // The current row as it is stored, before what is typed now.
    QSqlRecord storedRecord() const;

    QString caption() const;
    void setCaption(const QString& caption);

  signals:
    // Before every move, addition, deletion, find and close; set *cancel to stop it.
    void Validate(horalog::DataControl::Action action, bool* cancel);
    // After the bar moved to another row.
    void Reposition();
    // A button of the bar failed; the window reports it.
    void Error(const horalog::RuntimeError& error);

  private:
    struct Binding {
        QWidget* box;
        QString field;
    };

    bool navigate(Action action, int target);
    bool validate(Action action);
    // Writes what is typed into the current row; returns the row's key afterwards.
    QVariant commit();
    bool boxesModified() const;
    void clearBoxes();
    void applyBinding(const Binding& binding);
    void setPosition(int row);
    int rowOfKey(const QVariant& key) const;
    QVariant keyAt(int row) const;
    void selectAll();
    void guardedClick(const std::function<void()>& body);

    QSqlTableModel* model_ = nullptr;
    QDataWidgetMapper* mapper_;
    class FieldDelegate* delegate_;
    QList<Binding> bindings_;
    QLabel* caption_;
    QString keyField_;
    int current_ = -1;
    int addedRow_ = -1;
    QSqlRecord stored_;
};

} // namespace horalog
