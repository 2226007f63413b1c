// The menu's thread: a hidden window that owns the notification-area icon,
// shows the program's menu and the exit question, and opens pages with the
// shell. Its modal loops never hold up the panel's thread, so the scan and
// the clicks go on while a menu is open. Everything it learns goes to the
// panel by PostMessage; it never sends to the panel.
#include "platform/win32/win32_platform.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace sp {

namespace {

constexpr wchar_t MENU_CLASS[] = L"SWITCHPOINT_MENU";
constexpr UINT TRAY_ICON_ID = 1;
constexpr int THREAD_WAIT_MS = 2000;

struct ShownEntry {
    int id;
    std::wstring text;
    bool enabled;
    bool separated;
};
struct MenuRequest {
    std::vector<ShownEntry> entries;
    MenuPlace place;
};
struct Question {
    std::wstring title;
    std::wstring text;
};

std::atomic<HWND> g_owner{nullptr};
// Panel's thread only.
HANDLE g_thread = nullptr;
HANDLE g_ready = nullptr;
UINT g_taskbarCreated = 0;

// The tooltip: written by the panel's thread, shown by the menu's; one
// update waits at a time.
SRWLOCK g_tipLock = SRWLOCK_INIT;
std::wstring g_tip = L"switchpoint";
std::atomic<int> g_tipPending{0};

// Menu's thread only: which modal loop is up, and whether the window is to
// go once it has ended.
bool g_inMenu = false;
bool g_inQuestion = false;
bool g_ending = false;

std::wstring currentTip() {
    AcquireSRWLockShared(&g_tipLock);
    std::wstring tip = g_tip;
    ReleaseSRWLockShared(&g_tipLock);
    return tip;
}

NOTIFYICONDATAW iconData(HWND owner) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = TRAY_ICON_ID;
    return data;
}

void addIcon(HWND owner) {
    NOTIFYICONDATAW data = iconData(owner);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_ICON;
    data.hIcon =
        static_cast<HICON>(LoadImageW(handles().instance, L"KIRO", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), 0));
    lstrcpynW(data.szTip, currentTip().c_str(), static_cast<int>(ARRAYSIZE(data.szTip)));
    Shell_NotifyIconW(NIM_ADD, &data);
    if (data.hIcon) DestroyIcon(data.hIcon);
}

void showTip(HWND owner) {
    g_tipPending = 0;
    NOTIFYICONDATAW data = iconData(owner);
    data.uFlags = NIF_TIP;
    lstrcpynW(data.szTip, currentTip().c_str(), static_cast<int>(ARRAYSIZE(data.szTip)));
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void removeIcon(HWND owner) {
    NOTIFYICONDATAW data = iconData(owner);
    Shell_NotifyIconW(NIM_DELETE, &data);
}

// A menu or question takes the foreground, as every menu must to be
// dismissed by a click elsewhere; the user's window gets it back after.
void giveForegroundBack(HWND owner, HWND before) {
    if (!before || before == owner || !IsWindow(before)) return;
    const HWND now = GetForegroundWindow();
    if (!now || now == owner || GetWindowThreadProcessId(now, nullptr) == GetCurrentThreadId())
        SetForegroundWindow(before);
}

void showMenu(HWND owner, const MenuRequest& request) {
    HMENU menu = CreatePopupMenu();
    if (!menu) {
        PostMessageW(handles().panel, WM_MENU_CHOSEN, 0, 0);
        return;
    }
    for (const ShownEntry& entry : request.entries) {
        if (entry.separated) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(entry.id), entry.text.c_str());
    }
    // Never over the panel: a scanned left click over the panel opens the
    // settings, so an item there could not be chosen.
    TPMPARAMS params{};
    params.cbSize = sizeof params;
    GetWindowRect(handles().panel, &params.rcExclude);
    POINT at{params.rcExclude.left, params.rcExclude.bottom};
    if (request.place == MenuPlace::Pointer) GetCursorPos(&at);
    const HWND before = GetForegroundWindow();
    SetForegroundWindow(owner);
    g_inMenu = true;
    const int chosen = static_cast<int>(TrackPopupMenuEx(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL,
        at.x, at.y, owner, &params));
    g_inMenu = false;
    // So the menu closes for good at once, also when it was dismissed.
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    giveForegroundBack(owner, before);
    PostMessageW(handles().panel, WM_MENU_CHOSEN, static_cast<WPARAM>(g_ending ? 0 : chosen), 0);
}

void ask(HWND owner, const Question& question) {
    const HWND before = GetForegroundWindow();
    g_inQuestion = true;
    const int answer =
        MessageBoxW(owner, question.text.c_str(), question.title.c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TOPMOST | MB_SETFOREGROUND);
    g_inQuestion = false;
    giveForegroundBack(owner, before);
    PostMessageW(handles().panel, WM_MENU_ANSWER, answer == IDYES && !g_ending ? 1 : 0, 0);
}

