// The configuration window: its thread, its controls built from the layout
// table, and the messages that hand each change to the panel's thread, which
// carries it out with the window's logic and answers. The window itself
// changes nothing but its own controls, and never waits for the panel: that
// thread may be in a click's wait, or waiting for windows to close.
// It never takes the focus: the keyboard may be the user's switch.
#include "platform/win32/gdi.h"
#include "platform/win32/win32_platform.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <climits>
#include <string>
#include <utility>

#include "app/panel.h"
#include "config_window/config_state.h"
#include "config_window/config_window.h"
#include "config_window/layout.h"
#include "config_window/links.h"
#include "config_window/options_texts.h"
#include "platform/scale.h"
#include "pointer/click.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "settings/settings.h"

namespace sp {

namespace {

constexpr wchar_t CONFIG_CLASS[] = L"CONFIGURACI\u00D3N";
constexpr int TOGGLE_ICON_SIZE = 20;
constexpr int LINK_COUNT = ID_LAST_LINK - ID_FIRST_LINK + 1;

// A slider dragged sends a position per pixel, and each one applied costs the
// panel's thread a pause: only the latest position waits, in one request.
constexpr int NO_POSITION = INT_MIN;
std::atomic<int> g_sliderPosition[3] = {{NO_POSITION}, {NO_POSITION}, {NO_POSITION}};

std::atomic<int>* pendingPosition(ConfigRequest request) {
    switch (request) {
    case ConfigRequest::Speed: return &g_sliderPosition[0];
    case ConfigRequest::Period: return &g_sliderPosition[1];
    case ConfigRequest::Opacity: return &g_sliderPosition[2];
    default: return nullptr;
    }
}

bool request(ConfigRequest what, int value = 0) {
    return requestFromOwnWindow(OwnWindow::Settings, static_cast<int>(what), value);
}

void requestPosition(ConfigRequest what, int position) {
    std::atomic<int>* pending = pendingPosition(what);
    if (pending->exchange(position) != NO_POSITION) return;
    if (!request(what)) pending->store(NO_POSITION);
}

// Owned by the window and touched only on its thread; made for the DPI the
// window is drawn at, and made again when that changes.
constexpr int MAX_PICTURES = 24;
struct WindowResources {
    Font bold;
    Font light;
    Font underlined;
    Brush white;
    OwnedIcon on;
    OwnedIcon off;
    OwnedIcon icons[MAX_PICTURES];
    int iconCount = 0;
    Bitmap bitmaps[MAX_PICTURES];
    int bitmapCount = 0;
};
WindowResources g_res;

std::wstring fromUtf8(const char* text) { return widen(text, CP_UTF8); }

// The system's default face height (a font asked for at height 0) in
// pixels at 96 DPI, where the window has always used that default.
int defaultFontEm() {
    const WindowDc screen(nullptr);
    const Font probe(CreateFontW(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_ROMAN | DEFAULT_PITCH,
                                 L"Times New Roman"));
    TEXTMETRICW tm{};
    const Selected measuring(screen.get(), probe.get());
    const bool measured = GetTextMetricsW(screen.get(), &tm) != FALSE;
    return measured && tm.tmHeight > tm.tmInternalLeading ? tm.tmHeight - tm.tmInternalLeading : 16;
}

HFONT makeFont(int weight, bool underline, int dpi) {
    const int height = dpi == BASE_DPI ? 0 : -scaleToDpi(defaultFontEm(), dpi);
    return CreateFontW(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_ROMAN | DEFAULT_PITCH,
                       L"Times New Roman");
}

HFONT fontFor(ControlFont font) {
    switch (font) {
    case ControlFont::Bold: return g_res.bold.get();
    case ControlFont::Light: return g_res.light.get();
    case ControlFont::Underlined: return g_res.underlined.get();
    case ControlFont::None: break;
    }
    return nullptr;
}

struct KindClass {
    const wchar_t* className;
    DWORD style;
};

KindClass classFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::Group: return {L"BUTTON", WS_GROUP | BS_GROUPBOX};
    case ControlKind::Icon: return {L"STATIC", WS_TABSTOP | SS_ICON | SS_CENTERIMAGE};
    case ControlKind::Label: return {L"STATIC", SS_CENTER | SS_CENTERIMAGE};
    case ControlKind::Text: return {L"STATIC", SS_LEFT};
    case ControlKind::Picture: return {L"STATIC", WS_TABSTOP | SS_BITMAP | SS_CENTERIMAGE};
    case ControlKind::Link: return {L"STATIC", WS_TABSTOP | SS_BITMAP | SS_NOTIFY | SS_CENTERIMAGE};
    case ControlKind::Toggle:
        return {L"BUTTON", BS_AUTOCHECKBOX | BS_ICON | BS_CENTER | BS_PUSHLIKE | BS_FLAT};
    case ControlKind::Slider: return {TRACKBAR_CLASSW, TBS_AUTOTICKS | TBS_HORZ};
    case ControlKind::Swatch: return {L"BUTTON", WS_BORDER | BS_OWNERDRAW};
    case ControlKind::Push: return {L"BUTTON", WS_BORDER | BS_PUSHBUTTON | BS_CENTER};
    // Wraps onto a second line where one is too narrow.
    case ControlKind::Notice: return {L"STATIC", SS_CENTER};
    }
    return {L"STATIC", 0};
}

