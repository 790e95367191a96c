#include "reports/register.h"
#include "reports/tchaxun.h"
#include "reports/thuizong.h"
#include "reports/tjiaokuanjilu.h"
#include "reports/tyiri.h"
#include "reports/txuliehao.h"
#include "ui/screenregistry.h"

void registerReportsScreens(ScreenRegistry& registry) {
    registry.addScreen(QStringLiteral("查询客户所有资料"), [](Session& s) { return new Tchaxun(s); });
    registry.addScreen(QStringLiteral("查询客户交款记录"), [](Session& s) { return new Tjiaokuanjilu(s); });
    registry.addScreen(QStringLiteral("一日销售、维修及帐款情况一览"),
                       [](Session& s) { return new Tyiri(s); });
    registry.addScreen(QStringLiteral("销售、维修及帐款情况汇总"),
                       [](Session& s) { return new Thuizong(s); });
    registry.addScreen(QStringLiteral("主机序列号查询"), [](Session& s) { return new Txuliehao(s); });
}
