// The main menu's pages and actions: what the main page, the save and load
// panels and the authors page hold, opening and closing the menu over the
// game, and the menu's frame while it is open (clicks are releases of the
// left button; a page change takes effect on the next frame).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "script/script_table.h"
#include "state/scene_state.h"

// Page numbers.
constexpr int32_t kMainPage = 1, kLoadPage = 3, kSavePage = 4, kAuthorsPage = 5;

// Clears the page and adds page `page`'s buttons and captions; any page
// other than 1, 3, 4 and 5 stays empty.
void BuildMenuPage(TqvxScene& scene, int32_t page);
// Puts the menu over the game: the location's layers hidden, the plain
// pointer, the location's sounds paused and the menu's music.
void ShowMenu(TqvxScene& scene);
// Gives the screen back to the game.
void HideMenu(TqvxScene& scene);
// Opening from play (Esc or the menu button): a game runs behind the menu.
void OpenMenuFromPlay(TqvxScene& scene);
// One frame while the menu is open.
void MenuFrame(TqvxScene& scene, float dt);
// Reads the picture number and caption of the twelve slot files.
void RefreshSlots(TqvxScene& scene);
// Leaves the running game for the loader location, which loads `fileName`
// (the load panel and the quick load key). A save that does not fit is
// refused first with the error naming it, and nothing changes: told through
// the scene's error hook when it has one (false then), thrown otherwise.
bool LoadThroughLoader(TqvxScene& scene, const std::string& fileName);

// Commands 33 (open a menu page) and 47 (reopen the menu archive).
std::span<const TCommandBinding> MenuCommands();
