#include "raster/RasterScreen.h"

#include <cstddef>

#include "raster/SpriteImages.h"

namespace {

std::size_t Slot(SceneSprite sprite) {
    return static_cast<std::size_t>(sprite);
}

}  // namespace

void RasterScreen::SetClientSize(std::int32_t width, std::int32_t height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

void RasterScreen::Draw(SceneSprite sprite) {
    const SpriteSlot& slot = sprites_[Slot(sprite)];
    if (slot.image != nullptr) {
        static_cast<void>(DrawSprite(frame_, *slot.image, slot.x, slot.y));
    }
}

// The front end has put its settings into the record already; there is no file to read.
void RasterScreen::ScreenHost::ReadSettings(SaverSettings& /*settings*/) {}

void RasterScreen::ScreenHost::ClientSize(std::int32_t& width, std::int32_t& height) {
    width = screen_.clientWidth_;
    height = screen_.clientHeight_;
}

// The depth is the full-screen mode's; the frame is always 32 bits per pixel.
void RasterScreen::ScreenHost::SetMode(std::int32_t width, std::int32_t height,
                                       std::int32_t /*bitsPerPixel*/) {
    screen_.modeWidth_ = width;
    screen_.modeHeight_ = height;
}

void RasterScreen::ScreenHost::SetWindowed(bool /*windowed*/) {}

void RasterScreen::ScreenHost::Init() {
    screen_.frame_ = screen_.presenter_.MakeFrame(screen_.modeWidth_, screen_.modeHeight_);
    // A set-up after a resize starts over: sprites are attached and loaded again.
    screen_.sprites_ = {};
}

void RasterScreen::ScreenHost::Clear() {
    FillBlack(screen_.frame_);
}

void RasterScreen::ScreenHost::Present() {
    screen_.presenter_.ShowFrame();
}

void RasterScreen::ScreenHost::AttachSprite(SceneSprite sprite) {
    screen_.sprites_[Slot(sprite)].attached = true;
}

void RasterScreen::ScreenHost::LoadSprite(SceneSprite sprite) {
    SpriteSlot& slot = screen_.sprites_[Slot(sprite)];
    slot.image = slot.attached ? &ImageOf(sprite) : nullptr;
}

void RasterScreen::ScreenHost::PlaceSprite(SceneSprite sprite, std::int32_t x, std::int32_t y) {
    SpriteSlot& slot = screen_.sprites_[Slot(sprite)];
    slot.x = x;
    slot.y = y;
}

void RasterScreen::ScreenSink::Clear() {
    FillBlack(screen_.frame_);
}

// There is one frame, and it still holds the picture last shown: the copy is already made.
void RasterScreen::ScreenSink::CopyPrimaryToBack() {}

void RasterScreen::ScreenSink::DrawBall(std::int32_t sprite, std::int32_t x, std::int32_t y) {
    const SceneSprite ball = sprite == 0 ? SceneSprite::Ball0 : SceneSprite::Ball1;
    screen_.host_.PlaceSprite(ball, x, y);
    screen_.Draw(ball);
}

void RasterScreen::ScreenSink::DrawLogo(std::int32_t x, std::int32_t y) {
    screen_.host_.PlaceSprite(SceneSprite::Logo, x, y);
    screen_.Draw(SceneSprite::Logo);
}

void RasterScreen::ScreenSink::DrawPanel() {
    screen_.Draw(SceneSprite::Info);
}

void RasterScreen::ScreenSink::WriteText(std::int32_t x, std::int32_t y, const char* text,
                                         std::int32_t length) {
    WriteDigits(screen_.frame_, x, y, text, length);
}

void RasterScreen::ScreenSink::Present() {
    screen_.presenter_.ShowFrame();
}
