#include "customers/referencelist.h"
#include "customers/editlayer.h"
#include "customers/screenutil.h"
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kKey = QStringLiteral("rowid");
}

ReferenceList::ReferenceList(Session& session, Setup setup, QWidget* parent)
    : Screen(session, parent), setup_(std::move(setup)) {
    setObjectName(setup_.objectName);
    setWindowTitle(setup_.caption);
    resize(setup_.placement.size());
    setFont(setup_.font);
    layer_ = new EditLayer(this);

    GroupBox1 = new QGroupBox(QStringLiteral("操作导航"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    DBNavigator1 = new QWidget(GroupBox1);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    auto* nav = new QHBoxLayout(DBNavigator1);
    nav->setContentsMargins(0, 0, 0, 0);
    nav->setSpacing(0);
    auto button = [this](QWidget* owner, const char* name, const QString& text, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(owner);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(text);
        b->setIcon(style()->standardIcon(icon));
        b->setIconSize(QSize(24, 24));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        return b;
    };
    nbInsert = button(DBNavigator1, "nbInsert", QStringLiteral("新增"), QStyle::SP_FileIcon);
    nbDelete = button(DBNavigator1, "nbDelete", QStringLiteral("删除"), QStyle::SP_TrashIcon);
    nbEdit = button(DBNavigator1, "nbEdit", QStringLiteral("修改"), QStyle::SP_FileDialogDetailedView);
    nbPost = button(DBNavigator1, "nbPost", QStringLiteral("保存"), QStyle::SP_DialogSaveButton);
    nbCancel = button(DBNavigator1, "nbCancel", QStringLiteral("取消"), QStyle::SP_DialogCancelButton);
    for (QToolButton* b : {nbInsert, nbDelete, nbEdit, nbPost, nbCancel})
        nav->addWidget(b);
    BitBtn1 = button(GroupBox1, "BitBtn1", QStringLiteral("退出"), QStyle::SP_DialogCloseButton);
    BitBtn1->setToolTip(QString());
    auto* top = new QHBoxLayout(GroupBox1);
    top->addWidget(DBNavigator1);
    top->addStretch();
    top->addWidget(BitBtn1);

    GroupBox2 = new QGroupBox(setup_.listTitle, this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    DBGrid1 = new EditableGrid(GroupBox2);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("单击列头可实现排序"));
    SharedQuery& query = dm().ADOQuery(setup_.query);
    DBGrid1->bind(session, query);
    DBGrid1->setLayer(layer_);
    DBGrid1->setStretch(true);
    QList<GridColumn> columns;
    for (const QString& f : setup_.fields)
        columns.append({f, 0, {}});
    DBGrid1->setColumns(columns);
    (new QVBoxLayout(GroupBox2))->addWidget(DBGrid1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2, 1);

    connect(nbInsert, &QToolButton::clicked, this, [this] { guarded([this] { insertRow(); }); });
    connect(nbDelete, &QToolButton::clicked, this, [this] { guarded([this] { deleteRow(); }); });
    connect(nbEdit, &QToolButton::clicked, this, [this] { guarded([this] { editRow(); }); });
    connect(nbPost, &QToolButton::clicked, this, [this] { guarded([this] { postRow(); }); });
    connect(nbCancel, &QToolButton::clicked, this, [this] { guarded([this] { cancelRow(); }); });
    connect(BitBtn1, &QToolButton::clicked, this, [this] { ScreenUtil::closeScreen(this); });

    connect(layer_, &EditLayer::stateChanged, this, &ReferenceList::updateButtons);
    connect(layer_, &QAbstractItemModel::rowsInserted, this, &ReferenceList::updateButtons);
    connect(layer_, &QAbstractItemModel::rowsRemoved, this, &ReferenceList::updateButtons);
    connect(layer_, &QAbstractItemModel::modelReset, this, &ReferenceList::updateButtons);
    connect(&query, &SharedQuery::reloaded, this, &ReferenceList::updateButtons);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ReferenceList::rowLeft);
    // A title click sorts by loading the list again: the row in editing is saved first.
    DBGrid1->horizontalHeader()->viewport()->installEventFilter(this);
    updateButtons();
}

void ReferenceList::showEvent(QShowEvent* e) {
    Screen::showEvent(e);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void ReferenceList::FormShow() {
    guarded([this] { dm().ADOQuery(setup_.query).open(setup_.sql); });
}

bool ReferenceList::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress && layer_->state() != EditLayer::State::Browse &&
        watched == DBGrid1->horizontalHeader()->viewport()) {
        bool ok = false;
        guarded([&] { ok = postRow(); });
        if (!ok)
            return true;
    }
    return Screen::eventFilter(watched, e);
}

