#pragma once
// The proportional bitmap font all on-screen text is drawn with: one picture
// holding the glyphs "!" to "~" side by side in one row, separated by fully
// transparent columns. The glyphs are found once, by scanning the picture's
// alpha channel; drawing a character is one textured rectangle cut out of it.

#include <string>

#include "support/BasicVector.h"

class Image;

class Font {
 public:
  // Loads the picture (it must have an alpha channel) and finds the glyphs.
  // A picture with fewer than 94 glyphs leaves the last characters without one.
  explicit Font(const std::string& filename = "default_font.png");
  // Frees the picture and its texture.
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Draws `text` with its top-left corner at (x, y) in 2D view coordinates,
  // in the current colour, scaled by (horizontal, vertical); returns the pen
  // position after the last character. A blank advances by spaceWidth, a
  // line break goes back to x one line lower, other characters without a
  // glyph are skipped.
  Int2 drawText(const Float2& scale, const char* text, int x, int y) const;
  // The width of the widest line of the first `length` bytes of `text` (all
  // of it when -1), at the horizontal scale `scale`; agrees with drawText.
  int getTextWidth(const char* text, int length, float scale) const;
  // True for the blank, the line break and every character with a glyph.
  bool hasChar(unsigned char c) const;
  // The height of a line at scale 1: the picture's height in pixels.
  int getHeight() const;

  Image* image;          // texture and size only: the pixels are freed after the scan
  int glyphStart[256];   // first texture column of each character's glyph
  int glyphWidth[256];   // its width in columns, which is also its advance; -1: no glyph
  int spaceWidth = 16;   // the advance of a blank

 private:
  void findGlyphs();
  bool columnIsEmpty(int x) const;
  void drawGlyph(unsigned char c, const Int2& topLeft, const Float2& scale) const;
  bool hasGlyph(unsigned char c) const { return glyphWidth[c] > 0; }
};
