#include "customers/editlayer.h"

EditLayer::EditLayer(QObject* parent) : QIdentityProxyModel(parent) {}

void EditLayer::setSourceModel(QAbstractItemModel* source) {
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QIdentityProxyModel::setSourceModel(source);
    if (!source)
        return;
    // A new result replaces everything laid over the old one.
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const bool wasEditing = state_ != State::Browse;
        state_ = State::Browse;
        row_ = -1;
        buffer_.clear();
        changed_.clear();
        added_.clear();
        if (wasEditing)
            emit stateChanged();
    });
}

int EditLayer::column(const QString& field) const {
    if (!sourceModel())
        return -1;
    for (int c = 0; c < sourceModel()->columnCount(); ++c)
        if (sourceModel()->headerData(c, Qt::Horizontal).toString().compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

int EditLayer::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return storedRows() + (state_ == State::Insert ? 1 : 0);
}

int EditLayer::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !sourceModel())
        return 0;
    return sourceModel()->columnCount();
}

QModelIndex EditLayer::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return {};
    if (row < sourceRows())
        return QIdentityProxyModel::index(row, column);
    return createIndex(row, column);
}

QModelIndex EditLayer::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid() || proxyIndex.row() >= sourceRows())
        return {};
    return QIdentityProxyModel::mapToSource(proxyIndex);
}

EditLayer::Values EditLayer::rowValues(int row) const {
    if (state_ != State::Browse && row == editRow())
        return buffer_;
    if (row >= sourceRows()) {
        const int i = row - sourceRows();
        return i < added_.size() ? added_[i] : Values(columnCount());
    }
    if (changed_.contains(row))
        return changed_.value(row);
    Values v;
    for (int c = 0; c < columnCount(); ++c)
        v << sourceModel()->data(sourceModel()->index(row, c), Qt::EditRole);
    return v;
}

QVariant EditLayer::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const bool own =
        row >= sourceRows() || changed_.contains(row) || (state_ != State::Browse && row == editRow());
    if (!own)
        return QIdentityProxyModel::data(index, role);
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return rowValues(row).value(index.column());
    return {};
}

bool EditLayer::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    if (state_ == State::Browse)
        beginEdit(index.row());
    if (index.row() != editRow())
        return false;
    buffer_[index.column()] = value;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags EditLayer::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

void EditLayer::beginEdit(int row) {
    if (state_ != State::Browse || row < 0 || row >= storedRows())
        return;
    buffer_ = rowValues(row);
    row_ = row;
    state_ = State::Edit;
    emit stateChanged();
}

void EditLayer::beginInsert() {
    if (state_ != State::Browse)
        return;
    const int row = storedRows();
    beginInsertRows({}, row, row);
    // A new row starts with empty texts, which is what is stored for a box left alone.
    buffer_ = Values(columnCount(), QString());
    state_ = State::Insert;
    endInsertRows();
    emit stateChanged();
}

void EditLayer::saved(const QVariant& key, int keyColumn) {
    const int row = editRow();
    if (state_ == State::Insert) {
        if (keyColumn >= 0)
            buffer_[keyColumn] = key;
        added_.append(buffer_);
    } else if (state_ == State::Edit) {
        // A row added since the list was loaded keeps its values among the added rows, which is
        // where it is shown and edited from.
        if (row >= sourceRows())
            added_[row - sourceRows()] = buffer_;
        else
            changed_.insert(row, buffer_);
    } else {
        return;
    }
    state_ = State::Browse;
    row_ = -1;
    buffer_.clear();
    emitRowChanged(row);
    emit stateChanged();
}

void EditLayer::cancel() {
    if (state_ == State::Insert) {
        const int row = editRow();
        beginRemoveRows({}, row, row);
        state_ = State::Browse;
        buffer_.clear();
        endRemoveRows();
    } else if (state_ == State::Edit) {
        const int row = row_;
        state_ = State::Browse;
        row_ = -1;
        buffer_.clear();
        emitRowChanged(row);
    } else {
        return;
    }
    emit stateChanged();
}

void EditLayer::emitRowChanged(int row) {
    if (row >= 0 && columnCount() > 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

// ---- EditableGrid ----

EditableGrid::EditableGrid(QWidget* parent) : DataGrid(parent) {
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
}

void EditableGrid::setLayer(EditLayer* layer) {
    layer_ = layer;
    setSourceLayer(layer);
}

bool EditableGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Only the row in editing takes typing while another row waits to be saved.
    if (layer_ && layer_->state() != EditLayer::State::Browse && index.isValid() &&
        index.row() != layer_->editRow())
        return false;
    const bool opened = DataGrid::edit(index, trigger, event);
    if (opened && layer_ && layer_->state() == EditLayer::State::Browse)
        layer_->beginEdit(index.row());
    return opened;
}

void EditableGrid::commitEditors() {
    closeEditors(true);
}

void EditableGrid::discardEditors() {
    closeEditors(false);
}

void EditableGrid::closeEditors(bool commit) {
    if (!layer_ || layer_->state() == EditLayer::State::Browse)
        return;
    const int row = layer_->editRow();
    for (int c = 0; c < model()->columnCount(); ++c) {
        if (QWidget* editor = indexWidget(model()->index(row, c))) {
            if (commit)
                commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
}
