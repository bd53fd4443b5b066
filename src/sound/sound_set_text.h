// The readable source form of a sound-set file, written by `qvxtool snd dump`
// and read by `qvxtool snd build`:
//
//   unused 0 0                                     (the two leading words)
//   sample name="water" file="water.ogg" loop=1 comment=0
//   sequence name="hello" loop=0 items=3,4,5      (sample indices)
//
// Samples and sequences keep their order; strings are quoted UTF-8 with
// \" \\ \xNN escapes, so a dump builds back into the same file byte for byte.
// '#' starts a comment.
#pragma once

#include <string>

#include "sound/sound_set_file.h"

std::string FormatSoundSetText(const TSoundSetData& data);
// Throws EGameError with "source:line: what" on a bad line.
TSoundSetData ParseSoundSetText(const std::string& text, const std::string& sourceName);
