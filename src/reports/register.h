#pragma once
class ScreenRegistry;
void registerReportsScreens(ScreenRegistry& registry);
