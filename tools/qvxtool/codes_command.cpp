// qvxtool script codes: the instruction code table for authors.
//
//   qvxtool script codes [--markdown]
//
// Plain output is one row a line with tab-separated fields; --markdown prints
// the table that docs/authoring.md carries between its generated-table
// markers (scripts/update-docs.sh puts it there). Both read the interpreter's
// own table, so the guide cannot name a code the game does not run.
#include <cstdio>
#include <string>

#include "commands.h"
#include "script/instruction_codes.h"

namespace {

const char* RunsWhenFalseMark(const TInstructionInfo& row, bool markdown) {
  if (row.IsCondition) return "condition";
  if (row.RunsWhenFalse) return "always";
  return markdown ? "" : "-";
}

}  // namespace

int ScriptCodesCommand(const TArgs& args) {
  bool markdown = false;
  for (const std::string& arg : args) {
    if (arg == "--markdown") {
      markdown = true;
    } else {
      std::fprintf(stderr, "qvxtool script codes: unknown option '%s'\nusage: qvxtool script codes [--markdown]\n",
                   arg.c_str());
      return 1;
    }
  }
  if (markdown) {
    std::puts("| code | mnemonic | runs | operands | what it does |");
    std::puts("|---:|---|---|---|---|");
  }
  for (const TInstructionInfo& row : InstructionTable()) {
    if (markdown)
      std::printf("| %d | `%s` | %s | %s | %s |\n", row.Code, row.Mnemonic, RunsWhenFalseMark(row, true),
                  row.Operands, row.Summary);
    else
      std::printf("%d\t%s\t%s\t%s\t%s\n", row.Code, row.Mnemonic, RunsWhenFalseMark(row, false), row.Operands,
                  row.Summary);
  }
  return 0;
}
