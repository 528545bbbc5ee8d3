#include "controls/DataControl.h"

#include "platform/Formats.h"
#include "store/Sql.h"

#include <QDataWidgetMapper>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlTableModel>
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
} // namespace

// Converts between a bound box and the stored value, by the kind each box was bound with.
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

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* box = qobject_cast<QLineEdit*>(editor);
        switch (kinds.value(editor, DataControl::FieldKind::Text)) {
        case DataControl::FieldKind::Masked:
            model->setData(index, box->text().contains(QRegularExpression(QStringLiteral("\\d")))
                                      ? box->displayText()
                                      : QString());
            return;
        case DataControl::FieldKind::Date: {
            const QString text = box->text().trimmed();
            const QDate day = parseDate(text);
            model->setData(index, text.isEmpty()  ? QVariant()
                                  : day.isValid() ? QVariant(storedDate(day))
                                                  : QVariant(text));
            return;
        }
        case DataControl::FieldKind::Amount: {
            const QString text = box->text().trimmed();
            const std::optional<double> amount = parseAmount(text);
            model->setData(index, text.isEmpty() ? QVariant() : amount ? QVariant(*amount) : QVariant(text));
            return;
        }
        case DataControl::FieldKind::Text:
            break;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

namespace
{
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

DataControl::DataControl(QWidget* parent)
    : QWidget(parent), mapper_(new QDataWidgetMapper(this)), delegate_(new FieldDelegate(this)),
      caption_(new QLabel(this))
{
    mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    mapper_->setItemDelegate(delegate_);
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

void DataControl::setRecordSource(const QSqlDatabase& db, const QString& table, const QString& orderBy)
{
    delete model_;
    model_ = new QSqlTableModel(this, db);
    model_->setTable(table);
    model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    if (!orderBy.isEmpty())
        model_->setSort(model_->record().indexOf(orderBy), Qt::AscendingOrder);
    keyField_ = model_->primaryKey().count() > 0 ? model_->primaryKey().fieldName(0) : QString();
    mapper_->setModel(model_);
    for (const Binding& binding : std::as_const(bindings_))
        applyBinding(binding);
    selectAll();
    setPosition(rowCount() > 0 ? 0 : -1);
}

void DataControl::bind(QWidget* box, const QString& field, FieldKind kind)
{
    delegate_->kinds.insert(box, kind);
    bindings_.append({box, field});
    if (model_)
        applyBinding(bindings_.last());
}

void DataControl::applyBinding(const Binding& binding)
{
    mapper_->addMapping(binding.box, model_->record().indexOf(binding.field));
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
            return shownValue(delegate_->kinds.value(binding.box), row.value(field));
    }
    return row.value(field).toString();
}

bool DataControl::moveFirst()
{
    return navigate(Action::MoveFirst, 0);
}

bool DataControl::movePrevious()
{
    return navigate(Action::MovePrevious, qMax(current_ - 1, 0));
}

bool DataControl::moveNext()
{
    return navigate(Action::MoveNext, qMin(current_ + 1, rowCount() - 1));
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
    const bool toCurrent = target == current_;
    const QVariant targetKey = toCurrent ? QVariant() : keyAt(target);
    const QVariant savedKey = commit();
    const int row = rowOfKey(toCurrent ? savedKey : targetKey);
    setPosition(row >= 0 ? row : qMin(target, rowCount() - 1));
    return true;
}

bool DataControl::addNew()
{
    if (!validate(Action::AddNew))
        return false;
    commit();
    addedRow_ = rowCount();
    model_->insertRow(addedRow_);
    setPosition(addedRow_);
    return true;
}

bool DataControl::deleteCurrent()
{
    if (!validate(Action::Delete))
        return false;
    if (current_ < 0)
        throw RuntimeError(error::NoCurrentRecord);
    const int row = current_;
    model_->revertAll();
    if (addedRow_ < 0) {
        model_->removeRow(row);
        if (!model_->submitAll()) {
            const QSqlError failure = model_->lastError();
            model_->revertAll();
            store::raiseSqlError(failure, model_->database());
        }
    }
    addedRow_ = -1;
    setPosition(qMin(row, rowCount() - 1));
    return true;
}

bool DataControl::findFirst(const std::function<bool(const QSqlRecord&)>& matches)
{
    if (!validate(Action::Find))
        return false;
    const QVariant savedKey = commit();
    for (int row = 0; row < rowCount(); ++row) {
        if (matches(model_->record(row))) {
            setPosition(row);
            return true;
        }
    }
    setPosition(qMax(rowOfKey(savedKey), qMin(current_, rowCount() - 1)));
    return true;
}

bool DataControl::saveForUnload()
{
    if (!validate(Action::Unload))
        return false;
    commit();
    return true;
}

void DataControl::refresh()
{
    const QVariant key = keyAt(current_);
    selectAll();
    const int row = rowOfKey(key);
    setPosition(row >= 0 ? row : qMin(current_, rowCount() - 1));
}

bool DataControl::validate(Action action)
{
    bool cancel = false;
    emit Validate(action, &cancel);
    return !cancel;
}

bool DataControl::boxesModified() const
{
    for (const Binding& binding : bindings_) {
        if (const auto* line = qobject_cast<const QLineEdit*>(binding.box); line && line->isModified())
            return true;
        if (const auto* text = qobject_cast<const QPlainTextEdit*>(binding.box);
            text && text->document()->isModified())
            return true;
    }
    return false;
}

QVariant DataControl::commit()
{
    if (current_ < 0)
        return {};
    if (!boxesModified()) {
        if (addedRow_ >= 0) {
            model_->revertAll();
            addedRow_ = -1;
            return {};
        }
        return keyAt(current_);
    }
    mapper_->submit();
    QVariant key = keyAt(current_);
    if (!model_->submitAll())
        store::raiseSqlError(model_->lastError(), model_->database());
    if (addedRow_ >= 0 && key.isNull()) {
        QSqlQuery inserted = store::execute(model_->database(), QStringLiteral("SELECT last_insert_rowid()"));
        if (inserted.next())
            key = inserted.value(0);
    }
    addedRow_ = -1;
    while (model_->canFetchMore())
        model_->fetchMore();
    return key;
}

void DataControl::setPosition(int row)
{
    current_ = row;
    if (row >= 0) {
        mapper_->setCurrentIndex(row);
        stored_ = model_->record(row);
    } else {
        clearBoxes();
        stored_ = QSqlRecord();
    }
    for (const Binding& binding : std::as_const(bindings_)) {
        if (auto* line = qobject_cast<QLineEdit*>(binding.box))
            line->setModified(false);
        else if (auto* text = qobject_cast<QPlainTextEdit*>(binding.box))
            text->document()->setModified(false);
    }
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
    if (key.isNull() || keyField_.isEmpty())
        return -1;
    for (int row = 0; row < rowCount(); ++row) {
        const QVariant candidate = model_->record(row).value(keyField_);
        if (candidate == key || candidate.toString().compare(key.toString(), Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

QVariant DataControl::keyAt(int row) const
{
    if (row < 0 || row >= rowCount() || keyField_.isEmpty())
        return {};
    return model_->record(row).value(keyField_);
}

void DataControl::selectAll()
{
    if (!model_->select())
        store::raiseSqlError(model_->lastError(), model_->database());
    while (model_->canFetchMore())
        model_->fetchMore();
}

int DataControl::rowCount() const
{
    return model_ ? model_->rowCount() : 0;
}

int DataControl::position() const
{
    return current_;
}

bool DataControl::isAdding() const
{
    return addedRow_ >= 0;
}

QSqlRecord DataControl::storedRecord() const
{
    return stored_;
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
