#include "StrokeFont.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {

constexpr int kRows = 7;

struct Glyph {
    char letter;
    std::array<const char*, kRows> rows;
};

// clang-format off
constexpr std::array kGlyphs{
    Glyph{'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    Glyph{'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    Glyph{'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    Glyph{'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    Glyph{'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    Glyph{'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    Glyph{'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    Glyph{'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    Glyph{'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    Glyph{'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    Glyph{'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#", "#...#", "#...#"}},
    Glyph{'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    Glyph{'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    Glyph{'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    Glyph{'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    Glyph{'S', {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."}},
    Glyph{'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    Glyph{'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    Glyph{'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    Glyph{'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    Glyph{'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    Glyph{':', {".", ".", "#", ".", ".", "#", "."}},
    Glyph{'.', {".", ".", ".", ".", ".", ".", "#"}},
    Glyph{' ', {"...", "...", "...", "...", "...", "...", "..."}},
};
// clang-format on

const Glyph* FindGlyph(char letter) {
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.letter == letter) {
            return &glyph;
        }
    }
    return nullptr;
}

int GlyphColumns(const Glyph& glyph) {
    return static_cast<int>(std::char_traits<char>::length(glyph.rows[0]));
}

bool Lit(const Glyph& glyph, int column, int row) {
    if (row < 0 || row >= kRows || column < 0 || column >= GlyphColumns(glyph)) {
        return false;
    }
    return glyph.rows[static_cast<std::size_t>(row)][column] == '#';
}

// Distance from point p to the segment a..b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared > 0.0) {
        t = Clamp01(((px - ax) * dx + (py - ay) * dy) / lengthSquared);
    }
    const double ex = px - (ax + t * dx);
    const double ey = py - (ay + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

// Width of a glyph in dot spacings, from its first to its last column.
double GlyphSpan(const Glyph& glyph) {
    return GlyphColumns(glyph) - 1.0;
}

}  // namespace

TextShape::TextShape(std::string_view text, TextBox box, TextStyle style)
    : text_(text), box_(box), style_(style), dotWidth_(1.0), dotHeight_(1.0) {
    const double diameter = 2.0 * style.strokeRadius;
    dotHeight_ = (box.bottom - box.top - diameter) / (kRows - 1);
    // The box's width = sum of (span * dotWidth + diameter) + gaps * dotWidth.
    double spans = 0.0;
    double strokes = 0.0;
    int glyphCount = 0;
    for (char letter : text) {
        if (const Glyph* glyph = FindGlyph(letter)) {
            spans += GlyphSpan(*glyph);
            strokes += diameter;
            ++glyphCount;
        }
    }
    spans += style.gapInDots * std::max(0, glyphCount - 1);
    const double slantWidth = style.slant * (box.bottom - box.top);
    dotWidth_ = (box.right - box.left - strokes - slantWidth) / spans;
}

double TextShape::Distance(double x, double y) const {
    double best = 1.0e9;
    double originX = box_.left + style_.strokeRadius;
    const double originY = box_.top + style_.strokeRadius;
    // Undo the slant: a point is tested against the upright letters.
    const double uprightX = x - style_.slant * (box_.bottom - y);
    for (char letter : text_) {
        const Glyph* glyph = FindGlyph(letter);
        if (glyph == nullptr) {
            continue;
        }
        const double span = GlyphSpan(*glyph) * dotWidth_;
        if (uprightX > originX - 2.0 * style_.strokeRadius - 2.0 &&
            uprightX < originX + span + 2.0 * style_.strokeRadius + 2.0) {
            for (int row = 0; row < kRows; ++row) {
                for (int column = 0; column < GlyphColumns(*glyph); ++column) {
                    if (!Lit(*glyph, column, row)) {
                        continue;
                    }
                    const double ax = originX + column * dotWidth_;
                    const double ay = originY + row * dotHeight_;
                    best = std::min(best, SegmentDistance(uprightX, y, ax, ay, ax, ay));
                    // Joins to the right and downwards; a diagonal only where no straight
                    // join already turns that corner, so the strokes don't form wedges.
                    const bool right = Lit(*glyph, column + 1, row);
                    const bool down = Lit(*glyph, column, row + 1);
                    const bool left = Lit(*glyph, column - 1, row);
                    auto join = [&](int toColumn, int toRow) {
                        best = std::min(best, SegmentDistance(uprightX, y, ax, ay,
                                                              originX + toColumn * dotWidth_,
                                                              originY + toRow * dotHeight_));
                    };
                    if (right) {
                        join(column + 1, row);
                    }
                    if (down) {
                        join(column, row + 1);
                    }
                    if (Lit(*glyph, column + 1, row + 1) && !right && !down) {
                        join(column + 1, row + 1);
                    }
                    if (Lit(*glyph, column - 1, row + 1) && !left && !down) {
                        join(column - 1, row + 1);
                    }
                }
            }
        }
        originX += span + 2.0 * style_.strokeRadius + style_.gapInDots * dotWidth_;
    }
    return best - style_.strokeRadius;
}

void DrawText(Canvas& canvas, const TextShape& text, Rgb colour, double opacity) {
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const double coverage = CoverageFromDistance(text.Distance(x + 0.5, y + 0.5));
            canvas.Blend(x, y, colour, coverage * opacity);
        }
    }
}
