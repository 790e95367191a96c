#include "reports/register.h"
#include "ui/screenregistry.h"

void registerReportsScreens(ScreenRegistry& registry) {
    (void)registry;
}
