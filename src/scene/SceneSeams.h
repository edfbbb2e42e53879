#pragma once

#include <cstdint>

// The narrow interfaces between the scene's arithmetic and the platform. The Windows side
// forwards each call to the display, the sprites, GDI or the performance counter in a few
// lines; tests record the calls instead.

struct SaverSettings;

enum class SceneSprite { Ball0, Ball1, Logo, Info };

// The performance counter: ticks per second (0 when the platform has none) and the count now.
class SceneClock {
  public:
    virtual ~SceneClock() = default;
    virtual std::int64_t CounterFrequency() = 0;
    virtual std::int64_t CounterValue() = 0;
};

// What the scene set-up asks of the window, the display and the sprites.
class SceneHost {
  public:
    virtual ~SceneHost() = default;
    // Fills the settings at set-up. The saver reads its file in the current directory; a
    // front end that takes its settings from elsewhere keeps the record it already holds.
    virtual void ReadSettings(SaverSettings& settings);
    // The right and bottom edges of the window's client rectangle.
    virtual void ClientSize(std::int32_t& width, std::int32_t& height) = 0;
    virtual void SetMode(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) = 0;
    virtual void SetWindowed(bool windowed) = 0;
    virtual void Init() = 0;
    virtual void Clear() = 0;
    virtual void Present() = 0;
    virtual void AttachSprite(SceneSprite sprite) = 0;
    virtual void LoadSprite(SceneSprite sprite) = 0;  // From the sprite's own bitmap resource.
    virtual void PlaceSprite(SceneSprite sprite, std::int32_t x, std::int32_t y) = 0;
};

// The requests one frame hands to the display and the sprites, in the order it makes them.
class FrameSink {
  public:
    virtual ~FrameSink() = default;
    virtual void Clear() = 0;
    virtual void CopyPrimaryToBack() = 0;
    // The ball image (0 or 1) with its top-left corner at (x, y).
    virtual void DrawBall(std::int32_t sprite, std::int32_t x, std::int32_t y) = 0;
    virtual void DrawLogo(std::int32_t x, std::int32_t y) = 0;
    virtual void DrawPanel() = 0;
    // Decimal text over the panel with a transparent background; text is not terminated.
    virtual void WriteText(std::int32_t x, std::int32_t y, const char* text,
                           std::int32_t length) = 0;
    virtual void Present() = 0;
};
