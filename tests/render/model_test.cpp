#include <gtest/gtest.h>

#include <tuple>

#include "platform/game_error.h"
#include "render/material_links.h"
#include "render/materials.h"
#include "render/nodes.h"

namespace {
TGLLibMaterial Named(const std::string& name) {
  TGLLibMaterial m;
  m.Name = name;
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

// A second-texture name set at run time that would close a circle is refused
// and changes nothing; a circle written into the fields directly is found.
TEST(Texture2Links, CyclesAreRefused) {
  TGLMaterialLibrary lib;
  for (const char* name : {"a", "b", "c"}) lib.Add(Named(name));
  SetTexture2Name(lib, 0, "b");
  SetTexture2Name(lib, 1, "c");
  SetTexture2Name(lib, 2, "missing");
  SetTexture2Name(lib, 9, "a");  // no such material: ignored
  for (const auto& [index, name] : {std::pair{2, "a"}, {1, "b"}}) {
    try {
      SetTexture2Name(lib, index, name);
      ADD_FAILURE() << name;
    } catch (const EGameError& e) {
      EXPECT_STREQ(e.what(), "Error: Cyclic material reference detected!");
    }
  }
  EXPECT_EQ(std::tuple(lib.At(1).Texture2Name, lib.At(2).Texture2Name), std::tuple("c", "missing"));
  lib.At(2).Texture2Name = "a";
  EXPECT_TRUE(HasTexture2Cycle(lib, 0));
}
