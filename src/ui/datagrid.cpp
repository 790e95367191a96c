#include "ui/datagrid.h"
#include "ui/session.h"
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSqlField>
#include <QSqlRecord>
#include <QStyleFactory>
#include <QStyledItemDelegate>
#include <QTextLayout>

// ---- GridModel ----

QString GridModel::fieldName(int section) const {
    if (!sourceModel())
        return {};
    return sourceModel()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const QVariant v = QIdentityProxyModel::data(index, Qt::DisplayRole);
        if (v.isNull())
            return QString();
        const QString field = fieldName(index.column());
        if (TDM1::isMoneyColumn(field))
            return Money::fromVariant(v).toString();
        if (TDM1::isDateColumn(field)) {
            const QDate d = QDate::fromString(v.toString(), QStringLiteral("yyyy-MM-dd"));
            return d.isValid() ? d.toString(QStringLiteral("yyyy-M-d")) : v.toString();
        }
        // Remarks of several lines show on one line in a cell.
        QString s = v.toString();
        if (role == Qt::DisplayRole && s.contains(u'\n'))
            s.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
        return s;
    }
    return QIdentityProxyModel::data(index, role);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const QString field = fieldName(section);
        for (const auto& [f, order] : marks_)
            if (f == field)
                return field + (order == Qt::AscendingOrder ? QStringLiteral(" ▲") : QStringLiteral(" ▼"));
        return field;
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

void GridModel::setSortMarks(const QList<QPair<QString, Qt::SortOrder>>& keys) {
    marks_ = keys;
    if (sourceModel() && sourceModel()->columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, sourceModel()->columnCount() - 1);
}

// ---- FooterBar ----

class FooterBar : public QWidget {
public:
    explicit FooterBar(DataGrid* grid) : QWidget(grid), grid_(grid) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(Qt::yellow));
        p.setPen(palette().color(QPalette::Mid));
        QHeaderView* h = grid_->horizontalHeader();
        for (int v = 0; v < h->count(); ++v) {
            const int logical = h->logicalIndex(v);
            if (h->isSectionHidden(logical))
                continue;
            const QRect cell(h->sectionViewportPosition(logical), 0, h->sectionSize(logical), height());
            p.setPen(palette().color(QPalette::Mid));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            const QString text = grid_->footerValues_.value(grid_->proxy_.fieldName(logical));
            if (!text.isEmpty()) {
                p.setPen(Qt::black);
                p.drawText(cell, Qt::AlignCenter, text);
            }
        }
    }

private:
    DataGrid* grid_;
};

// ---- CellPainter ----

namespace {
constexpr int kCellPadding = 3; // blank left and right of a cell's text
} // namespace

// Paints a cell's text on one line, cut off at the cell's edge as the old grids did, shaping it
// once; the standard painter lays every cell out twice and elides it. Cells with a tick box or
// an icon are left to the standard painter.
class CellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o(option);
        initStyleOption(&o, index);
        if (o.features & (QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration)) {
            QStyledItemDelegate::paint(p, option, index);
            return;
        }
        const QPalette::ColorGroup group = !(o.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (o.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
        const bool selected = o.state & QStyle::State_Selected;
        if (selected)
            p->fillRect(o.rect, o.palette.brush(group, QPalette::Highlight));
        else if (o.backgroundBrush.style() != Qt::NoBrush)
            p->fillRect(o.rect, o.backgroundBrush);
        if (!o.text.isEmpty()) {
            // A text wider than its cell shows its beginning.
            const QRect box = o.rect.adjusted(kCellPadding, 0, -kCellPadding, 0);
            QTextLayout layout(o.text, o.font, p->device());
            layout.beginLayout();
            QTextLine line = layout.createLine();
            line.setLineWidth(1e6);
            layout.endLayout();
            const qreal width = line.naturalTextWidth();
            qreal x = box.left();
            if (width <= box.width()) {
                if (o.displayAlignment & Qt::AlignHCenter)
                    x += (box.width() - width) / 2;
                else if (o.displayAlignment & Qt::AlignRight)
                    x += box.width() - width;
            }
            const qreal y = box.top() + (box.height() - line.height()) / 2;
            p->save();
            p->setClipRect(box, Qt::IntersectClip);
            p->setPen(o.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
            line.draw(p, QPointF(x, y));
            p->restore();
        }
        if (o.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(o);
            focus.rect = o.rect;
            focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            focus.backgroundColor = o.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
            const QWidget* w = o.widget;
            (w ? w->style() : QApplication::style())->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, w);
        }
    }
};