// Shown state of each toggle, by control id.
int shownState(int id) {
    const ConfigState& c = configState();
    if (id >= ID_FIRST_CLICK_TOGGLE && id < ID_FIRST_CLICK_TOGGLE + CLICK_KIND_COUNT)
        return c.clickChecks[id - ID_FIRST_CLICK_TOGGLE];
    switch (id) {
    case ID_MOUSE_TOGGLE: return c.deviceCheck;
    case ID_KEYBOARD_TOGGLE: return c.deviceCheck == 1 ? 0 : 1;
    case ID_SOUND_TOGGLE: return c.soundCheck;
    case ID_HELP_TOGGLE: return c.helpCheck;
    default: return 0;
    }
}

// Icon and pressed look from the shown state, so a click the rules refuse
// leaves the toggle looking as it did.
void showToggles(HWND window) {
    for (int i = 0; i < CONFIG_CONTROL_COUNT; ++i) {
        const ControlRow& row = CONFIG_CONTROLS[i];
        if (row.kind != ControlKind::Toggle) continue;
        HWND toggle = GetDlgItem(window, row.id);
        const bool on = shownState(row.id) == 1;
        SendMessageW(toggle, BM_SETIMAGE, IMAGE_ICON,
                     reinterpret_cast<LPARAM>(on ? g_res.on.get() : g_res.off.get()));
        SendMessageW(toggle, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void setUpSlider(HWND slider, int id) {
    if (id == ID_OPACITY_SLIDER) {
        SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(OPACITY_MIN, OPACITY_MAX));
        SendMessageW(slider, TBM_SETPAGESIZE, 0, 24);
        SendMessageW(slider, TBM_SETTICFREQ, 24, 0);
        return;
    }
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 99));
    SendMessageW(slider, TBM_SETPAGESIZE, 0, 33);
    SendMessageW(slider, TBM_SETTICFREQ, 33, 0);
}

void setSlider(HWND window, int id, int position) {
    HWND slider = GetDlgItem(window, id);
    if (SendMessageW(slider, TBM_GETPOS, 0, 0) != position) SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

// Everything the window shows of the settings, as the panel's thread has
// left them. The opacity slider keeps where the user has it: its value is
// in force as it is, or a request to make it so is on its way.
void showState(HWND window, bool opening) {
    const int opacity = settings().opacity;
    showToggles(window);
    setSlider(window, ID_SPEED_SLIDER, sliderFromSpeed());
    setSlider(window, ID_PERIOD_SLIDER, sliderFromPeriod());
    if (opening) setSlider(window, ID_OPACITY_SLIDER, opacity);
    SetWindowTextW(GetDlgItem(window, ID_PERCENT), fromUtf8(opacityLabel(opacity).c_str()).c_str());
    InvalidateRect(GetDlgItem(window, ID_SWATCH), nullptr, TRUE);
}

LRESULT CALLBACK handCursorProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto saved = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(link, GWLP_USERDATA));
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return CallWindowProcW(saved, link, message, wParam, lParam);
}

