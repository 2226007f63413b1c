// Entry point: window classes, the control panel, settings, the switch hook,
// then the main message loop until the panel is closed.
#include "app/menu.h"
#include "app/panel.h"
#include "platform/win32/win32_platform.h"

#include <commctrl.h>

namespace {

using namespace sp;

bool registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HICON icon, HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

[[noreturn]] void quitQuietly() { ExitProcess(0); }

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!startAsOnlyCopy(win32Platform())) return 0;
    Win32Handles& h = handles();
    h.instance = instance;
    // The configuration window's sliders are common-controls trackbars.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    if (!registerClass(instance, L"QUIMBOLET", panelWindowProc, LoadIconW(instance, L"KIRO"),
                       reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_SCROLLBAR + 1))))
        quitQuietly();

    // Sized for the monitor at its place; it lays out its cells for the
    // DPI it is then drawn at.
    const SIZE size = panelWindowSize(win32Platform().dpiAt({0, 0}));
    h.panel = CreateWindowExW(WS_EX_TOPMOST, L"QUIMBOLET", L"Ready", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                              0, 0, size.cx, size.cy, nullptr, nullptr, instance, nullptr);
    UpdateWindow(h.panel);

    HICON winLogo = LoadIconW(nullptr, IDI_WINLOGO);
    for (Arm arm : ALL_ARMS)
        if (!registerClass(instance, armClassName(arm), armWindowProc, winLogo, nullptr)) quitQuietly();
    for (PointMark mark : {PointMark::Band, PointMark::Line})
        if (!registerClass(instance, pointMarkClassName(mark), armWindowProc, winLogo, nullptr))
            quitQuietly();
    // The help box's brush belongs to its class, made once: one per box would
    // leak a GDI object with every crosshair rebuild.
    if (!registerClass(instance, L"AYUDA", helpBoxWindowProc, winLogo, helpBoxBrush())) quitQuietly();
    // Registered with the others, though they open later, so start-up
    // fails early and whole.
    if (!registerOwnWindows(instance)) quitQuietly();

    // The menu's owner is never shown: it needs no icon or background.
    if (!registerClass(instance, L"SWITCHPOINT_MENU", menuWindowProc, nullptr, nullptr)) quitQuietly();

    for (int i = 0; i < ICON_COUNT; ++i)
        h.icons[i] = LoadIconA(instance, iconResourceName(static_cast<Icon>(i)));

    startHookThread();
    // Without it the program still works, only without its menu.
    startMenuThread();
    Platform& p = win32Platform();
    startUp(p);
    watchTheSystem(h.panel);

    UpdateWindow(h.panel);
    ShowWindow(h.panel, SW_SHOWNORMAL);
    armStartDelay(p);

    const int quitCode = runMessageLoop();
#ifdef SWITCHPOINT_BENCH
    writeHookTimes(L"hook_times.txt");
    writeClickTimes(L"click_times.txt");
#endif
    return quitCode;
}
