#include "admin/register.h"
#include "ui/screenregistry.h"

void registerAdminScreens(ScreenRegistry& registry) {
    (void)registry;
}
