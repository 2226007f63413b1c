// The help box window: one thread and one message loop per box, like an arm.
#include "overlay/crosshair.h"
#include "overlay/help_box.h"
#include "platform/monitors.h"
#include "platform/scale.h"
#include "platform/win32/gdi.h"
#include "platform/win32/win32_platform.h"

namespace sp {

HBRUSH helpBoxBrush() {
    static HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    return brush;
}

LRESULT CALLBACK helpBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        const PaintDc paint(window);
        HDC dc = paint.get();
        Icon icon = Icon::Stop;
        if (currentHelpBoxIcon(icon)) {
            // Loaded at the box's own size, so the icon is drawn sharp rather
            // than stretched from the panel's size.
            const int dpi = windowDpi(window);
            const int at = scaleToDpi(HELP_BOX_ICON_AT, dpi);
            const int size = scaleToDpi(HELP_BOX_ICON_SIZE, dpi);
            DrawIconEx(dc, at, at, iconAtSize(icon, size), size, size, 0, nullptr, DI_NORMAL);
        }
        return 0;
    }
    case WM_DPICHANGED: {
        // Where it is, at the size for the monitor it went onto.
        const int size = scaleToDpi(HELP_BOX_SIZE, LOWORD(wParam));
        SetWindowPos(window, nullptr, 0, 0, size, size, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(window, nullptr, TRUE);
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
    Platform& p = win32Platform();
    const Point pointer{pt.x, pt.y};
    const int dpi = p.dpiAt(pointer);
    const Point at = placeHelpBox(pointer, monitorHolding(p.monitorLayout(), pointer), dpi);
    const int size = scaleToDpi(HELP_BOX_SIZE, dpi);
    // Not layered: the box is fully opaque.
    return CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST, L"AYUDA", L"AYUDA", WS_POPUP | WS_BORDER, at.x,
                           at.y, size, size, nullptr, nullptr, handles().instance, nullptr);
}
} // namespace

DWORD WINAPI helpBoxThreadProc(LPVOID param) {
    runOverlayWindow(makeHelpBoxWindow, param);
    return 0;
}

} // namespace sp
