#include "customers/register.h"
#include "customers/tkehu.h"
#include "customers/txiangmu.h"
#include "customers/txiangzhen.h"
#include "ui/screenregistry.h"

void registerCustomersScreens(ScreenRegistry& registry) {
    registry.addScreen(QStringLiteral("客户档案"), [](Session& s) -> Screen* { return new Tkehu(s); });
    registry.addScreen(QStringLiteral("维修项目设置"), [](Session& s) -> Screen* { return new Txiangmu(s); });
    registry.addScreen(QStringLiteral("乡镇、村庄设置"),
                       [](Session& s) -> Screen* { return new Txiangzhen(s); });
}