// A picture at its own size times the scale: stretched, as the bitmaps
// come in one size only.
HBITMAP loadPicture(HINSTANCE instance, const char* name, int dpi) {
    HBITMAP bitmap = LoadBitmapA(instance, name);
    BITMAP info{};
    if (!bitmap || dpi == BASE_DPI || !GetObjectW(bitmap, sizeof info, &info)) return bitmap;
    HANDLE scaled = CopyImage(bitmap, IMAGE_BITMAP, scaleToDpi(info.bmWidth, dpi),
                              scaleToDpi(info.bmHeight, dpi), LR_COPYDELETEORG);
    return scaled ? static_cast<HBITMAP>(scaled) : bitmap;
}

// Fonts, marks and pictures for `dpi` into every control; those made for
// the DPI before are released once no control shows them.
void dressControls(HWND window, HINSTANCE instance, int dpi) {
    const WindowResources before = std::move(g_res);
    g_res = WindowResources{};
    g_res.bold.reset(makeFont(FW_BOLD, false, dpi));
    g_res.light.reset(makeFont(FW_LIGHT, false, dpi));
    g_res.underlined.reset(makeFont(FW_LIGHT, true, dpi));
    g_res.white.reset(CreateSolidBrush(RGB(255, 255, 255)));
    // The toggles are 25 pixels square: their marks are drawn to fit.
    const int mark = scaleToDpi(TOGGLE_ICON_SIZE, dpi);
    g_res.on.reset(static_cast<HICON>(LoadImageW(instance, L"ICO_OK", IMAGE_ICON, mark, mark, 0)));
    g_res.off.reset(static_cast<HICON>(LoadImageW(instance, L"ICO_FALSE", IMAGE_ICON, mark, mark, 0)));
    const int iconSize = scaleToDpi(CELL_ICON_SIZE, dpi);

    for (int i = 0; i < CONFIG_CONTROL_COUNT; ++i) {
        const ControlRow& row = CONFIG_CONTROLS[i];
        HWND control = GetDlgItem(window, row.id);
        if (!control) continue;
        if (HFONT font = fontFor(row.font))
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        switch (row.kind) {
        case ControlKind::Icon: {
            HICON icon =
                static_cast<HICON>(LoadImageA(instance, row.picture, IMAGE_ICON, iconSize, iconSize, 0));
            if (icon && g_res.iconCount < MAX_PICTURES) g_res.icons[g_res.iconCount++].reset(icon);
            SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            break;
        }
        case ControlKind::Picture:
        case ControlKind::Link: {
            HBITMAP bitmap = loadPicture(instance, controlPicture(row, configWindowLanguage()), dpi);
            if (bitmap && g_res.bitmapCount < MAX_PICTURES) g_res.bitmaps[g_res.bitmapCount++].reset(bitmap);
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
            break;
        }
        default: break;
        }
    }
    showToggles(window);
}

// In the banner's place.
void showNotice(HWND window, const char* key) {
    ShowWindow(GetDlgItem(window, ID_BANNER), SW_HIDE);
    HWND notice = GetDlgItem(window, ID_NOTICE);
    SetWindowTextW(notice, fromUtf8(optionsText(key, configWindowLanguage(), key).c_str()).c_str());
    ShowWindow(notice, SW_SHOWNA);
}

