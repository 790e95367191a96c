#include "customers/register.h"
#include "ui/screenregistry.h"

void registerCustomersScreens(ScreenRegistry& registry) {
    (void)registry;
}
