#include "x11/XPresenter.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "x11/XErrorTrap.h"

XPresenter::XPresenter(Display* display, Window window, Visual* visual, int depth)
    : display_(display),
      window_(window),
      visual_(visual),
      depth_(depth),
      gc_(XCreateGC(display, window, 0, nullptr)) {}

XPresenter::~XPresenter() {
    Release();
    XFreeGC(display_, gc_);
}

FrameBuffer XPresenter::MakeFrame(std::int32_t width, std::int32_t height) {
    Release();
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) {
        return {};
    }
    if (!MakeSharedImage(width, height) && !MakePlainImage(width, height)) {
        return {};
    }
    // Both kinds are 32 bits a pixel in this machine's byte order (checked when made).
    return {reinterpret_cast<std::uint32_t*>(image_->data), width, height,
            image_->bytes_per_line / 4};
}

void XPresenter::ShowFrame() {
    if (image_ == nullptr) {
        return;
    }
    const auto width = static_cast<unsigned>(image_->width);
    const auto height = static_cast<unsigned>(image_->height);
    if (shared_) {
        XShmPutImage(display_, window_, gc_, image_, 0, 0, 0, 0, width, height, False);
    } else {
        XPutImage(display_, window_, gc_, image_, 0, 0, 0, 0, width, height);
    }
    // The next frame is drawn into the same memory, so the server must be done with it.
    XSync(display_, False);
}

bool XPresenter::MakeSharedImage(int width, int height) {
    if (XShmQueryExtension(display_) == False) {
        return false;
    }
    image_ =
        XShmCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, nullptr,
                        &segment_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (image_ == nullptr) {
        return false;
    }
    if (image_->bits_per_pixel != 32 || image_->byte_order != LSBFirst) {
        XDestroyImage(image_);
        image_ = nullptr;
        return false;
    }
    const auto bytes =
        static_cast<std::size_t>(image_->bytes_per_line) * static_cast<std::size_t>(height);
    segment_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    void* memory = segment_.shmid >= 0 ? shmat(segment_.shmid, nullptr, 0) : nullptr;
    if (memory == nullptr || memory == reinterpret_cast<void*>(-1)) {
        if (segment_.shmid >= 0) {
            shmctl(segment_.shmid, IPC_RMID, nullptr);
        }
        XDestroyImage(image_);
        image_ = nullptr;
        return false;
    }
    segment_.shmaddr = image_->data = static_cast<char*>(memory);
    segment_.readOnly = False;
    // A server on another machine cannot attach the segment; then the plain image serves.
    static_cast<void>(RequestsFailed(display_));
    XShmAttach(display_, &segment_);
    const bool attached = !RequestsFailed(display_);
    // Marked for removal now, so that it goes away with the last process that uses it.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (!attached) {
        shmdt(segment_.shmaddr);
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
        return false;
    }
    shared_ = true;
    return true;
}

bool XPresenter::MakePlainImage(int width, int height) {
    const auto bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    auto* memory = static_cast<char*>(std::calloc(bytes, 1));
    if (memory == nullptr) {
        return false;
    }
    image_ =
        XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, memory,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), 32, width * 4);
    if (image_ == nullptr) {
        std::free(memory);
        return false;
    }
    // Xlib converts to the server's byte order on the way if it differs.
    image_->byte_order = LSBFirst;
    image_->bitmap_bit_order = LSBFirst;
    if (image_->bits_per_pixel != 32) {
        XDestroyImage(image_);  // Frees the memory too.
        image_ = nullptr;
        return false;
    }
    return true;
}

void XPresenter::Release() {
    if (image_ == nullptr) {
        return;
    }
    if (shared_) {
        XShmDetach(display_, &segment_);
        XSync(display_, False);
        shmdt(segment_.shmaddr);
        image_->data = nullptr;
        shared_ = false;
    }
    XDestroyImage(image_);
    image_ = nullptr;
}
