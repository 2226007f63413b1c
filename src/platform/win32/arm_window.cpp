// Crosshair arm windows: one thread and one message loop per arm. The point
// scan's band and line are windows of the same kind, in slots after the arms.
#include "overlay/crosshair.h"
#include "platform/scale.h"
#include "platform/win32/gdi.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings.h"

namespace sp {

namespace {

int slotOf(HWND window) {
    return overlaySlotOf(reinterpret_cast<LPVOID>(GetWindowLongPtrW(window, GWLP_USERDATA)));
}

bool isPointMarkSlot(int slot) { return slot == POINT_BAND_SLOT || slot == POINT_LINE_SLOT; }

void noteOverlayOpen(int slot, bool open) {
    if (slot == HELP_BOX_SLOT)
        noteHelpBoxOpen(open);
    else if (isPointMarkSlot(slot))
        notePointMarkOpen(static_cast<PointMark>(slot - POINT_BAND_SLOT), open);
    else
        noteArmOpen(static_cast<Arm>(slot), open);
}

// The band's inside is the colour key: only its two long edges show, as
// thick as the crosshair's arms on its monitor.
void paintBand(HWND window, HDC dc, const RECT& rect, HBRUSH brush) {
    FillRect(dc, &rect, brush);
    RECT outer;
    GetWindowRect(window, &outer);
    const int edge =
        scaleToDpi(ARM_THICKNESS,
                   win32Platform().dpiAt({(outer.left + outer.right) / 2, (outer.top + outer.bottom) / 2}));
    RECT inside = rect;
    if (rect.right - rect.left < rect.bottom - rect.top)
        InflateRect(&inside, -edge, 0);
    else
        InflateRect(&inside, 0, -edge);
    FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

constexpr int SLOT_BITS = 3;
static_assert(OVERLAY_SLOTS <= (1 << SLOT_BITS), "every slot fits in the thread parameter");

} // namespace

const wchar_t* armClassName(Arm arm) {
    switch (arm) {
    case Arm::Left: return L"ESQ";
    case Arm::Right: return L"DRETA";
    case Arm::Up: return L"AMUNT";
    case Arm::Down: return L"AVALL";
    }
    return L"ESQ";
}

LRESULT CALLBACK armWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        break;
    }
    case WM_CREATE:
        // Black is the colour key; every other pixel is drawn with the opacity.
        SetLayeredWindowAttributes(window, RGB(0, 0, 0), static_cast<BYTE>(live().liveOpacity & 0xFF),
                                   LWA_COLORKEY | LWA_ALPHA);
        return 0;
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(window, &rect);
        const Brush brush(CreateSolidBrush(handles().lineColour.load()));
        if (slotOf(window) == POINT_BAND_SLOT)
            paintBand(window, reinterpret_cast<HDC>(wParam), rect, brush.get());
        else
            FillRect(reinterpret_cast<HDC>(wParam), &rect, brush.get());
        return 1;
    }
    case WM_PAINT: {
        const PaintDc paint(window);
        return 0;
    }
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_CLOSE: closeOverlayWindow(window, slotOf(window)); return 0;
    case WM_DESTROY: forgetOverlayWindow(window, slotOf(window)); return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

namespace {
HWND makeArmWindow(LPVOID param) {
    const Arm arm = static_cast<Arm>(overlaySlotOf(param));
    POINT pt{0, 0};
    GetCursorPos(&pt);
    Platform& p = win32Platform();
    const Rect r = armRect(arm, {pt.x, pt.y}, p.monitorLayout(), p.dpiAt({pt.x, pt.y}));
    return CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOPMOST, armClassName(arm),
                           armClassName(arm), WS_POPUP, r.left, r.top, r.width, r.height, nullptr, nullptr,
                           handles().instance, param);
}

// One crosshair window is made and shown at a time. Made at once on five
// threads beside the open settings window, they could all freeze inside
// CreateWindowEx and ShowWindow under Wine, and the crosshair with them.
SRWLOCK g_making = SRWLOCK_INIT;

// Takes its slot and is shown; false when it has already gone.
bool showOverlayWindow(HWND window, LPVOID param) {
    const int slot = overlaySlotOf(param);
    const auto ticket = static_cast<unsigned>(reinterpret_cast<INT_PTR>(param) >> SLOT_BITS);
    // An older window that a close did not reach goes now, so nothing is
    // ever left behind on screen.
    HWND older = overlayWindow(slot).exchange(window);
    if (older && older != window) PostMessageW(older, WM_CLOSE, 0, 0);
    // Closed while it was being made: it never shows.
    if (static_cast<int>(handles().overlayClosedThrough[slot] - ticket) >= 0) {
        DestroyWindow(window);
        return false;
    }
    // Shown without activation: the crosshair must never take the focus
    // from the program the user is working in.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    noteOverlayOpen(slot, true);
    return true;
}
} // namespace

