// The interpreter's cost per instruction, and the cost of loading a
// location-sized function table from its stored form and from text.
#include <benchmark/benchmark.h>

#include "script/function_io.h"
#include "script/interpreter.h"
#include "script/script_text.h"

namespace {

TScriptInstruction Make(int32_t code, int32_t op1, int32_t op2, const char* s1, const char* s2) {
  TScriptInstruction ins;
  ins.Code = code;
  ins.Op[0] = op1;
  ins.Op[1] = op2;
  SetInstructionString(ins, 0, s1);
  SetInstructionString(ins, 1, s2);
  return ins;
}

// A typical guarded block, repeated: two tests, "and", then commands with
// long names (commands without a handler here, so only the dispatch counts).
TqvxFunction Typical(int blocks) {
  TqvxFunction f;
  f.Name = "typical";
  for (int b = 0; b < blocks; ++b) {
    f.Instructions.push_back(Make(103, b, 3, "INT", ""));
    f.Instructions.push_back(Make(104, 7, 2, "", "INT"));
    f.Instructions.push_back(Make(107, 0, 0, "", ""));
    f.Instructions.push_back(Make(52, 0, 0, "a_rather_long_object_name", ""));
    f.Instructions.push_back(Make(54, 0, 0, "a_rather_long_object_name", "picture_name_01"));
  }
  return f;
}

std::vector<TqvxFunction> Table() {
  std::vector<TqvxFunction> t;
  for (int i = 0; i < 60; ++i) t.push_back(Typical(8));
  return t;
}

void BM_RunFunction(benchmark::State& state) {
  TqvxScene scene;
  scene.Functions = {Typical(40)};
  for (int i = 0; i < 8; ++i) scene.Variables[i] = i;
  for (auto _ : state) RunFunction(scene, 0, 0, true, 0.02f);
  state.SetItemsProcessed(state.iterations() * scene.Functions[0].InstructionCount());
}
BENCHMARK(BM_RunFunction);

void BM_ReadFunctionTable(benchmark::State& state) {
  TBinaryWriter out;
  WriteFunctionTable(out, Table());
  std::vector<TqvxFunction> back;
  for (auto _ : state) {
    TBinaryReader in(out.Bytes());
    ReadFunctionTable(in, back);
    benchmark::DoNotOptimize(back.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(out.Size()));
}
BENCHMARK(BM_ReadFunctionTable);

void BM_ParseScriptText(benchmark::State& state) {
  const std::string text = FormatFunctions(Table());
  for (auto _ : state) benchmark::DoNotOptimize(ParseScriptText(text, "bench.txt"));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseScriptText);

}  // namespace
