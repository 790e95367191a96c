#include "trade/register.h"
#include "trade/receipt.h"
#include "trade/recordmaintenance.h"
#include "trade/tbushou.h"
#include "trade/tdinggou.h"
#include "trade/tweixiu.h"
#include "ui/screenregistry.h"

void registerTradeScreens(ScreenRegistry& registry) {
    registry.addScreen(QStringLiteral("订购（销售）记录录入"), [](Session& s) { return new Tdinggou(s); });
    registry.addScreen(QStringLiteral("维修记录录入"), [](Session& s) { return new Tweixiu(s); });
    registry.addScreen(QStringLiteral("补收欠款"), [](Session& s) { return new Tbushou(s); });
    registry.addScreen(QStringLiteral("订购（销售）记录修改"), [](Session& s) { return new Tdingxiugai(s); });
    registry.addScreen(QStringLiteral("维修记录修改"), [](Session& s) { return new Tweixiugai(s); });
    registry.addCommand(QStringLiteral("N51"), [](Session& s, QWidget* main) { Receipts::reprint(s, main); });
}