// ---- TitleRow ----

// The title row measures every title for its height each time a result is loaded or a column
// moves; the height changes only with the font and the titles shown, so each set of them is
// measured once.
class TitleRow : public QHeaderView {
public:
    explicit TitleRow(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

    QSize sizeHint() const override {
        QString key = font().key();
        if (model())
            for (int v = 0; v < count(); ++v) {
                const int logical = logicalIndex(v);
                if (!isSectionHidden(logical))
                    key += u'\x1f' + model()->headerData(logical, Qt::Horizontal).toString();
            }
        auto known = hints_.constFind(key);
        if (known != hints_.cend())
            return *known;
        if (hints_.size() > 64)
            hints_.clear();
        const QSize hint = QHeaderView::sizeHint();
        hints_.insert(key, hint);
        return hint;
    }

private:
    mutable QHash<QString, QSize> hints_;
};

// ---- RowMarks ----

// The narrow column of row marks on the left has a fixed width; the standard one would still
// measure the numbers of the first and last hundred rows each time rows are loaded. The width
// follows the number of digits of the row count instead, set again only when that number or the
// font changes.
class RowMarks : public QHeaderView {
public:
    explicit RowMarks(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

    QSize sizeHint() const override {
        if (minimumWidth() == maximumWidth())
            return QSize(maximumWidth(), defaultSectionSize());
        return QHeaderView::sizeHint();
    }

    void fit(int rows) {
        rows_ = rows;
        int digits = 1;
        for (int n = rows; n >= 10; n /= 10)
            ++digits;
        if (digits == digits_)
            return;
        digits_ = digits;
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        // Every digit is as wide as "0" in the fonts the grids use; one more blank for the frame.
        setFixedWidth(qMax(12, fontMetrics().horizontalAdvance(QString(digits, u'0')) + 2 * margin + 2));
    }

protected:
    void changeEvent(QEvent* e) override {
        QHeaderView::changeEvent(e);
        if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
            digits_ = 0;
            fit(rows_);
        }
    }

private:
    int rows_ = 0;
    int digits_ = 0;
};

// ---- Scroll bars ----

namespace {
// The grids' scroll bars are drawn in the classic style, in flat colours. The default style
// fills a tall scroll bar with gradients, which the raster engine hands to helper threads and
// waits for, at every repaint of every grid: a few milliseconds per lookup on a busy machine.
QStyle* scrollBarStyle() {
    static QPointer<QStyle> style;
    if (!style && qApp) {
        style = QStyleFactory::create(QStringLiteral("Windows"));
        if (style)
            style->setParent(qApp);
    }
    return style;
}
} // namespace

// ---- DataGrid ----

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalHeader(new TitleRow(this));
    setVerticalHeader(new RowMarks(this));
    if (QStyle* plain = scrollBarStyle()) {
        verticalScrollBar()->setStyle(plain);
        horizontalScrollBar()->setStyle(plain);
    }
    setModel(&proxy_);
    setItemDelegate(new CellPainter(this));
    verticalHeader()->setDefaultSectionSize(20);
    static_cast<RowMarks*>(verticalHeader())->fit(0);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int logical) {
        if (!sortable_)
            return;
        titleClicked(proxy_.fieldName(logical), QApplication::keyboardModifiers() & Qt::ControlModifier);
    });
    connect(&proxy_, &QAbstractItemModel::modelReset, this, &DataGrid::onReset);
    connect(&proxy_, &QAbstractItemModel::rowsInserted, this,
            [this] { static_cast<RowMarks*>(verticalHeader())->fit(proxy_.rowCount()); });
    connect(&proxy_, &QAbstractItemModel::rowsRemoved, this,
            [this] { static_cast<RowMarks*>(verticalHeader())->fit(proxy_.rowCount()); });
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WidgetShortcut);
    connect(find, &QAction::triggered, this, &DataGrid::showFindDialog);
    addAction(find);
}

DataGrid::~DataGrid() {
    if (sortPending_)
        qApp->removeEventFilter(this);
}

void DataGrid::bind(Session& session, SharedQuery& query) {
    session_ = &session;
    query_ = &query;
    if (layer_)
        layer_->setSourceModel(query.model());
    proxy_.setSourceModel(layer_ ? static_cast<QAbstractItemModel*>(layer_.data()) : query.model());
    connect(&query, &SharedQuery::reloaded, this, [this] {
        keys_ = query_->sort();
        proxy_.setSortMarks(keys_);
        refreshFooter();
    });
    onReset();
    refreshFooter();
}

