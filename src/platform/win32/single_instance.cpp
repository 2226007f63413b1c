// One copy per signed-in session: a second one finds the first, shows its
// panel and leaves.
#include "platform/win32/win32_platform.h"

#include <vector>

namespace sp {

namespace {
// The panels of every copy, this one's own excepted.
std::vector<HWND> otherPanels() {
    std::vector<HWND> panels;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"QUIMBOLET", nullptr); w;
         w = FindWindowExW(nullptr, w, L"QUIMBOLET", nullptr))
        if (w != handles().panel) panels.push_back(w);
    return panels;
}
} // namespace

// A named mutex in the session's own namespace: a copy started by another
// signed-in user does not see it. The main thread owns it until the process
// ends; the system lets it go even after a crash or a kill, and the next
// copy then finds it abandoned, which is as good as free.
bool Win32Platform::claimOnlyCopy(int waitMs) {
    static HANDLE claim = CreateMutexW(nullptr, FALSE, L"Local\\switchpoint-one-copy");
    // Without the mutex there is no telling: better two copies than none.
    if (!claim) return true;
    const DWORD got = WaitForSingleObject(claim, static_cast<DWORD>(waitMs));
    return got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
}

RunningCopy Win32Platform::showRunningCopy(int waitMs) {
    const std::vector<HWND> panels = otherPanels();
    if (panels.empty()) return RunningCopy::Gone;
    bool anyLeft = false;
    for (HWND panel : panels) {
        DWORD_PTR answer = 0;
        // A copy whose thread the system already takes for hung is not
        // waited for at all.
        if (SendMessageTimeoutW(panel, WM_SHOW_PANEL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                static_cast<UINT>(waitMs), &answer))
            return RunningCopy::Shown;
        anyLeft = anyLeft || IsWindow(panel);
    }
    return anyLeft ? RunningCopy::NoAnswer : RunningCopy::Gone;
}

} // namespace sp