void ReferenceList::updateButtons() {
    const bool open = dm().ADOQuery(setup_.query).isOpen();
    const bool browsing = layer_->state() == EditLayer::State::Browse;
    nbInsert->setEnabled(open);
    nbDelete->setEnabled(open && layer_->rowCount() > 0);
    nbEdit->setEnabled(open && browsing);
    nbPost->setEnabled(!browsing);
    nbCancel->setEnabled(!browsing);
}

int ReferenceList::currentRow() const {
    const QModelIndex i = DBGrid1->currentIndex();
    if (i.isValid())
        return i.row();
    return layer_->rowCount() > 0 ? 0 : -1;
}

void ReferenceList::goToRow(int row) {
    ScreenUtil::selectRow(DBGrid1, row);
}

void ReferenceList::insertRow() {
    SharedQuery& query = dm().ADOQuery(setup_.query);
    if (!query.isOpen() || !postRow())
        return;
    // The whole list is at hand, so the new row stays the last one.
    query.fetchAll();
    layer_->beginInsert();
    goToRow(layer_->editRow());
    DBGrid1->setFocus();
}

void ReferenceList::editRow() {
    if (layer_->state() != EditLayer::State::Browse)
        return;
    if (layer_->storedRows() == 0) {
        insertRow();
        return;
    }
    layer_->beginEdit(currentRow());
    DBGrid1->setFocus();
}

bool ReferenceList::postRow() {
    const EditLayer::State state = layer_->state();
    if (state == EditLayer::State::Browse)
        return true;
    DBGrid1->commitEditors();
    const EditLayer::Values values = layer_->buffer();
    QVariantList params;
    QStringList names, marks;
    for (const QString& f : setup_.fields) {
        QString v = values.value(layer_->column(f)).toString();
        if (v.isNull())
            v = QStringLiteral("");
        params << v;
        names << TDM1::quoteId(f);
        marks << QStringLiteral("?");
    }
    const QString table = TDM1::quoteId(setup_.table);
    const int keyColumn = layer_->column(kKey);
    QVariant key;
    try {
        if (state == EditLayer::State::Insert) {
            key = dm().insert(QStringLiteral("insert into %1 (%2) values(%3)")
                                  .arg(table, names.join(u','), marks.join(u',')),
                              params);
        } else {
            key = values.value(keyColumn);
            QStringList sets;
            for (const QString& n : names)
                sets << n + QStringLiteral("=?");
            if (dm().ADOall.exec(QStringLiteral("update %1 set %2 where rowid=?").arg(table, sets.join(u',')),
                                 params + QVariantList{key}) == 0)
                TDM1::fail(QStringLiteral("此记录已不存在！"));
        }
    } catch (const DbError& e) {
        // The row stays in editing, to be corrected or cancelled.
        session().reportError(this, e.text());
        return false;
    }
    layer_->saved(key, keyColumn);
    return true;
}

void ReferenceList::cancelRow() {
    DBGrid1->discardEditors();
    const int row = currentRow();
    dropRow();
    goToRow(row);
}

void ReferenceList::dropRow() {
    // Removing a new row moves the cursor off it; that move must not save the row.
    returning_ = true;
    layer_->cancel();
    returning_ = false;
}

void ReferenceList::deleteRow() {
    if (layer_->rowCount() == 0)
        return;
    DBGrid1->commitEditors();
    if (!msg().ask(this, QStringLiteral("Delete record?"), QStringLiteral("Confirm")))
        return;
    const int row = currentRow();
    if (layer_->state() == EditLayer::State::Insert && row == layer_->editRow()) {
        dropRow();
        goToRow(row - 1);
        return;
    }
    const QVariant key = layer_->rowValues(row).value(layer_->column(kKey));
    if (dm().ADOall.exec(QStringLiteral("delete from %1 where rowid=?").arg(TDM1::quoteId(setup_.table)),
                         {key}) == 0)
        TDM1::fail(QStringLiteral("此记录已不存在！"));
    // Loading the list again drops the row and any row still waiting in editing.
    dm().ADOQuery(setup_.query).reopen();
    goToRow(row);
}

void ReferenceList::rowLeft(const QModelIndex& current, const QModelIndex& previous) {
    if (returning_ || layer_->state() == EditLayer::State::Browse)
        return;
    if (!previous.isValid() || previous.row() != layer_->editRow() || current.row() == previous.row())
        return;
    bool ok = false;
    guarded([&] { ok = postRow(); });
    if (ok)
        return;
    returning_ = true;
    DBGrid1->setCurrentIndex(DBGrid1->model()->index(previous.row(), previous.column()));
    returning_ = false;
}
