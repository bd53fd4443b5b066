#include "menu/menu.h"

void OpenMenu(TqvxScene& scene, int32_t page) {
  scene.Menu.Page = page;
  scene.MenuActive = true;
}

void CloseMenu(TqvxScene& scene) { scene.MenuActive = false; }

void MenuFrame(TqvxScene&, float) {}

void AdvanceMenuClock(TqvxScene&, float) {}
void AnimateMenuLibrary(TqvxScene&, float) {}
void ResetMenuSlots(TqvxScene&) {}
