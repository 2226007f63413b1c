// The help box window: one thread and one message loop per box, like an arm.
#include "overlay/crosshair.h"
#include "overlay/help_box.h"
#include "platform/win32/win32_platform.h"
#include "pointer/monitors.h"

namespace sp {

namespace {

// Loaded once at the box's own size, so the icon is drawn sharp rather than
// stretched from the panel's size. Shared images are never freed.
HICON helpBoxIconHandle(Icon icon) {
    HICON loaded = static_cast<HICON>(LoadImageA(handles().instance, iconResourceName(icon), IMAGE_ICON,
                                                 HELP_BOX_ICON_SIZE, HELP_BOX_ICON_SIZE, LR_SHARED));
    return loaded ? loaded : iconHandle(icon);
}

} // namespace

HBRUSH helpBoxBrush() {
    static HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    return brush;
}

LRESULT CALLBACK helpBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        Icon icon = Icon::Stop;
        if (currentHelpBoxIcon(icon))
            DrawIconEx(dc, HELP_BOX_ICON_AT, HELP_BOX_ICON_AT, helpBoxIconHandle(icon), HELP_BOX_ICON_SIZE,
                       HELP_BOX_ICON_SIZE, 0, nullptr, DI_NORMAL);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_CLOSE: closeOverlayWindow(window, HELP_BOX_SLOT); return 0;
    case WM_DESTROY: forgetOverlayWindow(window, HELP_BOX_SLOT); return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

namespace {
HWND makeHelpBoxWindow(LPVOID) {
    POINT pt{0, 0};
    GetCursorPos(&pt);
    const Point at =
        placeHelpBox({pt.x, pt.y}, monitorHolding(win32Platform().monitorLayout(), {pt.x, pt.y}));
    // Not layered: the box is fully opaque.
    return CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST, L"AYUDA", L"AYUDA", WS_POPUP | WS_BORDER, at.x,
                           at.y, HELP_BOX_SIZE, HELP_BOX_SIZE, nullptr, nullptr, handles().instance, nullptr);
}
} // namespace

DWORD WINAPI helpBoxThreadProc(LPVOID param) {
    runOverlayWindow(makeHelpBoxWindow, param);
    return 0;
}

} // namespace sp
