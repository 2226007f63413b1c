// The system around the program: raw input for the hook watchdog, the
// session locking and the machine sleeping, the session ending, and which
// window is in front.
#include "platform/win32/win32_platform.h"

#include <wtsapi32.h>

#include <vector>

#include "app/panel.h"
#include "app/session.h"
#include "scan/watchdog.h"

namespace sp {

namespace {

HWINEVENTHOOK g_foregroundHook = nullptr;
bool g_sessionWatched = false;

bool integrityLevel(HANDLE process, DWORD* level) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return false;
    bool ok = false;
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size >= sizeof(TOKEN_MANDATORY_LABEL) &&
        GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
        const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
        const UCHAR count = *GetSidSubAuthorityCount(sid);
        if (count > 0) {
            *level = *GetSidSubAuthority(sid, count - 1u);
            ok = true;
        }
    }
    CloseHandle(token);
    return ok;
}

DWORD processOf(HWND window) {
    DWORD pid = 0;
    if (window) GetWindowThreadProcessId(window, &pid);
    return pid;
}

ForegroundWindow describe(HWND window) {
    ForegroundWindow w;
    w.exists = window != nullptr;
    if (!w.exists) return w;
    const DWORD pid = processOf(window);
    w.ownProcess = pid == GetCurrentProcessId();
    w.shell = window == GetDesktopWindow() || (pid != 0 && pid == processOf(GetShellWindow()));
    if (w.ownProcess || w.shell) return w;

    static DWORD ownLevel = 0;
    static const bool ownKnown = integrityLevel(GetCurrentProcess(), &ownLevel);
    if (!ownKnown) {
        // Nothing to compare with: better no warning than a false one.
        w.levelKnown = true;
        return w;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return w;
    DWORD level = 0;
    w.levelKnown = integrityLevel(process, &level);
    w.levelAbove = w.levelKnown && level > ownLevel;
    CloseHandle(process);
    return w;
}

void CALLBACK onForeground(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    onForegroundChanged(win32Platform(), describe(window));
}

// The age GetMessageTime gives, or none when it makes no sense.
double ageOfCurrentMessageMs() {
    const auto age = static_cast<LONG>(GetTickCount() - static_cast<DWORD>(GetMessageTime()));
    return age >= 0 && age < 2000 ? age : 0;
}

bool isSwitchPress(const RAWINPUT& raw) {
    if (raw.header.dwType == RIM_TYPEKEYBOARD)
        return raw.data.keyboard.Message == WM_KEYDOWN || raw.data.keyboard.Message == WM_SYSKEYDOWN;
    if (raw.header.dwType == RIM_TYPEMOUSE)
        return (raw.data.mouse.usButtonFlags &
                (RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN | RI_MOUSE_MIDDLE_BUTTON_DOWN)) != 0;
    return false;
}

void onRawInput(LPARAM lParam) {
    RAWINPUT raw{};
    UINT size = sizeof raw;
    if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &raw, &size,
                        sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
        return;
    if (!isSwitchPress(raw)) return;
    Platform& p = win32Platform();
    onRawSwitchPress(p, p.nowMs() - ageOfCurrentMessageMs());
}

} // namespace

void Win32Platform::watchRawInput(HookKind kind) {
    constexpr USHORT GENERIC_DESKTOP = 0x01, MOUSE = 0x02, KEYBOARD = 0x06;
    const bool mouse = kind == HookKind::Mouse;
    RAWINPUTDEVICE watch{GENERIC_DESKTOP, mouse ? MOUSE : KEYBOARD, RIDEV_INPUTSINK, handles().panel};
    RAWINPUTDEVICE drop{GENERIC_DESKTOP, mouse ? KEYBOARD : MOUSE, RIDEV_REMOVE, nullptr};
    RegisterRawInputDevices(&watch, 1, sizeof watch);
    // Fails harmlessly when the other kind was never watched.
    RegisterRawInputDevices(&drop, 1, sizeof drop);
}

void watchTheSystem(HWND panel) {
    g_sessionWatched = WTSRegisterSessionNotification(panel, NOTIFY_FOR_THIS_SESSION) != FALSE;
    g_foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                       onForeground, 0, 0, WINEVENT_OUTOFCONTEXT);
    onForegroundChanged(win32Platform(), describe(GetForegroundWindow()));
}

void stopWatchingTheSystem(HWND panel) {
    if (g_foregroundHook) UnhookWinEvent(g_foregroundHook);
    g_foregroundHook = nullptr;
    if (g_sessionWatched) WTSUnRegisterSessionNotification(panel);
    g_sessionWatched = false;
}

bool onSystemMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    Platform& p = win32Platform();
    switch (message) {
    case WM_INPUT:
        onRawInput(lParam);
        // The system frees the input in DefWindowProc.
        return false;
    case WM_WTSSESSION_CHANGE:
        switch (wParam) {
        case WTS_SESSION_LOCK:
        case WTS_CONSOLE_DISCONNECT:
        case WTS_REMOTE_DISCONNECT: onSessionPaused(p); break;
        case WTS_SESSION_UNLOCK:
        case WTS_CONSOLE_CONNECT:
        case WTS_REMOTE_CONNECT: onSessionResumed(p); break;
        default: break;
        }
        return true;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMSUSPEND) onSessionPaused(p);
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) onSessionResumed(p);
        return true;
    case WM_ENDSESSION:
        // The process may end any moment after this returns.
        if (wParam) {
            closePanel(p);
            stopWatchingTheSystem(panel);
        }
        return true;
    default: return false;
    }
}

} // namespace sp
