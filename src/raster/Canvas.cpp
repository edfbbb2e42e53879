#include "raster/Canvas.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::int32_t kCellWidth = 8;
constexpr std::int32_t kGlyphTop = 3;  // Rows of the cell above the digits.
constexpr std::int32_t kGlyphRows = 10;
constexpr std::int32_t kGlyphColumns = 7;

// Bold digits of about the size of the system font's, one string per row.
constexpr const char* kGlyphs[10][kGlyphRows] = {
    {" ##### ", "##   ##", "##   ##", "##  ###", "## # ##", "###  ##", "##   ##", "##   ##",
     "##   ##", " ##### "},
    {"   ##  ", "  ###  ", " ####  ", "   ##  ", "   ##  ", "   ##  ", "   ##  ", "   ##  ",
     "   ##  ", " ######"},
    {" ##### ", "##   ##", "     ##", "     ##", "    ## ", "   ##  ", "  ##   ", " ##    ",
     "##     ", "#######"},
    {" ##### ", "##   ##", "     ##", "     ##", "  #### ", "     ##", "     ##", "     ##",
     "##   ##", " ##### "},
    {"    ## ", "   ### ", "  #### ", " ## ## ", "##  ## ", "#######", "    ## ", "    ## ",
     "    ## ", "    ## "},
    {"#######", "##     ", "##     ", "###### ", "     ##", "     ##", "     ##", "     ##",
     "##   ##", " ##### "},
    {"  #### ", " ##    ", "##     ", "##     ", "###### ", "##   ##", "##   ##", "##   ##",
     "##   ##", " ##### "},
    {"#######", "     ##", "     ##", "    ## ", "    ## ", "   ##  ", "   ##  ", "  ##   ",
     "  ##   ", "  ##   "},
    {" ##### ", "##   ##", "##   ##", "##   ##", " ##### ", "##   ##", "##   ##", "##   ##",
     "##   ##", " ##### "},
    {" ##### ", "##   ##", "##   ##", "##   ##", "##   ##", " ######", "     ##", "     ##",
     "    ## ", " ####  "},
};

std::uint32_t* Row(const FrameBuffer& frame, std::int64_t y) {
    return frame.pixels + static_cast<std::ptrdiff_t>(y * frame.stride);
}

}  // namespace

bool DrawSprite(const FrameBuffer& frame, const SpriteImage& sprite, std::int32_t x,
                std::int32_t y) {
    if (frame.pixels == nullptr || sprite.pixels == nullptr) {
        return false;
    }
    // The source rectangle ends before the last column and row; the right edge shortens it.
    // In 64 bits no position can overflow.
    const std::int64_t lastRow = std::int64_t{sprite.height} - 1;
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{sprite.width} - 1, std::int64_t{frame.width} - x);
    // Anything else that does not fit is refused whole, as the platform's blit refuses it.
    if (right <= 0 || lastRow <= 0 || x < 0 || y < 0 || y + lastRow > frame.height) {
        return false;
    }
    for (std::int64_t row = 0; row < lastRow; ++row) {
        const std::uint32_t* source = sprite.pixels + row * sprite.width;
        std::uint32_t* target = Row(frame, y + row) + x;
        for (std::int64_t column = 0; column < right; ++column) {
            const std::uint32_t pixel = source[column];
            if (pixel != 0) {
                target[column] = pixel & 0x00FFFFFF;
            }
        }
    }
    return true;
}

void FillBlack(const FrameBuffer& frame) {
    if (frame.pixels == nullptr) {
        return;
    }
    for (std::int32_t row = 0; row < frame.height; ++row) {
        std::fill_n(Row(frame, row), frame.width, 0u);
    }
}

void WriteDigits(const FrameBuffer& frame, std::int32_t x, std::int32_t y, const char* text,
                 std::int32_t length) {
    if (frame.pixels == nullptr || text == nullptr) {
        return;
    }
    for (std::int32_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            continue;
        }
        const auto& glyph = kGlyphs[text[i] - '0'];
        const std::int64_t left = std::int64_t{x} + std::int64_t{i} * kCellWidth;
        for (std::int32_t row = 0; row < kGlyphRows; ++row) {
            const std::int64_t py = std::int64_t{y} + kGlyphTop + row;
            if (py < 0 || py >= frame.height) {
                continue;
            }
            for (std::int32_t column = 0; column < kGlyphColumns; ++column) {
                const std::int64_t px = left + column;
                if (glyph[row][column] == '#' && px >= 0 && px < frame.width) {
                    Row(frame, py)[px] = 0;
                }
            }
        }
    }
}
