#include "script/script_table.h"

#include <array>

#include "script/builtin_handlers.h"

namespace {

constexpr size_t kRowCount = kInstructionRowCount;

std::array<TCommandHandler, kRowCount>& Handlers() {
  static std::array<TCommandHandler, kRowCount> handlers = [] {
    std::array<TCommandHandler, kRowCount> h{};
    for (size_t i = 0; i < kRowCount; ++i) h[i] = BuiltinHandler(InstructionTable()[i].Code);
    return h;
  }();
  return handlers;
}

}  // namespace

TCommandHandler RegisterCommand(int32_t code, TCommandHandler handler) {
  const int row = InstructionRow(code);
  if (row < 0) return nullptr;
  TCommandHandler previous = Handlers()[static_cast<size_t>(row)];
  Handlers()[static_cast<size_t>(row)] = handler;
  return previous;
}

TCommandHandler CommandHandler(int32_t code) {
  const int row = InstructionRow(code);
  return row < 0 ? nullptr : Handlers()[static_cast<size_t>(row)];
}

void RegisterCommands(std::span<const TCommandBinding> bindings) {
  for (const TCommandBinding& b : bindings) RegisterCommand(b.Code, b.Handler);
}
