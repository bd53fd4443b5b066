// A scene record with its layer roots, in a small test game directory that
// is the current folder while a test runs. The location archive GFX\loc.wgw
// (rock, leaf, and the two-frame animation w1/w2) and the system archive are
// loaded and every script command is bound, so script text runs through the
// real interpreter and commands.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "scene/command_bindings.h"
#include "scene/location.h"
#include "scene/scene_update.h"
#include "script/interpreter.h"
#include "script/script_text.h"
#include "support/game_dir.h"

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAllCommands();
    game_ = std::make_unique<TTestGameDir>(::testing::UnitTest::GetInstance()->current_test_info()->name());
    game_->WriteArchive("GFX/loc.wgw", {{"rock", 8, 8, 0x808080FF}, {"leaf", 8, 8, 0x00FF00FF},
                                        {"w1", 8, 8, 0x0000FFFF, "w2", 100}, {"w2", 8, 8, 0x0000C0FF, "w1", 100}});
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(game_->Dir());
    for (auto& layer : s_.LayerRoots) layer = gl_.Root().AddNewChild<TDummyCube>();
    LoadArchiveInto(s_.LocationArchive, *s_.LocationLibrary, "GFX\\loc.wgw");
    LoadArchiveInto(s_.SystemArchive, *s_.SystemLibrary, "system.wgw");
  }
  void TearDown() override { std::filesystem::current_path(old_); }

  // Appends the function blocks of `text`; the index of the first.
  int32_t Define(const std::string& text) {
    const auto index = static_cast<int32_t>(s_.Functions.size());
    for (TqvxFunction& f : ParseScriptText(text, "test")) s_.Functions.push_back(std::move(f));
    return index;
  }
  // Runs `body` as a function of its own, not forced.
  void Run(const std::string& body, float dt = 0.02f) {
    RunFunction(s_, Define("function \"t\"\n" + body + "\nend\n"), 0, false, dt);
  }

  TGLScene gl_;
  TqvxScene s_;
  std::unique_ptr<TTestGameDir> game_;
  std::filesystem::path old_;
};
