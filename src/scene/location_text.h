// The readable source form of a location file, written by `qvxtool loc dump`
// and read by `qvxtool loc build`:
//
//   header name="Default" text=""
//   object layer=1 name="door" x=120 y=400 parallax=1 width=64 height=128 picture="door"
//     hotspot x=120 y=380 radius=30
//   grid 40
//     ........................................   (30 rows of one character a cell)
//   region x=100 y=300 width=80 height=200 function=2 cursor=3
//   road 3,20 10,20 10,25
//   function "start"                            (script text, see script_text.h)
//     ...
//   end
//   include "more.qvs"                          (function blocks from a file beside it)
//
// Grid characters: '.' 0, '#' 1, '2'..'9', 'a'..'z' 10..35; any other value is
// given by a line "cell COLUMN ROW VALUE" after the rows. Numbers are written
// in their shortest exact form and strings as quoted UTF-8, so a dump builds
// back into the same file byte for byte.
#pragma once

#include <filesystem>
#include <string>

#include "scene/location_file.h"

std::string FormatLocationText(const TLocationData& data);
// Throws EGameError with "source:line: what" on a bad line. `baseDir` is where
// included files are looked up.
TLocationData ParseLocationText(const std::string& text, const std::string& sourceName,
                                const std::filesystem::path& baseDir);
