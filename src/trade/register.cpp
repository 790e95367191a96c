#include "trade/register.h"
#include "ui/screenregistry.h"

void registerTradeScreens(ScreenRegistry& registry) {
    (void)registry;
}
