// Binds every subsystem's script commands into the interpreter's code table.
// The game, the fuzz targets and the tests all start from this one call, so a
// command cannot be bound in one of them and forgotten in another.
#pragma once

#include <cstdint>
#include <span>

void RegisterAllCommands();

// Command codes whose subsystems are not built yet; every other code 1..67
// has a handler once RegisterAllCommands has run.
std::span<const int32_t> CommandsToCome();
