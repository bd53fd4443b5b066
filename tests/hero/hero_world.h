// A small location for the hero tests: an open walk grid, one hero object
// with a sprite in a scene tree, and a person archive whose frames are added
// by name. Frame() stands in for the per-frame update: the object motion the
// scene engine does, then the hero's frame chain and update.
#pragma once

#include <cmath>
#include <numbers>
#include <string>

#include "hero/hero_movement.h"
#include "render/materials.h"
#include "render/nodes.h"
#include "state/scene_state.h"

struct HeroWorld {
  TGLScene Tree;
  TqvxScene Scene;

  explicit HeroWorld(int columns = 40) {
    Scene.WalkGrid.assign(static_cast<size_t>(columns), {});
    Scene.GridWidth = columns;
    TqvxObject hero;
    hero.Name = "hero";
    hero.Sprite = Tree.Root().AddNewChild<THUDSprite>();
    hero.Width = 100;
    hero.Height = 200;
    Scene.Objects.push_back(hero);
    Scene.HeroIndex = 0;
    Scene.HeroDirection = 3;
  }

  TqvxObject& Hero() { return Scene.Objects[0]; }

  void AddFrame(const std::string& name, const std::string& next = "", int32_t ms = 100) {
    TImageEntry e;
    e.Name = name;
    e.NextName = next;
    e.FrameTime = ms;
    Scene.PersonArchive.BitmapEntries.push_back(e);
    ++Scene.PersonArchive.BitmapCount;
    TGLLibMaterial m;
    m.Name = name;
    Scene.PersonLibrary->Add(m);
  }

  // Distinct, existing names for every turn, walk, stand and idle frame.
  void NameAllFrames() {
    for (int d = 0; d < 8; ++d) {
      Scene.TurnFrames[d] = "t" + std::to_string(d);
      AddFrame(Scene.TurnFrames[d]);
      for (int k = 0; k < 5; ++k) {
        Scene.WalkFrames[d][k] = "w" + std::to_string(d) + std::to_string(k);
        AddFrame(Scene.WalkFrames[d][k]);
      }
    }
    for (int d = 0; d < 9; ++d) {
      Scene.StandFrames[d] = "s" + std::to_string(d);
      AddFrame(Scene.StandFrames[d]);
    }
    for (int d = 0; d < 4; ++d) {
      Scene.IdleFrames[d] = "i" + std::to_string(d);
      AddFrame(Scene.IdleFrames[d]);
    }
  }

  void Block(int x, int y) { Scene.WalkGrid[static_cast<size_t>(x)][static_cast<size_t>(y)] = 1; }

  void PutHero(float x, float y) { SetObjectPosition(Scene, 0, x, y); }

  // Puts the hero at (x, y) facing `direction` and starts a walk through the points.
  void Walk(float x, float y, int direction, std::initializer_list<TGridPoint> points) {
    Scene.HeroDirection = direction;
    PutHero(x, y);
    Scene.WaypointCount = 0;
    for (const TGridPoint& p : points) Scene.Waypoints[Scene.WaypointCount++] = p;
    StartWalk(Scene);
  }

  void Frame(float dt) {
    TqvxObject& h = Hero();
    if (h.Speed > 0) {
      const double rad = h.Heading * std::numbers::pi / 180.0;
      SetObjectPosition(Scene, 0, static_cast<float>(h.X + std::cos(rad) * h.Speed * dt),
                        static_cast<float>(h.Y - std::sin(rad) * h.Speed * dt));
    }
    AnimateHero(Scene, dt);
    UpdateHero(Scene, dt);
  }

  // Runs frames until the walk and any turn are over; false if that takes
  // more than `limit` frames.
  bool RunUntilIdle(float dt = 0.02f, int limit = 2000) {
    for (int i = 0; i < limit; ++i) {
      Frame(dt);
      if (!Scene.HeroWalking && Scene.WaitTime <= 0 && Scene.TurnPlayIndex < 0) return true;
    }
    return false;
  }

  std::string Shown() { return Hero().Sprite->LibMaterialName(); }
};
