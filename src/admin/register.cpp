#include "admin/register.h"
#include "admin/maintenance.h"
#include "admin/tcaozuorenyuan.h"
#include "admin/tdayinshezhi.h"
#include "admin/tguaqi.h"
#include "admin/txiugaimima.h"
#include "admin/tzhengli.h"
#include "ui/screenregistry.h"

namespace {
template <class T> ScreenRegistry::Factory screen() {
    return [](Session& s) -> Screen* { return new T(s); };
}

ScreenRegistry::Command command(void (*run)(Session&, QWidget*)) {
    return [run](Session& s, QWidget* mainWindow) { s.guarded(mainWindow, [&] { run(s, mainWindow); }); };
}
} // namespace

void registerAdminScreens(ScreenRegistry& registry) {
    registry.addScreen(QStringLiteral("操作人员设置"), screen<Tcaozuorenyuan>());
    registry.addScreen(QStringLiteral("修改密码"), screen<Txiugaimima>());
    registry.addScreen(QStringLiteral("店铺名称设置"), screen<Tdayinshezhi>());
    registry.addScreen(QStringLiteral("数据整理"), screen<Tzhengli>());
    registry.addCommand(QStringLiteral("N3"), command(&Maintenance::backup));
    registry.addCommand(QStringLiteral("N12"), command(&Maintenance::restore));
    registry.addCommand(QStringLiteral("N4"), command(&Maintenance::initialise));
    registry.addCommand(QStringLiteral("ToolButton8"), command(&Tguaqi::run));
}
