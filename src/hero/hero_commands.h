// The hero's script commands: 1 choose the hero object, 2 and 4 its set-up
// and standing frames, 6 to 11 turn, place, walk and animate it and choose
// whether a walk ends in the idle pose, 42 its scaling and 43 its frame names.
// Each takes its operands from the instruction as stored; a direction
// outside 0..7, a table row out of range or a cell off the walk grid does
// nothing. Whether a command runs while scripts are switched off is the
// interpreter's business, not the handler's.
#pragma once

#include <span>

#include "script/script_table.h"

// The hero's rows of the code table.
std::span<const TCommandBinding> HeroCommands();
