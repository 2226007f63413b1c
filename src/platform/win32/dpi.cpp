// The monitors' scales, and the icons drawn at them. The calls that tell a
// monitor's or a window's DPI came with later Windows versions: they are
// looked up at run time, so the exe still starts where they are missing.
#include "platform/scale.h"
#include "platform/win32/gdi.h"
#include "platform/win32/win32_platform.h"
#include "scan/cells.h"

namespace sp {

namespace {

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
constexpr int MONITOR_EFFECTIVE_DPI = 0;

template <typename Fn> Fn lookUp(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // A cast from FARPROC is the one way to a typed pointer to the call.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HMODULE user32() {
    static const HMODULE module = GetModuleHandleW(L"user32.dll");
    return module;
}

GetDpiForMonitorFn getDpiForMonitor() {
    // From the system folder only: a shcore.dll beside the exe is never loaded.
    static const GetDpiForMonitorFn fn = lookUp<GetDpiForMonitorFn>(
        LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor");
    return fn;
}

// The one DPI of every monitor, as systems before per-monitor scaling have it.
int systemDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : BASE_DPI;
}

int monitorDpi(HMONITOR monitor) {
    const GetDpiForMonitorFn fn = getDpiForMonitor();
    UINT x = 0;
    UINT y = 0;
    if (fn && monitor && SUCCEEDED(fn(monitor, MONITOR_EFFECTIVE_DPI, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return systemDpi();
}

// Icons at the sizes asked for so far, each set loaded one icon at a time as
// it is first drawn. Any thread may ask: a slot is claimed for a size once,
// and an icon two threads loaded at once is kept once.
constexpr int ICON_SIZE_SLOTS = 8;
struct IconSlot {
    std::atomic<int> pixels{0};
    std::atomic<HICON> icons[ICON_COUNT] = {};
};
IconSlot g_iconSlots[ICON_SIZE_SLOTS];

HICON loadIntoSlot(IconSlot& slot, Icon icon, int pixels) {
    std::atomic<HICON>& kept = slot.icons[static_cast<int>(icon)];
    if (HICON have = kept.load()) return have;
    HICON loaded = static_cast<HICON>(
        LoadImageA(handles().instance, iconResourceName(icon), IMAGE_ICON, pixels, pixels, 0));
    if (!loaded) return iconHandle(icon);
    HICON expected = nullptr;
    if (kept.compare_exchange_strong(expected, loaded)) return loaded;
    DestroyIcon(loaded);
    return expected;
}

} // namespace

int Win32Platform::dpiAt(Point point) {
    return monitorDpi(MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONEAREST));
}

int windowDpi(HWND window) {
    static const GetDpiForWindowFn fn = lookUp<GetDpiForWindowFn>(user32(), "GetDpiForWindow");
    const UINT dpi = fn && window ? fn(window) : 0;
    if (dpi > 0) return static_cast<int>(dpi);
    return monitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int systemMetricAt(int index, int dpi) {
    static const GetSystemMetricsForDpiFn fn =
        lookUp<GetSystemMetricsForDpiFn>(user32(), "GetSystemMetricsForDpi");
    if (fn && dpi > 0) return fn(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

HICON iconAtSize(Icon icon, int pixels) {
    for (IconSlot& slot : g_iconSlots) {
        int size = 0;
        if (slot.pixels.compare_exchange_strong(size, pixels) || size == pixels)
            return loadIntoSlot(slot, icon, pixels);
    }
    // Every slot holds another size: the default one, drawn scaled.
    return iconHandle(icon);
}

void fillWithIcon(HDC dc, const RECT& rect, Colour colour, Icon icon, int dpi) {
    const Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
    const int at = scaleToDpi(CELL_ICON_AT, dpi);
    const int size = scaleToDpi(CELL_ICON_SIZE, dpi);
    DrawIconEx(dc, at, at, iconAtSize(icon, size), size, size, 0, nullptr, DI_NORMAL);
}

} // namespace sp