DWORD WINAPI armThreadProc(LPVOID param) {
    runOverlayWindow(makeArmWindow, param);
    return 0;
}

const wchar_t* pointMarkClassName(PointMark mark) {
    return mark == PointMark::Band ? L"SWITCHPOINT_BAND" : L"SWITCHPOINT_LINE";
}

namespace {
// Where each mark was last put, for its window still being made.
SRWLOCK g_markLock = SRWLOCK_INIT;
Rect g_markRect[POINT_MARK_COUNT];

HWND makePointMarkWindow(LPVOID param) {
    const int slot = overlaySlotOf(param);
    AcquireSRWLockShared(&g_markLock);
    const Rect r = g_markRect[slot - POINT_BAND_SLOT];
    ReleaseSRWLockShared(&g_markLock);
    const wchar_t* name = pointMarkClassName(static_cast<PointMark>(slot - POINT_BAND_SLOT));
    // Input goes through it, and it stays off the taskbar.
    return CreateWindowExW(
        WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW, name, name,
        WS_POPUP, r.left, r.top, r.width, r.height, nullptr, nullptr, handles().instance, param);
}
} // namespace

DWORD WINAPI pointMarkThreadProc(LPVOID param) {
    runOverlayWindow(makePointMarkWindow, param);
    return 0;
}

void putPointMark(PointMark mark, const Rect& r) {
    const int slot = POINT_BAND_SLOT + static_cast<int>(mark);
    AcquireSRWLockExclusive(&g_markLock);
    g_markRect[static_cast<int>(mark)] = r;
    ReleaseSRWLockExclusive(&g_markLock);
    // A window still being made takes the place from the store; one that
    // took it just before is put right by the next tick.
    HWND window = overlayWindow(slot).load();
    if (window)
        SetWindowPos(window, nullptr, r.left, r.top, r.width, r.height,
                     SWP_ASYNCWINDOWPOS | SWP_NOZORDER | SWP_NOACTIVATE);
    else if (handles().overlayStarted[slot] == handles().overlayClosedThrough[slot])
        startOverlayThread(slot, pointMarkThreadProc);
}

std::atomic<HWND>& overlayWindow(int slot) {
    if (slot == HELP_BOX_SLOT) return handles().helpBoxWindow;
    if (isPointMarkSlot(slot)) return handles().pointMarkWindow[slot - POINT_BAND_SLOT];
    return handles().armWindow[slot];
}

int overlaySlotOf(LPVOID param) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(param) & ((1 << SLOT_BITS) - 1));
}

void startOverlayThread(int slot, LPTHREAD_START_ROUTINE proc) {
    const unsigned ticket = ++handles().overlayStarted[slot];
    const INT_PTR packed = (static_cast<INT_PTR>(ticket) << SLOT_BITS) | slot;
    HANDLE thread = CreateThread(nullptr, 0, proc, reinterpret_cast<LPVOID>(packed), 0, nullptr);
    if (thread) CloseHandle(thread);
}

void closeOverlay(int slot) {
    // First the tickets, then the handle: a window that takes the slot in
    // between sees its ticket closed and goes by itself.
    handles().overlayClosedThrough[slot] = handles().overlayStarted[slot].load();
    HWND window = overlayWindow(slot).load();
    if (window) SendMessageW(window, WM_CLOSE, 0, 0);
}

void runOverlayWindow(OverlayMaker make, LPVOID param) {
    AcquireSRWLockExclusive(&g_making);
    HWND window = make(param);
    // Without a window nothing would ever end this thread's loop: end now.
    const bool shown = window && showOverlayWindow(window, param);
    ReleaseSRWLockExclusive(&g_making);
    if (!shown) return;

    runMessageLoop();
}

void closeOverlayWindow(HWND window, int slot) {
    // A newer window may already own the slot and the flag.
    if (overlayWindow(slot).load() == window) noteOverlayOpen(slot, false);
    DestroyWindow(window);
}

void forgetOverlayWindow(HWND window, int slot) {
    // Forget the handle so nothing is ever sent to a window that reuses it.
    HWND expected = window;
    overlayWindow(slot).compare_exchange_strong(expected, nullptr);
    PostQuitMessage(0);
}

} // namespace sp
