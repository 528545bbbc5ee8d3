#include "controls/DataControl.h"

#include "platform/Formats.h"
#include "store/Sql.h"

#include <QDataWidgetMapper>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace horalog
{

namespace
{

QString shownValue(DataControl::FieldKind kind, const QVariant& value)
{
    switch (kind) {
    case DataControl::FieldKind::Date: {
        const QDate day = dateFromStore(value);
        return day.isValid() ? formatDate(day) : value.toString();
    }
    case DataControl::FieldKind::Amount:
        return value.isNull() || value.toString().isEmpty() ? QString()
                                                            : QString::number(value.toDouble(), 'f', 2);
    case DataControl::FieldKind::Masked:
    case DataControl::FieldKind::Text:
        break;
    }
    return value.toString();
}

// What a text box of the kind stores: dates and amounts that do not convert are kept as typed.
QVariant storedValue(DataControl::FieldKind kind, const QLineEdit* box)
{
    const QString text = box->text().trimmed();
    switch (kind) {
    case DataControl::FieldKind::Masked:
        return text.contains(QRegularExpression(QStringLiteral("\\d"))) ? box->displayText() : QString();
    case DataControl::FieldKind::Date: {
        const QDate day = parseDate(text);
        return text.isEmpty() ? QVariant() : day.isValid() ? QVariant(storedDate(day)) : QVariant(text);
    }
    case DataControl::FieldKind::Amount: {
        const std::optional<double> amount = parseAmount(text);
        return text.isEmpty() ? QVariant() : amount ? QVariant(*amount) : QVariant(text);
    }
    case DataControl::FieldKind::Text:
        break;
    }
    return box->text();
}

QToolButton* makeNavigationButton(QWidget* parent, const QString& glyph, const QString& name)
{
    auto* button = new QToolButton(parent);
    button->setText(glyph);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

} // namespace

// Shows a stored value in a bound box, by the kind the box was bound with.
class FieldDelegate : public QStyledItemDelegate
{
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QHash<const QWidget*, DataControl::FieldKind> kinds;

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const DataControl::FieldKind kind = kinds.value(editor, DataControl::FieldKind::Text);
        if (kind == DataControl::FieldKind::Text) {
            QStyledItemDelegate::setEditorData(editor, index);
            return;
        }
        qobject_cast<QLineEdit*>(editor)->setText(shownValue(kind, index.data(Qt::EditRole)));
    }
};

DataControl::DataControl(QWidget* parent)
    : QWidget(parent), model_(new QSqlQueryModel(this)), mapper_(new QDataWidgetMapper(this)),
      delegate_(new FieldDelegate(this)), caption_(new QLabel(this))
{
    mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    mapper_->setItemDelegate(delegate_);
    mapper_->setModel(model_);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QToolButton* first = makeNavigationButton(this, QStringLiteral("|\u25C0"), tr("First"));
    QToolButton* previous = makeNavigationButton(this, QStringLiteral("\u25C0"), tr("Previous"));
    QToolButton* next = makeNavigationButton(this, QStringLiteral("\u25B6"), tr("Next"));
    QToolButton* last = makeNavigationButton(this, QStringLiteral("\u25B6|"), tr("Last"));
    layout->addWidget(first);
    layout->addWidget(previous);
    layout->addWidget(caption_, 1);
    layout->addWidget(next);
    layout->addWidget(last);
    connect(first, &QToolButton::clicked, this, [this] { guardedClick([this] { moveFirst(); }); });
    connect(previous, &QToolButton::clicked, this, [this] { guardedClick([this] { movePrevious(); }); });
    connect(next, &QToolButton::clicked, this, [this] { guardedClick([this] { moveNext(); }); });
    connect(last, &QToolButton::clicked, this, [this] { guardedClick([this] { moveLast(); }); });
}

DataControl::~DataControl() = default;

void DataControl::setRecordSource(const QSqlDatabase& db, const QString& table, const QString& orderBy,
                                  const std::optional<RowFilter>& filter)
{
    db_ = db;
    table_ = table;
    orderBy_ = orderBy;
    filter_ = filter;
    keyField_ = store::keyFieldOf(db, table);
    selectAll();
    mapper_->clearMapping();
    for (const Binding& binding : std::as_const(bindings_)) {
        if (!binding.show)
            mapper_->addMapping(binding.box, model_->record().indexOf(binding.field));
    }
    showRow(storedRowCount() > 0 ? 0 : -1);
}

void DataControl::bind(QWidget* box, const QString& field, FieldKind kind)
{
    delegate_->kinds.insert(box, kind);
    bindings_.append({box, field, kind, {}, {}});
    if (!table_.isEmpty())
        mapper_->addMapping(box, model_->record().indexOf(field));
    watchEdits(box);
}

void DataControl::bindCustom(QWidget* box, const QString& field, std::function<void(const QVariant&)> show,
                             std::function<QVariant()> value)
{
    bindings_.append({box, field, FieldKind::Text, std::move(show), std::move(value)});
}

void DataControl::watchEdits(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        connect(line, &QLineEdit::textEdited, this, [this, box] { boxEdited(box); });
    else if (auto* text = qobject_cast<QPlainTextEdit*>(box))
        connect(text->document(), &QTextDocument::contentsChanged, this, [this, box] { boxEdited(box); });
}

void DataControl::markEdited(QWidget* box)
{
    boxEdited(box);
}

// Typing into the boxes of an empty table, or after the last row was deleted, begins a new row
// with what was typed, so that nothing typed is dropped.
void DataControl::boxEdited(QWidget* box)
{
    if (showing_)
        return;
    edited_.insert(box);
    if (current_ < 0 && !adding_) {
        adding_ = true;
        emit Reposition();
    }
}

bool DataControl::hasPendingEdits() const
{
    return !edited_.isEmpty();
}

QString DataControl::boundField(const QWidget* box) const
{
    for (const Binding& binding : bindings_) {
        if (binding.box == box)
            return binding.field;
    }
    return {};
}

QString DataControl::shownText(const QSqlRecord& row, const QString& field) const
{
    for (const Binding& binding : bindings_) {
        if (binding.field == field)
            return shownValue(binding.kind, row.value(field));
    }
    return row.value(field).toString();
}

bool DataControl::moveFirst()
{
    return navigate(Action::MoveFirst, 0);
}

bool DataControl::movePrevious()
{
    return navigate(Action::MovePrevious, qMax(position() - 1, 0));
}

bool DataControl::moveNext()
{
    return navigate(Action::MoveNext, qMin(position() + 1, rowCount() - 1));
}

bool DataControl::moveLast()
{
    return navigate(Action::MoveLast, rowCount() - 1);
}

// The target row is chosen before the write, by its key, because writing re-reads the rows and
// a renamed row may change its place in the order.
bool DataControl::navigate(Action action, int target)
{
    if (!validate(action))
        return false;
    const bool toCurrent = target == position();
    const QVariant targetKey = toCurrent ? QVariant() : keyAt(target);
    QVariant savedKey;
    if (writePending(savedKey) == Outcome::Stay)
        return false;
    selectIfStale();
    const int row = rowOfKey(toCurrent ? savedKey : targetKey);
    showRow(row >= 0 ? row : nearestRow(target));
    return true;
}

bool DataControl::addNew()
{
    if (!validate(Action::AddNew))
        return false;
    QVariant savedKey;
    if (writePending(savedKey) == Outcome::Stay)
        return false;
    selectIfStale();
    showRow(-1);
    adding_ = true;
    emit Reposition();
    return true;
}

bool DataControl::deleteCurrent()
{
    if (!validate(Action::Delete))
        return false;
    const int row = position();
    if (adding_) {
        showRow(nearestRow(row));
        return true;
    }
    if (current_ < 0)
        throw RuntimeError(error::NoCurrentRecord);
    store::deleteRow(db_, table_, keyField_, keyAt(current_));
    selectAll();
    showRow(nearestRow(row));
    return true;
}

bool DataControl::findFirst(const std::function<bool(const QSqlRecord&)>& matches)
{
    if (!validate(Action::Find))
        return false;
    const int from = position();
    QVariant savedKey;
    if (writePending(savedKey) == Outcome::Stay)
        return false;
    selectIfStale();
    for (int row = 0; row < storedRowCount(); ++row) {
        if (matches(model_->record(row))) {
            showRow(row);
            return true;
        }
    }
    const int saved = rowOfKey(savedKey);
    showRow(saved >= 0 ? saved : nearestRow(from));
    return true;
}

bool DataControl::saveForUnload()
{
    if (!validate(Action::Unload))
        return false;
    QVariant savedKey;
    return writePending(savedKey) == Outcome::GoOn;
}

void DataControl::refresh()
{
    const QVariant key = currentKey();
    selectAll();
    if (adding_)
        return;
    const int row = rowOfKey(key);
    if (hasPendingEdits() && row >= 0) {
        current_ = row;
        return;
    }
    showRow(row >= 0 ? row : nearestRow(current_));
}

bool DataControl::validate(Action action)
{
    bool cancel = false;
    emit Validate(action, &cancel);
    return !cancel;
}

DataControl::Outcome DataControl::writePending(QVariant& key)
{
    key = currentKey();
    if (rowGone_ || edited_.isEmpty()) {
        dropEdits();
        return Outcome::GoOn;
    }
    try {
        return writeRow(key);
    } catch (const RuntimeError& error) {
        bool loseEdits = false;
        emit WriteFailed(error, &loseEdits);
        if (!loseEdits)
            return Outcome::Stay;
        dropEdits();
        return Outcome::GoOn;
    }
}

DataControl::Outcome DataControl::writeRow(QVariant& key)
{
    const store::FieldValues values = editedValues();
    stale_ = true;
    if (adding_) {
        key = store::insertRow(db_, table_, keyField_, values);
        dropEdits();
        return Outcome::GoOn;
    }
    store::RowWrite written = store::updateRow(db_, table_, keyField_, stored_, values, false);
    if (written == store::RowWrite::ChangedElsewhere) {
        bool overwrite = false;
        emit RowChanged(&overwrite);
        if (!overwrite) {
            dropEdits();
            return Outcome::GoOn;
        }
        written = store::updateRow(db_, table_, keyField_, stored_, values, true);
    }
    if (written == store::RowWrite::DeletedElsewhere) {
        rowGone_ = true;
        emit RowDeleted();
        return Outcome::Stay;
    }
    for (const auto& [field, value] : values) {
        if (field == keyField_)
            key = value;
    }
    dropEdits();
    return Outcome::GoOn;
}

store::FieldValues DataControl::editedValues() const
{
    store::FieldValues values;
    for (const Binding& binding : bindings_) {
        if (!edited_.contains(binding.box))
            continue;
        if (binding.value)
            values.append({binding.field, binding.value()});
        else if (const auto* line = qobject_cast<const QLineEdit*>(binding.box))
            values.append({binding.field, storedValue(binding.kind, line)});
        else if (const auto* text = qobject_cast<const QPlainTextEdit*>(binding.box))
            values.append({binding.field, text->toPlainText()});
    }
    return values;
}

void DataControl::dropEdits()
{
    edited_.clear();
    adding_ = false;
    rowGone_ = false;
}

void DataControl::showRow(int row)
{
    showing_ = true;
    current_ = row;
    dropEdits();
    if (row >= 0) {
        mapper_->setCurrentIndex(row);
        stored_ = model_->record(row);
    } else {
        clearBoxes();
        stored_ = QSqlRecord();
    }
    for (const Binding& binding : std::as_const(bindings_)) {
        if (binding.show)
            binding.show(stored_.value(binding.field));
    }
    showing_ = false;
    emit Reposition();
}

void DataControl::clearBoxes()
{
    for (const Binding& binding : std::as_const(bindings_)) {
        if (auto* line = qobject_cast<QLineEdit*>(binding.box))
            line->clear();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(binding.box))
            text->clear();
    }
}

