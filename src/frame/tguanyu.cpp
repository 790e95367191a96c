#include "frame/tguanyu.h"
#include "ui/fonts.h"
#include "frame/pictures.h"
#include "frame/tmain.h"
#include "ui/session.h"
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tguanyu::Tguanyu(Session& session, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tguanyu"));
    setWindowTitle(QStringLiteral("关于"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(Fonts::song());

    auto* lay = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/lumareth.png"))
                        .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignCenter);
    lay->addWidget(icon);

    auto* title = new QLabel(QString::fromUtf16(kProductTitle), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont big(QStringLiteral("华文新魏"));
    big.setPixelSize(24);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("color: #008080;"));
    lay->addWidget(title);

    // The version is the build's one number, the same the package carries.
    auto* text = new QLabel(QStringLiteral("电脑店客户、销售、维修及帐款管理\n版本 ") + QStringLiteral(LUMARETH_VERSION), this);
    text->setObjectName(QStringLiteral("Label2"));
    text->setAlignment(Qt::AlignCenter);
    lay->addWidget(text);

    // Which database this copy works on, so the staff of several counters can tell.
    const TDM1& dm = session.dm();
    auto* where = new QLabel(QStringLiteral("数据库：%1 %2").arg(dm.engine().kind(), dm.where()), this);
    where->setObjectName(QStringLiteral("Label3"));
    where->setAlignment(Qt::AlignCenter);
    where->setWordWrap(true);
    lay->addWidget(where);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    lay->addWidget(ok, 0, Qt::AlignCenter);
    setFixedSize(sizeHint().expandedTo(QSize(320, 220)));
}
