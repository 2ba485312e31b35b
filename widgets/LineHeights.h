// Text heights from the number of lines. Measured with a typographic format
// and no wrapping, a text of plain lines is as tall as its lines, whatever
// their glyphs: one measured text of each shape (how many lines, which are
// empty) stands for every other text of that shape in the same font. A text
// with characters the font may not have (so a fallback font with other
// metrics could draw them) is measured itself.
#pragma once

#include <string>
#include <unordered_map>

#include "framework/CanvasEx.h"

class TLineHeights {
 public:
  // canvas.TextHeight(text) in the canvas's current font; the font must not
  // change during this object's life.
  float Height(TCanvasEx& canvas, const std::wstring& text);
  // How many texts were measured (the rest were derived).
  int Measured() const { return measured_; }

  // The shape of a text of plain lines, or false for any other text.
  static bool Shape(const std::wstring& text, unsigned long long& shape);

 private:
  std::unordered_map<unsigned long long, float> known_;
  int measured_ = 0;
};