void DataGrid::setSourceLayer(QAbstractProxyModel* layer) {
    layer_ = layer;
    if (!query_)
        return;
    if (layer_)
        layer_->setSourceModel(query_->model());
    proxy_.setSourceModel(layer_ ? static_cast<QAbstractItemModel*>(layer_.data()) : query_->model());
    onReset();
}

void DataGrid::setColumns(const QList<GridColumn>& columns) {
    columns_ = columns;
    applyColumns();
}

void DataGrid::setStretch(bool stretch) {
    stretch_ = stretch;
    horizontalHeader()->setSectionResizeMode(stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
}

int DataGrid::columnOf(const QString& field) const {
    for (int c = 0; c < proxy_.columnCount(); ++c)
        if (proxy_.fieldName(c).compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

int DataGrid::leastWidth(const QString& field) const {
    // Identity numbers have 18 characters, telephones up to 12 ("0311-1234567"): such a column
    // is at least that wide in the grid's font, whatever width it was given. Measured from the
    // font, never from the rows.
    int chars = 0;
    if (field == QStringLiteral("身份证号"))
        chars = 18;
    else if (field == QStringLiteral("电话") || field == QStringLiteral("手机"))
        chars = 12;
    if (chars == 0)
        return 0;
    return fontMetrics().horizontalAdvance(QString(chars, u'0')) + 2 * kCellPadding + 1;
}

void DataGrid::applyColumns() {
    QHeaderView* h = horizontalHeader();
    const int n = proxy_.columnCount();
    {
        // Every hide, move and resize would make the view measure its titles and lay itself out
        // again (each time a result is loaded): the view hears of none of them, and is laid out
        // once afterwards.
        const QSignalBlocker quiet(h);
        if (columns_.isEmpty()) {
            for (int c = 0; c < n; ++c) {
                h->setSectionHidden(c, false);
                const int least = stretch_ ? 0 : leastWidth(proxy_.fieldName(c));
                if (h->sectionSize(c) < least)
                    h->resizeSection(c, least);
            }
        } else {
            for (int c = 0; c < n; ++c)
                h->setSectionHidden(c, true);
            int visual = 0;
            for (const GridColumn& col : columns_) {
                const int logical = columnOf(col.field);
                if (logical < 0)
                    continue;
                h->setSectionHidden(logical, false);
                h->moveSection(h->visualIndex(logical), visual++);
                if (stretch_)
                    continue;
                const int least = leastWidth(col.field);
                if (col.width > 0 || least > 0)
                    h->resizeSection(logical,
                                     qMax(col.width > 0 ? col.width : h->defaultSectionSize(), least));
            }
        }
    }
    updateGeometries();
    h->viewport()->update();
    viewport()->update();
    if (footerBar_)
        footerBar_->update();
}

QList<GridColumn> DataGrid::columns() const {
    QList<GridColumn> out;
    QHeaderView* h = horizontalHeader();
    for (int v = 0; v < h->count(); ++v) {
        const int logical = h->logicalIndex(v);
        if (h->isSectionHidden(logical))
            continue;
        const QString field = proxy_.fieldName(logical);
        QString title = field;
        for (const GridColumn& c : columns_)
            if (c.field == field && !c.title.isEmpty())
                title = c.title;
        out.append({field, h->sectionSize(logical), title});
    }
    return out;
}

void DataGrid::onReset() {
    static_cast<RowMarks*>(verticalHeader())->fit(proxy_.rowCount());
    applyColumns();
    eof_ = proxy_.rowCount() == 0;
    if (!eof_) {
        keepEof_ = false;
        const QList<GridColumn> shown = columns();
        const int col = shown.isEmpty() ? 0 : columnOf(shown.first().field);
        setCurrentIndex(proxy_.index(0, qMax(0, col)));
    }
}

void DataGrid::setFooter(const QList<FooterCell>& cells) {
    footer_ = cells;
    if (!footerBar_) {
        footerBar_ = new FooterBar(this);
        footerBar_->setObjectName(QStringLiteral("footer"));
    }
    footerBar_->setVisible(!cells.isEmpty());
    setViewportMargins(0, 0, 0, cells.isEmpty() ? 0 : verticalHeader()->defaultSectionSize());
    refreshFooter();
    updateGeometries();
}

QStringList DataGrid::footerExpressions() const {
    QStringList expressions;
    for (const FooterCell& cell : footer_) {
        const QString col = TDM1::quoteId(cell.field);
        if (cell.kind == FooterCell::Count)
            expressions << QStringLiteral("count(*)");
        else if (cell.kind == FooterCell::CountFilled)
            expressions << QStringLiteral("count(%1)").arg(col);
        else if (cell.kind == FooterCell::Sum)
            expressions << QStringLiteral("sum(%1)").arg(col);
        else
            expressions << QString();
    }
    return expressions;
}

QString DataGrid::footerSql() const {
    // Every count and sum of the footer in one pass over the result, without its sort.
    const QStringList expressions = footerExpressions();
    QStringList named;
    for (int i = 0; i < expressions.size(); ++i)
        if (!expressions[i].isEmpty())
            named << QStringLiteral("%1 AS a%2").arg(expressions[i]).arg(i);
    if (!query_ || named.isEmpty())
        return {};
    return QStringLiteral("SELECT %1 FROM (%2) AS q").arg(named.join(QStringLiteral(", ")), query_->unorderedSql());
}

void DataGrid::refreshFooter() {
    footerValues_.clear();
    const QStringList expressions = footerExpressions();
    const QString footerStatement = footerSql();
    Row totals;
    if (query_ && query_->isOpen() && !footerStatement.isEmpty()) {
        // Totals kept for the whole result answer under the names of the expressions; they are
        // used only when they hold every figure asked for.
        if (!query_->totalsSql().isEmpty()) {
            Row kept;
            try {
                kept = query_->dm().ADOall.first(query_->totalsSql(), query_->totalsParams());
            } catch (const DbError&) {
                // Gone since the list was opened (another file restored in its place).
            }
            QSqlRecord rec;
            bool complete = !kept.isEmpty();
            for (int i = 0; complete && i < expressions.size(); ++i) {
                if (expressions[i].isEmpty())
                    continue;
                const QString key = QString(expressions[i]).remove(u'"');
                complete = kept.record().indexOf(key) >= 0;
                QSqlField f(QStringLiteral("a%1").arg(i));
                f.setValue(kept.value(key));
                rec.append(f);
            }
            if (complete)
                totals = Row(rec);
        }
        if (totals.isEmpty())
            totals = query_->dm().ADOall.first(footerStatement, query_->params());
    }
    for (int i = 0; i < footer_.size(); ++i) {
        const FooterCell& cell = footer_[i];
        const QString a = QStringLiteral("a%1").arg(i);
        QString value;
        switch (cell.kind) {
        case FooterCell::Text: value = cell.text; break;
        case FooterCell::Count:
        case FooterCell::CountFilled: value = QString::number(totals.integer(a)); break;
        case FooterCell::Sum: value = Money::fromUnits(totals.integer(a)).toString(); break;
        }
        footerValues_.insert(cell.field, value);
    }
    if (footerBar_)
        footerBar_->update();
}

QString DataGrid::footerText(const QString& field) const { return footerValues_.value(field); }

void DataGrid::updateGeometries() {
    QTableView::updateGeometries();
    if (!footerBar_ || footer_.isEmpty())
        return;
    // The table view sets its margins to the title row and the row headers alone; the footer
    // takes a strip of its own below the rows, between them and the horizontal scroll bar.
    const int strip = verticalHeader()->defaultSectionSize();
    const QMargins m = viewportMargins();
    if (m.bottom() != strip)
        setViewportMargins(m.left(), m.top(), m.right(), strip);
    const QRect vg = viewport()->geometry();
    if (!verticalHeader()->isHidden() && !isRightToLeft())
        verticalHeader()->setGeometry(vg.left() - verticalHeader()->width(), vg.top(), verticalHeader()->width(),
                                      vg.height());
    footerBar_->setGeometry(vg.left(), vg.bottom() + 1, vg.width(), strip);
    footerBar_->raise();
    // The view measured its scroll range for the viewport without the strip: let the last row
    // scroll up above the footer.
    QScrollBar* bar = verticalScrollBar();
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    int wanted = 0;
    if (verticalScrollMode() == QAbstractItemView::ScrollPerPixel) {
        wanted = verticalHeader()->length() - vg.height();
    } else {
        int fit = 0;
        for (int r = rows - 1, h = 0; r >= 0; --r) {
            h += verticalHeader()->sectionSize(r);
            if (h > vg.height())
                break;
            ++fit;
        }
        wanted = rows - qMax(fit, 1);
    }
    if (wanted > bar->maximum())
        bar->setRange(0, wanted);
}

Row DataGrid::currentRecord() const {
    if (!query_)
        return {};
    return query_->row(currentRowIndex());
}

int DataGrid::currentRowIndex() const {
    const QModelIndex i = currentIndex();
    if (i.isValid())
        return i.row();
    return proxy_.rowCount() > 0 ? 0 : -1;
}

int DataGrid::rowCount() const { return proxy_.rowCount(); }

QString DataGrid::cellText(int row, const QString& field) const {
    const int c = columnOf(field);
    if (c < 0)
        return {};
    return proxy_.data(proxy_.index(row, c), Qt::EditRole).toString();
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    emit dblClicked();
}

void DataGrid::keyPressEvent(QKeyEvent* e) {
    const bool ctrlEnd = e->key() == Qt::Key_End && (e->modifiers() & Qt::ControlModifier);
    const QModelIndex cur = currentIndex();
    bool pastLast = false;
    if (e->key() == Qt::Key_Down && cur.isValid() && cur.row() == proxy_.rowCount() - 1) {
        if (proxy_.canFetchMore(QModelIndex()))
            proxy_.fetchMore(QModelIndex());
        pastLast = cur.row() == proxy_.rowCount() - 1;
    }
    if (ctrlEnd && query_)
        query_->fetchAll();
    QTableView::keyPressEvent(e);
    if (pastLast || ctrlEnd)
        eof_ = true;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.row() != previous.row() || !previous.isValid())
        eof_ = proxy_.rowCount() == 0;
}

void DataGrid::titleClicked(const QString& field, bool ctrl) {
    if (!query_ || field.isEmpty())
        return;
    if (!ctrl) {
        if (keys_.size() == 1 && keys_.first().first == field)
            keys_.first().second =
                keys_.first().second == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        else
            keys_ = {{field, Qt::AscendingOrder}};
        sortPending_ = true;
        applyPendingSort();
        return;
    }
    int i = 0;
    while (i < keys_.size() && keys_[i].first != field)
        ++i;
    if (i == keys_.size())
        keys_.append({field, Qt::AscendingOrder});
    else if (keys_[i].second == Qt::AscendingOrder)
        keys_[i].second = Qt::DescendingOrder;
    else
        keys_.removeAt(i);
    proxy_.setSortMarks(keys_);
    if (!sortPending_) {
        sortPending_ = true;
        qApp->installEventFilter(this);
    }
}

void DataGrid::applyPendingSort() {
    if (!sortPending_)
        return;
    sortPending_ = false;
    qApp->removeEventFilter(this);
    if (!query_ || !query_->isOpen())
        return;
    const auto keys = keys_;
    auto apply = [this, keys] { query_->setSort(keys); };
    if (session_)
        session_->guarded(this, apply);
    else
        apply();
}

bool DataGrid::eventFilter(QObject* watched, QEvent* e) {
    if (sortPending_ && e->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Control)
        applyPendingSort();
    return QTableView::eventFilter(watched, e);
}

bool DataGrid::findNext(const QString& text) {
    if (text.isEmpty() || proxy_.rowCount() == 0)
        return false;
    const QList<GridColumn> shown = columns();
    int row = currentIndex().isValid() ? currentIndex().row() + 1 : 0;
    for (;; ++row) {
        if (row >= proxy_.rowCount()) {
            if (!proxy_.canFetchMore(QModelIndex()))
                return false;
            proxy_.fetchMore(QModelIndex());
            if (row >= proxy_.rowCount())
                return false;
        }
        for (const GridColumn& c : shown) {
            if (cellText(row, c.field).contains(text, Qt::CaseInsensitive)) {
                setCurrentIndex(proxy_.index(row, columnOf(c.field)));
                scrollTo(currentIndex());
                return true;
            }
        }
    }
}

void DataGrid::showFindDialog() {
    auto* dlg = findChild<QDialog*>(QStringLiteral("findDialog"));
    if (!dlg) {
        dlg = new QDialog(this);
        dlg->setObjectName(QStringLiteral("findDialog"));
        dlg->setWindowTitle(QStringLiteral("查找"));
        auto* lay = new QHBoxLayout(dlg);
        lay->addWidget(new QLabel(QStringLiteral("查找内容："), dlg));
        auto* edit = new QLineEdit(dlg);
        edit->setObjectName(QStringLiteral("findText"));
        lay->addWidget(edit);
        auto* next = new QPushButton(QStringLiteral("查找下一个"), dlg);
        next->setObjectName(QStringLiteral("findNext"));
        next->setDefault(true);
        lay->addWidget(next);
        connect(next, &QPushButton::clicked, this, [this, edit, dlg] {
            if (!findNext(edit->text()) && session_)
                session_->messages().info(dlg, QStringLiteral("找不到“%1”").arg(edit->text()), QStringLiteral("查找"));
        });
    }
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
}
