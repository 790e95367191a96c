// Takes a picture of the main window with each screen open, on a fresh database in a temporary
// folder, so the layout of every screen can be looked at without a display:
//   QT_QPA_PLATFORM=offscreen build/tools/lumareth-screenshots OUTDIR [FOLDER]
// With FOLDER (a program folder, such as one filled by lumareth-generate) its database is shown
// instead; it is written to only as the screens write when they open.
#include "data/programfolder.h"
#include "frame/tmain.h"
#include "ui/fonts.h"
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);
    QTemporaryDir home;
    qputenv("LUMARETH_HOME", argc > 2 ? QByteArray(argv[2]) : home.path().toUtf8());
    Fonts::install();
    Session session(std::make_unique<WidgetMessageService>(), std::make_unique<WidgetFileDialogService>());
    session.dm().open(ProgramFolder::databaseFile());
    session.operatorNumber = QStringLiteral("0001");
    session.flags.fill(true);
    TMAIN w(session);
    w.setCurrentOperator(session.operatorNumber);
    w.applyFlags(session.flags);
    w.resize(1280, 800);
    w.show();
    const QStringList captions = {
        QStringLiteral("客户档案"), QStringLiteral("维修项目设置"), QStringLiteral("乡镇、村庄设置"),
        QStringLiteral("订购（销售）记录录入"), QStringLiteral("订购（销售）记录修改"), QStringLiteral("维修记录录入"),
        QStringLiteral("维修记录修改"), QStringLiteral("补收欠款"), QStringLiteral("查询客户所有资料"),
        QStringLiteral("查询客户交款记录"), QStringLiteral("一日销售、维修及帐款情况一览"),
        QStringLiteral("销售、维修及帐款情况汇总"), QStringLiteral("操作人员设置"), QStringLiteral("修改密码"),
        QStringLiteral("店铺名称设置"), QStringLiteral("数据整理"), QStringLiteral("主机序列号查询")};
    int n = 0;
    for (const QString& caption : captions) {
        if (!w.openScreen(caption))
            continue;
        app.processEvents();
        w.grab().save(QStringLiteral("%1/%2.png").arg(out).arg(++n, 2, 10, QLatin1Char('0')));
        w.mdiArea()->closeAllSubWindows();
        app.processEvents();
    }
    return 0;
}
