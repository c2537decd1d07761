#include "screen_capture.h"

namespace e2e {

namespace {

// Screen and memory DCs with their bitmap, released in the right order.
class CaptureSurface {
public:
    CaptureSurface(int width, int height) : width_(width), height_(height) {
        screen_ = GetDC(nullptr);
        if (!screen_) return;
        memory_ = CreateCompatibleDC(screen_);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (memory_ && bitmap_) previous_ = SelectObject(memory_, bitmap_);
    }
    ~CaptureSurface() {
        if (previous_) SelectObject(memory_, previous_);
        if (bitmap_) DeleteObject(bitmap_);
        if (memory_) DeleteDC(memory_);
        if (screen_) ReleaseDC(nullptr, screen_);
    }
    CaptureSurface(const CaptureSurface&) = delete;
    CaptureSurface& operator=(const CaptureSurface&) = delete;

    bool Copy(int left, int top) {
        if (!previous_ || !bits_) return false;
        if (!BitBlt(memory_, 0, 0, width_, height_, screen_, left, top, SRCCOPY)) return false;
        GdiFlush();
        return true;
    }
    const uint32_t* Pixels() const { return static_cast<const uint32_t*>(bits_); }

private:
    int width_;
    int height_;
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

}  // namespace

std::vector<uint32_t> CaptureScreenRect(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return {};
    CaptureSurface surface(width, height);
    if (!surface.Copy(area.left, area.top)) return {};
    std::vector<uint32_t> pixels(surface.Pixels(), surface.Pixels() + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
    return pixels;
}

}  // namespace e2e
