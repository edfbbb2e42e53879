#pragma once

#include <array>
#include <cstdint>

#include "raster/Canvas.h"
#include "scene/SceneSeams.h"

// Where finished frames go. The front end owns the pixels, so that a frame is shown straight
// from the memory it was drawn in.
class FramePresenter {
  public:
    virtual ~FramePresenter() = default;
    // Replaces the frame with one of the given size; a frame without pixels when none can be
    // had, which the drawing then leaves alone.
    virtual FrameBuffer MakeFrame(std::int32_t width, std::int32_t height) = 0;
    virtual void ShowFrame() = 0;
};

// The display and the sprites of the scene, in software: one frame that every request draws
// into, shown whole by Present.
class RasterScreen {
  public:
    explicit RasterScreen(FramePresenter& presenter) : presenter_(presenter) {}

    // The size the next set-up reads as the window's client area.
    void SetClientSize(std::int32_t width, std::int32_t height);

    SceneHost& Host() { return host_; }
    FrameSink& Sink() { return sink_; }
    const FrameBuffer& Frame() const { return frame_; }

  private:
    class ScreenHost final : public SceneHost {
      public:
        explicit ScreenHost(RasterScreen& screen) : screen_(screen) {}
        void ReadSettings(SaverSettings& settings) override;
        void ClientSize(std::int32_t& width, std::int32_t& height) override;
        void SetMode(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) override;
        void SetWindowed(bool windowed) override;
        void Init() override;
        void Clear() override;
        void Present() override;
        void AttachSprite(SceneSprite sprite) override;
        void LoadSprite(SceneSprite sprite) override;
        void PlaceSprite(SceneSprite sprite, std::int32_t x, std::int32_t y) override;

      private:
        RasterScreen& screen_;
    };

    class ScreenSink final : public FrameSink {
      public:
        explicit ScreenSink(RasterScreen& screen) : screen_(screen) {}
        void Clear() override;
        void CopyPrimaryToBack() override;
        void DrawBall(std::int32_t sprite, std::int32_t x, std::int32_t y) override;
        void DrawLogo(std::int32_t x, std::int32_t y) override;
        void DrawPanel() override;
        void WriteText(std::int32_t x, std::int32_t y, const char* text,
                       std::int32_t length) override;
        void Present() override;

      private:
        RasterScreen& screen_;
    };

    struct SpriteSlot {
        bool attached = false;
        const SpriteImage* image = nullptr;  // Null until loaded.
        std::int32_t x = 0;
        std::int32_t y = 0;
    };

    void Draw(SceneSprite sprite);

    FramePresenter& presenter_;
    ScreenHost host_{*this};
    ScreenSink sink_{*this};
    FrameBuffer frame_;
    std::int32_t clientWidth_ = 0;
    std::int32_t clientHeight_ = 0;
    std::int32_t modeWidth_ = 0;
    std::int32_t modeHeight_ = 0;
    std::array<SpriteSlot, 4> sprites_{};
};
