// Owners for what the windows draw with: each brush, font, bitmap, icon and
// device context is let go once, by the code that made it, on every way out.
#pragma once

#include "platform/win32/win32_platform.h"

namespace sp {

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

// One handle, freed when replaced or when its owner goes; moved, never copied.
template <typename Handle, typename Free = DeleteGdiObject> class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return handle_; }
    Handle release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(Handle handle = nullptr) {
        if (handle_) Free()(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using Brush = Owned<HBRUSH>;
using Font = Owned<HFONT>;
using Bitmap = Owned<HBITMAP>;
using OwnedIcon = Owned<HICON, DestroyIconHandle>;

// A window's device context (the screen's for no window) for one scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The paint of one WM_PAINT: begun here, ended when the scope ends, which
// also validates the window when nothing is drawn.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context for one scope; what was there
// before goes back in before the object itself can be deleted.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), was_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, was_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ was_;
};

// The sans-serif face of the program's newer windows, `pixels` high.
inline HFONT makeSansFont(int pixels, int weight) {
    return CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

} // namespace sp
