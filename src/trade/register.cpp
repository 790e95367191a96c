#include "trade/register.h"
#include "trade/tdinggou.h"
#include "trade/tweixiu.h"
#include "ui/screenregistry.h"

void registerTradeScreens(ScreenRegistry& registry) {
    registry.addScreen(QStringLiteral("订购（销售）记录录入"), [](Session& s) { return new Tdinggou(s); });
    registry.addScreen(QStringLiteral("维修记录录入"), [](Session& s) { return new Tweixiu(s); });
}
