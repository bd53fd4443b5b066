// Second-texture links between materials of one library. A material may name
// another material of its library whose texture is drawn together with its
// own; following such names must never lead back to where it started.
#pragma once

#include <string>
#include <vector>

class TGLMaterialLibrary;

// Sets Texture2Name of the material at `index`. A name that would close a
// circle of links (including a material naming itself) throws EGameError
// "Error: Cyclic material reference detected!" and changes nothing; a name
// that matches no material is stored as given and simply draws no second
// texture.
void SetTexture2Name(TGLMaterialLibrary& library, int index, const std::string& name);

// True when following Texture2Name links from the material at `index` comes
// back to a material already visited. The walk is bounded by the library's
// size, so a circle made by writing the field directly cannot hang it.
bool HasTexture2Cycle(const TGLMaterialLibrary& library, int index);

// Gives materials that have no second texture yet their Texture2Name, names[i]
// for material i, as SetTexture2Name one after the other would but in time
// near linear in their number: a name that would close a circle is not set
// (that material draws without its second texture). Returns the indices of
// the materials whose name was not set.
std::vector<int> SetTexture2Names(TGLMaterialLibrary& library, const std::vector<std::string>& names);
