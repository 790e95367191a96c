#pragma once
class ScreenRegistry;
void registerAdminScreens(ScreenRegistry& registry);
