#include "menu/menu.h"

void CloseMenu(TqvxScene& scene) { scene.MenuActive = false; }

void MenuFrame(TqvxScene&, float) {}

void AdvanceMenuClock(TqvxScene&, float) {}
void AnimateMenuLibrary(TqvxScene&, float) {}
void ResetMenuSlots(TqvxScene&) {}
