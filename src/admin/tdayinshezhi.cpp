#include "admin/tdayinshezhi.h"
#include "admin/childwindow.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const QString kSection = QStringLiteral("程序参数");
const QString kShopName = QStringLiteral("店铺名称");
const QString kPort = QStringLiteral("打印端口");
const QString kFooter = QStringLiteral("小票尾");
} // namespace

Tdayinshezhi::Tdayinshezhi(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tdayinshezhi"));
    auto* grid = new QGridLayout(this);
    auto* label1 = new QLabel(QStringLiteral("店铺名称"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(198);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(Edit1, 0, 1, 1, 2);

    // The receipt printer's port and the footer printed at the end of every receipt.
    auto* label2 = new QLabel(QStringLiteral("打印端口"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    auto* label3 = new QLabel(QStringLiteral("小票结尾"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    label2->setBuddy(ComboBox1);
    label3->setBuddy(Memo1);
    Memo1->setFixedHeight(60);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(ComboBox1, 1, 1, 1, 2);
    grid->addWidget(label3, 2, 0);
    grid->addWidget(Memo1, 2, 1, 1, 2);

    BitBtn1 = new QPushButton(QStringLiteral("配置"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    grid->addWidget(BitBtn1, 3, 1);
    grid->addWidget(BitBtn2, 3, 2);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { ChildWindow::close(this); });
    FormShow();
}

void Tdayinshezhi::FormShow() {
    ComboBox1->clear();
    ComboBox1->addItems(
        {QStringLiteral("lpt1"), QStringLiteral("lpt2"), QStringLiteral("lpt3"), QStringLiteral("lpt4")});
    const QString file = ProgramFolder::iniFile();
    Edit1->setText(IniFile::read(file, kSection, kShopName, QStringLiteral("Quorvane软件开发公司")));
    ComboBox1->setEditText(IniFile::read(file, kSection, kPort, QStringLiteral("lpt1")));
    Memo1->setPlainText(IniFile::read(file, kSection, kFooter, QStringLiteral("欢迎您再次光临！")));
}

void Tdayinshezhi::BitBtn1Click() {
    const QString name = Edit1->text();
    if (name.isEmpty()) {
        msg().error(this, QStringLiteral("信息不完整！"), QStringLiteral("提示"));
        return;
    }
    // An empty port falls back to the first one rather than block the save of the shop name.
    if (ComboBox1->currentText().trimmed().isEmpty())
        ComboBox1->setEditText(QStringLiteral("lpt1"));
    const QString file = ProgramFolder::iniFile();
    try {
        IniFile::write(file, kSection, kPort, ComboBox1->currentText());
        IniFile::write(file, kSection, kShopName, name);
        IniFile::write(file, kSection, kFooter, Memo1->toPlainText().split(u'\n').join(QString()));
    } catch (const DbError&) {
        msg().error(this, QStringLiteral("配置失败！"), QStringLiteral("提示"));
        return;
    }
    session().shopName = name;
    if (session().shopNameChanged)
        session().shopNameChanged();
    msg().info(this, QStringLiteral("配置成功！"), QStringLiteral("提示"));
}
