#pragma once
class ScreenRegistry;
void registerCustomersScreens(ScreenRegistry& registry);