int DataControl::rowOfKey(const QVariant& key) const
{
    if (!key.isValid() || keyField_.isEmpty())
        return -1;
    for (int row = 0; row < storedRowCount(); ++row) {
        const QVariant candidate = model_->record(row).value(keyField_);
        if (candidate == key || candidate.toString().compare(key.toString(), Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

QVariant DataControl::keyAt(int row) const
{
    if (row < 0 || row >= storedRowCount() || keyField_.isEmpty())
        return {};
    return model_->record(row).value(keyField_);
}

// Every row is fetched, so that the caption, Last and Find see the whole table.
void DataControl::selectIfStale()
{
    if (stale_)
        selectAll();
}

void DataControl::selectAll()
{
    stale_ = false;
    model_->setQuery(store::selectRows(db_, table_, filter_, orderBy_));
    if (model_->lastError().isValid())
        store::raiseSqlError(model_->lastError(), db_);
    while (model_->canFetchMore())
        model_->fetchMore();
}

int DataControl::nearestRow(int row) const
{
    return storedRowCount() == 0 ? -1 : qBound(0, row, storedRowCount() - 1);
}

int DataControl::storedRowCount() const
{
    return model_->rowCount();
}

int DataControl::rowCount() const
{
    return storedRowCount() + (adding_ ? 1 : 0);
}

int DataControl::position() const
{
    return adding_ ? storedRowCount() : current_;
}

bool DataControl::isAdding() const
{
    return adding_;
}

QSqlRecord DataControl::storedRecord() const
{
    return stored_;
}

QVariant DataControl::currentKey() const
{
    return adding_ ? QVariant() : keyAt(current_);
}

QString DataControl::caption() const
{
    return caption_->text();
}

void DataControl::setCaption(const QString& caption)
{
    caption_->setText(caption);
}

void DataControl::guardedClick(const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& error) {
        emit Error(error);
    }
}

} // namespace horalog
