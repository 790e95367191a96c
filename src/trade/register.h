#pragma once
class ScreenRegistry;
void registerTradeScreens(ScreenRegistry& registry);
