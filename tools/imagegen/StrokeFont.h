#pragma once

#include <string_view>

#include "Canvas.h"

// Lettering drawn from a 5 x 7 dot font: every lit dot is joined to its lit neighbours by a
// round-ended stroke, so that the letters stay smooth at any size and come out anti-aliased.
struct TextBox {
    double left;
    double top;
    double right;
    double bottom;
};

struct TextStyle {
    double strokeRadius;  // Half the stroke width, in pixels.
    double gapInDots;     // Space between letters, in units of the horizontal dot spacing.
    double slant;         // Horizontal shift per pixel upwards (italic); 0 for upright.
};

// Signed distance in pixels from (x, y) to the text laid out to fill the box exactly
// (negative inside the strokes). Characters outside the font are left out.
class TextShape {
  public:
    TextShape(std::string_view text, TextBox box, TextStyle style);
    double Distance(double x, double y) const;

  private:
    std::string_view text_;
    TextBox box_;
    TextStyle style_;
    double dotWidth_;
    double dotHeight_;
};

// Fills the text into the canvas with the colour, at the given opacity.
void DrawText(Canvas& canvas, const TextShape& text, Rgb colour, double opacity = 1.0);
