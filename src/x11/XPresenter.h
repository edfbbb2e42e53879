#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include "raster/RasterScreen.h"

// Shows whole frames in an X window: the frame is an X image, in shared memory where the
// server offers MIT-SHM, else in this process, and each ShowFrame puts all of it at once.
class XPresenter final : public FramePresenter {
  public:
    XPresenter(Display* display, Window window, Visual* visual, int depth);
    ~XPresenter() override;
    XPresenter(const XPresenter&) = delete;
    XPresenter& operator=(const XPresenter&) = delete;

    FrameBuffer MakeFrame(std::int32_t width, std::int32_t height) override;
    void ShowFrame() override;
    bool UsesSharedMemory() const { return shared_; }

  private:
    bool MakeSharedImage(int width, int height);
    bool MakePlainImage(int width, int height);
    void Release();

    Display* display_;
    Window window_;
    Visual* visual_;
    int depth_;
    GC gc_;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    bool shared_ = false;
};
