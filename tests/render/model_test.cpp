#include <gtest/gtest.h>

#include "platform/game_error.h"
#include "render/material_links.h"
#include "render/materials.h"
#include "render/nodes.h"

namespace {
TGLLibMaterial Named(const std::string& name, const std::string& second = {}) {
  TGLLibMaterial m;
  m.Name = name;
  m.Texture2Name = second;
  return m;
}
}  // namespace

TEST(SpriteMaterial, LookupHappensWhenNameOrLibraryIsSetAndAStaleIndexIsNeverUsed) {
  TGLMaterialLibrary lib;
  lib.Add(Named("a"));
  lib.Add(Named("b"));
  TGLScene scene;
  THUDSprite* s = scene.Root().AddNewChild<THUDSprite>();
  s->SetLibMaterialName("b");
  EXPECT_EQ(s->ResolvedMaterial(), nullptr) << "no library yet";
  s->SetMaterialLibrary(&lib);
  ASSERT_NE(s->ResolvedMaterial(), nullptr);
  EXPECT_EQ(s->ResolvedMaterial()->Name, "b");

  s->SetLibMaterialName("c");
  lib.Add(Named("c"));
  EXPECT_EQ(s->ResolvedMaterial(), nullptr) << "a material added later is not searched for";
  s->SetLibMaterialName("c");
  EXPECT_EQ(s->MaterialIndex(), 2);
  s->SetLibMaterialName("B");
  EXPECT_EQ(s->ResolvedMaterial(), nullptr) << "names are case-sensitive";

  // The kept index is checked again once the library changed; a material
  // that no longer carries the sprite's name at that index is not drawn.
  s->SetLibMaterialName("b");
  lib.At(1).Name = "renamed";
  lib.Add(Named("z"));
  EXPECT_EQ(s->ResolvedMaterial(), nullptr);
  EXPECT_EQ(s->MaterialIndex(), -1);
}

TEST(SpriteMaterial, ClearingTheLibraryDetachesSprites) {
  TGLMaterialLibrary lib;
  lib.Add(Named("a"));
  lib.At(0).GLTexture = 7;
  TGLScene scene;
  THUDSprite* s = scene.Root().AddNewChild<THUDSprite>();
  s->SetMaterial(&lib, "a");
  lib.Clear();
  EXPECT_EQ(s->MaterialLibrary(), nullptr);
  EXPECT_EQ(s->LibMaterialName(), "");
  EXPECT_EQ(lib.ReleasedTextures, std::vector<uint32_t>{7});
  lib.Add(Named("a"));
  EXPECT_EQ(s->ResolvedMaterial(), nullptr) << "the game sets the picture again itself";
}

TEST(SceneTree, OrderRemovalAndExchange) {
  TGLScene scene;
  TDummyCube* group = scene.Root().AddNewChild<TDummyCube>();
  THUDSprite* a = group->AddNewChild<THUDSprite>();
  THUDSprite* b = group->AddNewChild<THUDSprite>();
  THUDSprite* c = group->AddNewChild<THUDSprite>();
  EXPECT_EQ(group->IndexOf(c), 2);
  group->ExchangeWithPrevious(2);
  EXPECT_EQ(group->Child(1), c);
  EXPECT_EQ(group->Child(2), b);
  group->ExchangeWithPrevious(0);  // nothing before the first child
  group->ExchangeWithPrevious(9);
  EXPECT_EQ(group->Child(0), a);
  TGLMaterialLibrary lib;
  lib.Add(Named("m"));
  c->SetMaterial(&lib, "m");
  group->RemoveChild(c);
  EXPECT_EQ(group->Count(), 2);
  EXPECT_EQ(group->Child(1), b);
  lib.Clear();  // the freed sprite unregistered itself; nothing dangles

  THUDSprite* d = group->AddNewChild<THUDSprite>();
  THUDSprite* e = group->AddNewChild<THUDSprite>();
  THUDSprite stranger;
  TGLNode* doomed[] = {e, &stranger, a};
  group->RemoveChildren(doomed);  // one pass; a node that is no child is ignored
  ASSERT_EQ(group->Count(), 2);
  EXPECT_EQ(group->Child(0), b);
  EXPECT_EQ(group->Child(1), d);
}

TEST(Texture2Links, CyclesAreRefused) {
  TGLMaterialLibrary lib;
  lib.Add(Named("a"));
  lib.Add(Named("b"));
  lib.Add(Named("c"));
  SetTexture2Name(lib, 0, "b");
  SetTexture2Name(lib, 1, "c");
  SetTexture2Name(lib, 2, "missing");
  try {
    SetTexture2Name(lib, 2, "a");
    FAIL() << "a -> b -> c -> a must be refused";
  } catch (const EGameError& e) {
    EXPECT_STREQ(e.what(), "Error: Cyclic material reference detected!");
  }
  EXPECT_EQ(lib.At(2).Texture2Name, "missing") << "a refused name changes nothing";
  EXPECT_THROW(SetTexture2Name(lib, 1, "b"), EGameError) << "a material naming itself";
  EXPECT_EQ(lib.At(1).Texture2Name, "c");
  SetTexture2Name(lib, 9, "a");  // no such material: ignored

  // A circle written into the fields directly is detected, not followed forever.
  lib.At(2).Texture2Name = "a";
  EXPECT_TRUE(HasTexture2Cycle(lib, 0));
  lib.At(2).Texture2Name.clear();
  EXPECT_FALSE(HasTexture2Cycle(lib, 0));
}
