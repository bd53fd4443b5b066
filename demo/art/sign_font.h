// A TrueType font for lettering painted into pictures (signs, speech
// bubbles, titles), through Cairo's FreeType back end.
#pragma once

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>
#include <string>

class TSignFont {
 public:
  explicit TSignFont(const std::string& path) {
    if (FT_Init_FreeType(&Lib)) throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(Lib, path.c_str(), 0, &Face)) {
      FT_Done_FreeType(Lib);
      throw std::runtime_error("cannot open font " + path);
    }
    Cairo = cairo_ft_font_face_create_for_ft_face(Face, 0);
  }
  ~TSignFont() {
    cairo_font_face_destroy(Cairo);
    FT_Done_Face(Face);
    FT_Done_FreeType(Lib);
  }
  TSignFont(const TSignFont&) = delete;
  TSignFont& operator=(const TSignFont&) = delete;
  cairo_font_face_t* Cairo = nullptr;

 private:
  FT_Library Lib = nullptr;
  FT_Face Face = nullptr;
};
