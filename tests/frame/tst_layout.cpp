#include "support/mainwindowtest.h"
#include "ui/fonts.h"
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QToolButton>

// Every screen as the staff see it at 1024x768: inside the main window's work area, every
// caption whole.
class TestLayout : public QObject {
    Q_OBJECT

    // Why a caption of w does not show whole, or an empty text.
    static QString clipped(QWidget* w, QWidget* screen) {
        QString text;
        QSize needed;
        const QFontMetrics fm = w->fontMetrics();
        if (auto* l = qobject_cast<QLabel*>(w)) {
            text = l->text();
            needed = l->wordWrap() ? QSize(1, l->heightForWidth(l->width())) : l->sizeHint();
        } else if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w)) {
            // Its size hint, or at least the indicator and the text.
            text = static_cast<QAbstractButton*>(w)->text();
            const bool radio = qobject_cast<QRadioButton*>(w);
            const QStyle* st = w->style();
            const int indicator =
                st->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                nullptr, w) +
                st->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing,
                                nullptr, w);
            needed = w->sizeHint().boundedTo(QSize(indicator, 0) + fm.size(Qt::TextShowMnemonic, text));
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            // Buttons are drawn with their text centred over a padding of their own.
            text = b->text();
            needed = fm.size(Qt::TextShowMnemonic, text) + QSize(4, 2);
            if (auto* t = qobject_cast<QToolButton*>(w); t && t->toolButtonStyle() != Qt::ToolButtonTextOnly)
                needed = QSize(needed.width(), 1);
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            text = g->title();
            QStyleOptionGroupBox o;
            o.initFrom(g);
            o.text = text;
            o.subControls = QStyle::SC_GroupBoxLabel;
            o.lineWidth = 1;
            const QRect label =
                g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
            needed = QSize(label.right() + 1, 1);
            if (label.width() < fm.horizontalAdvance(text))
                return QStringLiteral("title wider than its place");
        }
        if (text.isEmpty())
            return {};
        if (!screen->rect().contains(QRect(w->mapTo(screen, QPoint(0, 0)), w->size())))
            return QStringLiteral("lies outside its window");
        if (!w->parentWidget()->rect().contains(w->geometry()))
            return QStringLiteral("lies outside its frame");
        if (w->width() < needed.width() || w->height() < needed.height())
            return QStringLiteral("%1x%2 for %3x%4")
                .arg(w->width())
                .arg(w->height())
                .arg(needed.width())
                .arg(needed.height());
        return {};
    }

  private slots:
    void initTestCase() { Fonts::install(); }
    void screenFitsAndShowsEveryCaption_data();
    void screenFitsAndShowsEveryCaption();
};

void TestLayout::screenFitsAndShowsEveryCaption_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("caption");
    // The small windows have no size of their own: they are as large as their content.
    QTest::addColumn<bool>("toContent");
    const QList<QPair<const char*, const char*>> screens{{"N2", "操作人员设置"},
                                                         {"N11", "修改密码"},
                                                         {"N7", "店铺名称设置"},
                                                         {"N6", "数据整理"},
                                                         {"N32", "客户档案"},
                                                         {"N33", "维修项目设置"},
                                                         {"N41", "乡镇、村庄设置"},
                                                         {"N10", "订购（销售）记录录入"},
                                                         {"N38", "订购（销售）记录修改"},
                                                         {"N26", "维修记录录入"},
                                                         {"N39", "维修记录修改"},
                                                         {"N28", "补收欠款"},
                                                         {"N30", "查询客户所有资料"},
                                                         {"N34", "查询客户交款记录"},
                                                         {"N5", "一日销售、维修及帐款情况一览"},
                                                         {"N40", "销售、维修及帐款情况汇总"},
                                                         {"N42", "修改记录查询"},
                                                         {"N50", "主机序列号查询"}};
    for (const auto& [command, caption] : screens)
        QTest::newRow(caption) << QString::fromLatin1(command) << QString::fromUtf8(caption)
                               << QStringList{"N2", "N11", "N7", "N6"}.contains(QString::fromLatin1(command));
}

void TestLayout::screenFitsAndShowsEveryCaption() {
    QFETCH(QString, command);
    QFETCH(QString, caption);
    QFETCH(bool, toContent);
    MainWindowTest w;
    QWidget* screen = w.open(command);
    QVERIFY(screen);
    QMdiSubWindow* sub = w.window(caption);
    QVERIFY(sub);
    QTest::qWait(0);
    const QRect area = w.main().mdiArea()->viewport()->rect();
    QVERIFY2(area.contains(sub->geometry()), qPrintable(QStringLiteral("%1x%2 at %3,%4 in %5x%6")
                                                            .arg(sub->width())
                                                            .arg(sub->height())
                                                            .arg(sub->x())
                                                            .arg(sub->y())
                                                            .arg(area.width())
                                                            .arg(area.height())));
    if (toContent)
        QCOMPARE(sub->size(), sub->sizeHint());
    QStringList faults;
    for (QWidget* child : screen->findChildren<QWidget*>())
        if (child->isVisibleTo(screen))
            if (const QString why = clipped(child, screen); !why.isEmpty())
                faults << child->metaObject()->className() + QStringLiteral(" ") + child->objectName() +
                              " “" +
                              (qobject_cast<QLabel*>(child) ? qobject_cast<QLabel*>(child)->text()
                               : qobject_cast<QAbstractButton*>(child)
                                   ? qobject_cast<QAbstractButton*>(child)->text()
                               : qobject_cast<QGroupBox*>(child) ? qobject_cast<QGroupBox*>(child)->title()
                                                                 : QString()) +
                              "”: " + why;
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
