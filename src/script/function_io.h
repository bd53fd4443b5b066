// Stored script functions: name (str30), int32 instruction count, then the
// 195-byte instructions. Location files end with a table of them (int32 count
// first), save games carry the global table in the same form, and additional
// locations store their own.
//
// A count the remaining data cannot hold is refused with EGameError before
// anything is allocated, and so is a record cut short: a half-read function
// would run whatever the previous record left behind.
#pragma once

#include <vector>

#include "platform/stream.h"
#include "state/instruction.h"

// Empties `function`, then reads one stored function over it.
void ReadFunction(TBinaryReader& in, TqvxFunction& function);
void WriteFunction(TBinaryWriter& out, const TqvxFunction& function);

// int32 count, then that many functions. The table is replaced. When the data
// ends before the count, the table is left empty and false is returned (the
// section is missing, as in a short file); a count that cannot fit throws.
bool ReadFunctionTable(TBinaryReader& in, std::vector<TqvxFunction>& table);
void WriteFunctionTable(TBinaryWriter& out, const std::vector<TqvxFunction>& table);