void createControls(HWND window, HINSTANCE instance) {
    const int dpi = windowDpi(window);
    const TextLanguage language = configWindowLanguage();
    for (int i = 0; i < CONFIG_CONTROL_COUNT; ++i) {
        const ControlRow& row = CONFIG_CONTROLS[i];
        const KindClass kc = classFor(row.kind);
        const DWORD visible = row.kind == ControlKind::Notice ? 0 : WS_VISIBLE;
        const Rect r = controlRect(row, dpi);
        HWND control =
            CreateWindowExW(0, kc.className, fromUtf8(controlText(row, language).c_str()).c_str(),
                            WS_CHILD | visible | kc.style, r.left, r.top, r.width, r.height, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (!control) continue;
        if (row.kind == ControlKind::Link) {
            const LONG_PTR saved =
                SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(handCursorProc));
            SetWindowLongPtrW(control, GWLP_USERDATA, saved);
        }
        if (row.kind == ControlKind::Slider) setUpSlider(control, row.id);
    }
    dressControls(window, instance, dpi);
    showState(window, true);
    if (settingsFileHeld()) showNotice(window, "config.file_in_use");
}

// Onto a monitor of another scale: the suggested rectangle, every control
// where the table puts it at the new DPI, and their looks made anew.
void onDpiChanged(HWND window, int dpi, const RECT& suggested) {
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < CONFIG_CONTROL_COUNT; ++i) {
        const ControlRow& row = CONFIG_CONTROLS[i];
        const Rect r = controlRect(row, dpi);
        if (HWND control = GetDlgItem(window, row.id))
            SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    dressControls(window, handles().instance, dpi);
    InvalidateRect(window, nullptr, TRUE);
}

void restoreLinkProcedures(HWND window) {
    for (int id = ID_FIRST_LINK; id <= ID_LAST_LINK; ++id) {
        HWND link = GetDlgItem(window, id);
        const LONG_PTR saved = link ? GetWindowLongPtrW(link, GWLP_USERDATA) : 0;
        if (saved) SetWindowLongPtrW(link, GWLP_WNDPROC, saved);
    }
}

void chooseColour(HWND window) {
    const ConfigState& c = configState();
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i) custom[i] = c.customColours[i];
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = window;
    cc.rgbResult = c.lastChosenColour;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    request(ConfigRequest::ColourDialogOpening);
    const bool chosen = ChooseColorW(&cc) != FALSE;
    for (int i = 0; i < 16; ++i) keepCustomColour(i, custom[i]);
    if (chosen)
        request(ConfigRequest::ColourChosen, static_cast<int>(cc.rgbResult & 0xFFFFFF));
    else
        request(ConfigRequest::ColourKept);
}

// A toggle clicked shows its shown state again at once (the button flips
// itself), until the answer shows what the rules made of it.
void onCommand(HWND window, int id) {
    if (id >= ID_FIRST_CLICK_TOGGLE && id < ID_FIRST_CLICK_TOGGLE + CLICK_KIND_COUNT) {
        request(ConfigRequest::ClickKind, id - ID_FIRST_CLICK_TOGGLE);
        showToggles(window);
        return;
    }
    if (const char* page = linkPageFor(id)) {
        // Closed first, without saving, so the page is not opened behind it.
        ShowWindow(window, SW_HIDE);
        SendMessageW(window, WM_CLOSE, 0, 0);
        ShellExecuteW(nullptr, L"open", pageBesideExe(page).c_str(), nullptr, nullptr, SW_SHOW);
        return;
    }
    switch (id) {
    case ID_ACCEPT: request(ConfigRequest::Accept); return;
    case ID_CANCEL: SendMessageW(window, WM_CLOSE, 0, 0); return;
    case ID_SWATCH: chooseColour(window); return;
    case ID_MOUSE_TOGGLE: request(ConfigRequest::Device, 1); break;
    case ID_KEYBOARD_TOGGLE: request(ConfigRequest::Device, 0); break;
    case ID_SOUND_TOGGLE: request(ConfigRequest::Sound); break;
    case ID_HELP_TOGGLE: request(ConfigRequest::HelpBox); break;
    default: return;
    }
    showToggles(window);
}

void onSlider(HWND slider) {
    const int position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    switch (GetDlgCtrlID(slider)) {
    case ID_SPEED_SLIDER: requestPosition(ConfigRequest::Speed, position); break;
    case ID_PERIOD_SLIDER: requestPosition(ConfigRequest::Period, position); break;
    case ID_OPACITY_SLIDER: requestPosition(ConfigRequest::Opacity, position); break;
    default: break;
    }
}

