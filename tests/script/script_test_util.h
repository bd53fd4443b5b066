// Builders for small script functions and a fixture that fills a few command
// codes with recording stand-ins, so control-flow tests run the real
// interpreter on functions built in the test.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "state/scene_state.h"
#include "state/instruction.h"
#include "script/interpreter.h"
#include "script/script_table.h"

inline TScriptInstruction Ins(int32_t code, std::initializer_list<int32_t> ops = {},
                              std::initializer_list<std::string> strs = {}) {
  TScriptInstruction ins;
  ins.Code = code;
  size_t k = 0;
  for (int32_t op : ops) ins.Op[k++] = op;
  int i = 0;
  for (const auto& s : strs) SetInstructionString(ins, i++, s);
  return ins;
}

inline TqvxFunction Fn(const std::string& name, std::vector<TScriptInstruction> body) {
  return TqvxFunction{std::move(body), name};
}

// Stand-in command codes. The real commands belong to other subsystems; here
// they only do what the control flow needs.
enum : int32_t {
  kTrace = 41,         // appends Str1 to Trace()
  kWait = 15,          // WaitTime := Op1 / 1000
  kWalk = 8,           // HeroWalking := true
  kEnableInput = 23,   // InputEnabled := Op1 > 0
  kCall = 16,          // built in
  kDelayedCall = 17,   // built in
  kEnd = 39,           // built in
  kBindPress = 20,     // runs while ScriptExecuting is false; traces "bind"
};

inline std::vector<std::string>& Trace() {
  static std::vector<std::string> trace;
  return trace;
}

inline TScriptInstruction Say(const std::string& word) { return Ins(kTrace, {}, {word}); }

class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Trace().clear();
    ResetScene(scene);
    Fill(kTrace, [](TqvxScene&, const TScriptInstruction& ins, float) { Trace().push_back(ins.Str[0]); });
    Fill(kWait, [](TqvxScene& s, const TScriptInstruction& ins, float) {
      s.WaitTime = static_cast<float>(ins.Op[0]) / 1000.0f;
    });
    Fill(kWalk, [](TqvxScene& s, const TScriptInstruction&, float) { s.HeroWalking = true; });
    Fill(kEnableInput, [](TqvxScene& s, const TScriptInstruction& ins, float) { s.InputEnabled = ins.Op[0] > 0; });
    Fill(kBindPress, [](TqvxScene&, const TScriptInstruction&, float) { Trace().push_back("bind"); });
  }
  void TearDown() override {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) RegisterCommand(it->first, it->second);
  }
  void Fill(int32_t code, TCommandHandler h) { saved_.emplace_back(code, RegisterCommand(code, h)); }

  TqvxScene scene;

 private:
  std::vector<std::pair<int32_t, TCommandHandler>> saved_;
};