BOOL CALLBACK answerNo(HWND window, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") == 0) EndDialog(window, IDNO);
    return TRUE;
}

// The window goes once no modal loop of this thread still uses it.
void endWhenFree(HWND owner) {
    if (g_ending && !g_inMenu && !g_inQuestion) DestroyWindow(owner);
}

void startEnding(HWND owner) {
    g_ending = true;
    removeIcon(owner);
    if (g_inMenu) EndMenu();
    if (g_inQuestion) EnumThreadWindows(GetCurrentThreadId(), answerNo, 0);
    endWhenFree(owner);
}

template <class T> bool postOwned(UINT message, WPARAM wParam, T* request) {
    HWND owner = g_owner.load();
    if (owner && PostMessageW(owner, message, wParam, reinterpret_cast<LPARAM>(request))) return true;
    delete request;
    return false;
}

// Carries out a request and frees it; once the window is ending, the panel
// gets the answer "none" at once instead.
template <class Request>
void serve(HWND window, LPARAM lParam, UINT answer, void (*carryOut)(HWND, const Request&)) {
    const Request* request = reinterpret_cast<Request*>(lParam);
    if (g_ending)
        PostMessageW(handles().panel, answer, 0, 0);
    else
        carryOut(window, *request);
    delete request;
    endWhenFree(window);
}

DWORD WINAPI menuThreadProc(LPVOID) {
    HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, MENU_CLASS, L"switchpoint", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, handles().instance, nullptr);
    if (owner) {
        g_owner = owner;
        addIcon(owner);
    }
    SetEvent(g_ready);
    if (!owner) return 0;
    runMessageLoop();
    return 0;
}

} // namespace

bool startMenuThread() {
    g_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    g_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_ready) return false;
    g_thread = CreateThread(nullptr, 0, menuThreadProc, nullptr, 0, nullptr);
    if (g_thread) WaitForSingleObject(g_ready, THREAD_WAIT_MS);
    CloseHandle(g_ready);
    g_ready = nullptr;
    return g_owner.load() != nullptr;
}

bool showMenuOnItsThread(const MenuEntry* entries, int count, MenuPlace place) {
    auto* request = new MenuRequest{{}, place};
    for (int i = 0; i < count; ++i)
        request->entries.push_back(
            {entries[i].id, widen(entries[i].text, CP_UTF8), entries[i].enabled, entries[i].separated});
    return postOwned(WM_MENU_SHOW, 0, request);
}

bool askOnMenuThread(const char* title, const char* text) {
    return postOwned(WM_MENU_ASK, 0, new Question{widen(title, CP_UTF8), widen(text, CP_UTF8)});
}

void openPageOnMenuThread(const char* page) {
    postOwned(WM_MENU_PAGE, 0, new std::wstring(pageBesideExe(page)));
}

void endMenuThread() {
    HWND owner = g_owner.load();
    if (owner) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(owner, WM_MENU_END, 0, 0, SMTO_ABORTIFHUNG, THREAD_WAIT_MS, &ignored);
    }
    if (g_thread) {
        WaitForSingleObject(g_thread, THREAD_WAIT_MS);
        CloseHandle(g_thread);
        g_thread = nullptr;
    }
}

void setTrayTip(const char* caption) {
    const std::wstring tip = L"switchpoint: " + widen(caption, CP_UTF8);
    AcquireSRWLockExclusive(&g_tipLock);
    const bool changed = tip != g_tip;
    if (changed) g_tip = tip;
    ReleaseSRWLockExclusive(&g_tipLock);
    HWND owner = g_owner.load();
    if (changed && owner && g_tipPending.exchange(1) == 0) PostMessageW(owner, WM_MENU_TIP, 0, 0);
}

LRESULT CALLBACK menuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_taskbarCreated && g_taskbarCreated != 0) {
        // Explorer started again: the icon it had is gone with it.
        if (!g_ending) addIcon(window);
        return 0;
    }
    switch (message) {
    case WM_TRAY_ICON:
        if (lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP)
            PostMessageW(handles().panel, WM_MENU_OPEN, 0, 0);
        return 0;
    case WM_MENU_SHOW: serve<MenuRequest>(window, lParam, WM_MENU_CHOSEN, showMenu); return 0;
    case WM_MENU_ASK: serve<Question>(window, lParam, WM_MENU_ANSWER, ask); return 0;
    case WM_MENU_PAGE: {
        const std::wstring* page = reinterpret_cast<std::wstring*>(lParam);
        if (!g_ending) ShellExecuteW(nullptr, L"open", page->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        delete page;
        return 0;
    }
    case WM_MENU_TIP: showTip(window); return 0;
    case WM_MENU_END: startEnding(window); return 0;
    case WM_DESTROY: {
        HWND expected = window;
        g_owner.compare_exchange_strong(expected, nullptr);
        PostQuitMessage(0);
        return 0;
    }
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace sp