void onAnswer(HWND window, WindowAnswer answer) {
    switch (answer) {
    case WindowAnswer::ShowState: showState(window, false); break;
    case WindowAnswer::ReadOnly:
    case WindowAnswer::SaveFailed:
        // Not saved: the window stays, the choices stay, and it says so.
        showNotice(window, settingsFileHeld() ? "config.file_in_use" : "config.save_failed");
        break;
    case WindowAnswer::CloseNow: DestroyWindow(window); break;
    }
}

void paintSwatch(const DRAWITEMSTRUCT& item) {
    const Brush brush(CreateSolidBrush(static_cast<COLORREF>(settings().lineColour) & 0xFFFFFF));
    FillRect(item.hDC, &item.rcItem, brush.get());
}

Rect placeWindow() {
    Platform& p = win32Platform();
    const Size screen = p.screenSize();
    return configWindowRect(screen, p.dpiAt({screen.width / 2, screen.height / 2}));
}

// The panel's side of a request: a slider's latest position is read here.
void onRequest(int request, int value) {
    const auto what = static_cast<ConfigRequest>(request);
    if (std::atomic<int>* pending = pendingPosition(what)) {
        value = pending->exchange(NO_POSITION);
        if (value == NO_POSITION) return;
    }
    onConfigRequest(win32Platform(), what, value);
}

LRESULT CALLBACK configWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace

// A window's timer can only be set by its own thread.
void setConfigWindowTimer(int periodMs) {
    HWND window = ownWindowHandle(OwnWindow::Settings);
    if (window) PostMessageW(window, WM_CONFIG_SET_TIMER, static_cast<WPARAM>(periodMs), 0);
}

const OwnWindowKind SettingsWindow{
    OwnWindow::Settings,
    CONFIG_CLASS,
    L"CON",
    [] { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); },
    WS_CAPTION | WS_SYSMENU,
    WS_EX_NOACTIVATE | WS_EX_TOPMOST,
    placeWindow,
    [] { return fromUtf8(configTitle(configWindowLanguage()).c_str()); },
    [](HWND window) { SetTimer(window, TIMER_CONFIG, CONFIG_TIMER_PERIOD_MS, nullptr); },
    configWindowProc,
    onAnswer,
    [] { g_res = WindowResources{}; },
    onRequest,
    static_cast<int>(ConfigRequest::Close),
    static_cast<int>(ConfigRequest::Gone),
};

namespace {

LRESULT CALLBACK configWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance);
        return 0;
    case WM_PAINT: {
        const PaintDc paint(window);
        return 0;
    }
    case WM_CTLCOLORSTATIC: return reinterpret_cast<LRESULT>(g_res.white.get());
    case WM_CTLCOLORBTN:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == ID_SWATCH)
            return reinterpret_cast<LRESULT>(g_res.white.get());
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == ID_SWATCH) paintSwatch(*item);
        return TRUE;
    }
    case WM_DPICHANGED:
        onDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND: onCommand(window, LOWORD(wParam)); return 0;
    case WM_HSCROLL: onSlider(reinterpret_cast<HWND>(lParam)); return 0;
    case WM_TIMER:
        if (wParam == TIMER_CONFIG) {
            // One run per start; stopped first so a restart during the run
            // is not lost. The crosshair is rebuilt on the panel's thread
            // only: two threads rebuilding it at once (this tick and a press)
            // froze both under Wine, the panel and the switch with them.
            KillTimer(window, TIMER_CONFIG);
            request(ConfigRequest::TimerTick);
        }
        return 0;
    case WM_CONFIG_SET_TIMER: SetTimer(window, TIMER_CONFIG, static_cast<UINT>(wParam), nullptr); return 0;
    case WM_DESTROY:
        restoreLinkProcedures(window);
        request(ConfigRequest::Destroyed);
        return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

} // namespace sp
