#include "admin/permissions.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

namespace Permissions {

QString name(int flag) {
    static const char* const names[18] = {
        "",
        "操作人员设置",
        "数据备份",
        "数据恢复",
        "历史数据清除",
        "数据初始化",
        "客户资料设置",
        "维修项目设置",
        "订购（销售）记录录入",
        "维修记录录入",
        "补收欠款",
        "客户全部历史信息查询",
        "查询客户交款记录",
        "订购（销售）记录修改",
        "维修记录修改",
        "一日销售、维修及帐款情况一览",
        "销售、维修及帐款数据汇总",
        "乡镇、村庄设置",
    };
    return flag >= 1 && flag <= 17 ? QString::fromUtf8(names[flag]) : QString();
}

Boxes build(QGroupBox* frame, QGridLayout* grid, const QList<QList<int>>& columns) {
    Boxes boxes{};
    for (int c = 0; c < columns.size(); ++c)
        for (int r = 0; r < columns[c].size(); ++r) {
            const int flag = columns[c][r];
            auto* box = new QCheckBox(name(flag), frame);
            box->setObjectName(QStringLiteral("CheckBox%1").arg(flag));
            grid->addWidget(box, r, c);
            boxes[flag] = box;
        }
    return boxes;
}

void show(const Boxes& boxes, const Row& row) {
    for (int f = 1; f <= 17; ++f)
        boxes[f]->setChecked(!row.isEmpty() && row.flag(QString::number(f)));
}

void setAll(const Boxes& boxes, bool on) {
    for (int f = 1; f <= 17; ++f)
        boxes[f]->setChecked(on);
}

QVariantList values(const Boxes& boxes) {
    QVariantList out;
    for (int f = 1; f <= 17; ++f)
        out << (boxes[f]->isChecked() ? 1 : 0);
    return out;
}

void toggleAll(QPushButton* button, const Boxes& boxes) {
    const bool selectAll = button->text() == QStringLiteral("全选");
    button->setText(selectAll ? QStringLiteral("全清") : QStringLiteral("全选"));
    setAll(boxes, selectAll);
}

QString columnList() {
    QStringList cols;
    for (int f = 1; f <= 17; ++f)
        cols << TDM1::quoteId(QString::number(f));
    return cols.join(u',');
}
} // namespace Permissions
