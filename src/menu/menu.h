// The main menu's page record and its button helpers: 32 button sprites under
// one root, hit-tested against the pointer, and 16 caption texts. What each
// page holds and what its buttons do is the scene's business.
#pragma once

#include <cstdint>
#include <string>

#include "render/nodes.h"
#include "state/menu_state.h"

// Builds the page's nodes under `parent`: the button root, then the black
// screen's root above it, the 32 hidden button sprites, the 16 texts (font
// "fnt1" of the menu archive, widths from "fnt1.dat") and the black screen.
// A second call replaces the nodes of the first.
void MenuSetup(TMenuPage& page, TDummyCube& parent);
// Empties the group, hides and frees every button and hides the texts.
void ClearMenuPage(TMenuPage& page);
// Takes the first free slot for a shown button centred at (x, y), its hit
// rectangle the sprite's; -1 (and nothing changes) when all 32 are used or
// the page has not been set up.
int32_t AddMenuButton(TMenuPage& page, const std::string& picture, const std::string& picture2,
                      const std::string& command, int32_t kind, float x, float y, float width, float height);
void SetButtonHitRect(TMenuPage& page, int32_t button, float left, float top, float width, float height);
// The pointer lies strictly inside the button's hit rectangle; false for a
// free slot or an index out of range.
bool IsButtonHovered(const TMenuPage& page, int32_t button, int32_t mouseX, int32_t mouseY);
// Shows text `index` (0..14; 15 is refused) centred at (x, y), wrapped at 400.
void ShowMenuText(TMenuPage& page, int32_t index, const std::string& text, float x, float y, float height);
void HideMenuTexts(TMenuPage& page);
// The button's picture, when the slot is in use.
void SetButtonPicture(TMenuPage& page, int32_t button, const std::string& picture);
void ShowButton(TMenuPage& page, int32_t button, bool shown);
bool ButtonShown(const TMenuPage& page, int32_t button);
// Advances the menu archive's animated pictures.
void AnimateMenuLibrary(TMenuPage& page, float seconds);
