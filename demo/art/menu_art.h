// The menu archive "GFX\menu.wgw": the black screen, the menu font, the page
// backgrounds, the five entries of the main page, the back button and the
// save-slot pictures sav00..sav12 with their lit forms Lsav00..Lsav12.
#pragma once

#include <string>

class TArtArchive;

// Paints everything but the font, which the caller adds with BuildFont.
void BuildMenuArt(TArtArchive& archive, const std::string& boldFont);
