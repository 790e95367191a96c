#include "reports/register.h"
#include "reports/tchaxun.h"
#include "reports/tjiaokuanjilu.h"
#include "ui/screenregistry.h"

void registerReportsScreens(ScreenRegistry& registry) {
    registry.addScreen(QStringLiteral("查询客户所有资料"), [](Session& s) { return new Tchaxun(s); });
    registry.addScreen(QStringLiteral("查询客户交款记录"), [](Session& s) { return new Tjiaokuanjilu(s); });
}
