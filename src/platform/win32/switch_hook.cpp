// The switch hook's own thread.
//
// Windows drops a low-level hook whose procedure keeps it waiting, and the
// user's only input would then leak to other programs. So the hooks live on
// a thread that does nothing else, and their procedures only classify the
// event and post the reaction to the panel; they never sleep, paint or click.
// Installing and removing are requests to this thread with a reply, so when
// they return the hook is really in or out.
#include <memory>

#ifdef SWITCHPOINT_BENCH
#include <cstdio>
#endif

#include "platform/win32/win32_platform.h"
#include "scan/switch_input.h"
#include "scan/watchdog.h"

namespace sp {

namespace {

constexpr DWORD REPLY_TIMEOUT_MS = 5000;

struct Request {
    HookKind kind = HookKind::Keyboard;
    bool install = false;
    bool result = false;
    HANDLE done = nullptr;
    ~Request() {
        if (done) CloseHandle(done);
    }
};

std::atomic<DWORD> g_threadId{0};
HHOOK g_hook[2] = {nullptr, nullptr}; // touched only on the hook thread
// Raised at every install and removal, so the panel can tell a press posted
// by a hook that has since been taken out.
std::atomic<LPARAM> g_generation[2] = {{0}, {0}};
std::atomic<bool> g_movePending{false};

#ifdef SWITCHPOINT_BENCH
// Benchmark builds time each hook procedure call into a ring that only the
// hook thread writes; the panel reads it once the hooks are gone.
constexpr unsigned PROBE_RING = 1u << 16;
long long g_probeTicks[PROBE_RING];
std::atomic<unsigned> g_probeCount{0};

struct ProcTimer {
    LARGE_INTEGER start;
    ProcTimer() { QueryPerformanceCounter(&start); }
    ~ProcTimer() {
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        const unsigned n = g_probeCount.load(std::memory_order_relaxed);
        g_probeTicks[n % PROBE_RING] = end.QuadPart - start.QuadPart;
        g_probeCount.store(n + 1, std::memory_order_release);
    }
};
#define TIME_THIS_HOOK_CALL ProcTimer procTimer
#else
#define TIME_THIS_HOOK_CALL
#endif

int index(HookKind kind) { return kind == HookKind::Mouse ? 0 : 1; }

void post(SwitchEvent event, HookKind kind) {
    if (event == SwitchEvent::Escape || event == SwitchEvent::FarMoveStop) noteStopSeen(event);
    const WPARAM w = static_cast<WPARAM>(event) | (static_cast<WPARAM>(index(kind)) << 8);
    // A press that never reaches the panel must not hold up every later one.
    if (!PostMessageW(handles().panel, WM_SWITCH_EVENT, w, g_generation[index(kind)].load()) &&
        event == SwitchEvent::Press)
        endPressInHand();
}

// Many moves, one message: the panel reads the pointer when it gets to it.
void postMove() {
    if (!g_movePending.exchange(true)) PostMessageW(handles().panel, WM_SWITCH_MOVE, 0, 0);
}

LRESULT CALLBACK keyboardSwitchProc(int code, WPARAM wParam, LPARAM lParam) {
    TIME_THIS_HOOK_CALL;
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const double now = code >= 0 ? win32Platform().nowMs() : 0.0;
    if (code >= 0) noteHookEvent(now);
    const unsigned vk = code >= 0 ? event->vkCode : 0;
    const bool own = code >= 0 && event->dwExtraInfo == OWN_INPUT_MARK;
    const HookDecision d = classifyKeyEvent(code, static_cast<unsigned>(wParam), vk, now, own);
    if (d.event != SwitchEvent::None) post(d.event, HookKind::Keyboard);
    if (d.result == HookResult::PassOn) return CallNextHookEx(nullptr, code, wParam, lParam);
    return -1;
}

LRESULT CALLBACK mouseSwitchProc(int code, WPARAM wParam, LPARAM lParam) {
    TIME_THIS_HOOK_CALL;
    // The event carries where the pointer goes; asking the system instead
    // would cost a round trip inside the hook and give where it was.
    Point pointer;
    bool own = false;
    double now = 0.0;
    if (code >= 0) {
        now = win32Platform().nowMs();
        noteHookEvent(now);
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        pointer = {event->pt.x, event->pt.y};
        own = event->dwExtraInfo == OWN_INPUT_MARK;
    }
    const HookDecision d = classifyMouseEvent(code, static_cast<unsigned>(wParam), pointer, own, now);
    switch (d.event) {
    case SwitchEvent::FarMoveStop:
        post(d.event, HookKind::Mouse);
        postMove();
        break;
    case SwitchEvent::Move: postMove(); break;
    case SwitchEvent::None: break;
    default: post(d.event, HookKind::Mouse); break;
    }
    if (d.result == HookResult::PassOn) return CallNextHookEx(nullptr, code, wParam, lParam);
    return -1;
}

void serve(Request& r) {
    const int i = index(r.kind);
    if (r.install) {
        if (!g_hook[i]) {
            // Here, on the hook's own thread, between two of its calls.
            forgetSwitchContacts();
            g_hook[i] = r.kind == HookKind::Mouse
                            ? SetWindowsHookExW(WH_MOUSE_LL, mouseSwitchProc, handles().instance, 0)
                            : SetWindowsHookExW(WH_KEYBOARD_LL, keyboardSwitchProc, handles().instance, 0);
            ++g_generation[i];
        }
        r.result = g_hook[i] != nullptr;
    } else {
        if (g_hook[i]) {
            UnhookWindowsHookEx(g_hook[i]);
            g_hook[i] = nullptr;
            ++g_generation[i];
        }
        r.result = true;
    }
}

DWORD WINAPI hookThreadProc(LPVOID ready) {
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // make the queue
    SetEvent(static_cast<HANDLE>(ready));
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_HOOK_REQUEST) {
            auto* held = reinterpret_cast<std::shared_ptr<Request>*>(msg.lParam);
            serve(**held);
            SetEvent((*held)->done);
            delete held;
        }
    }
    for (HHOOK& h : g_hook)
        if (h) UnhookWindowsHookEx(h);
    return 0;
}

bool request(HookKind kind, bool install) {
    const DWORD thread = g_threadId.load();
    if (thread == 0) return false;
    auto req = std::make_shared<Request>();
    req->kind = kind;
    req->install = install;
    req->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!req->done) return false;
    auto* held = new std::shared_ptr<Request>(req);
    if (!PostThreadMessageW(thread, WM_HOOK_REQUEST, 0, reinterpret_cast<LPARAM>(held))) {
        delete held;
        return false;
    }
    if (WaitForSingleObject(req->done, REPLY_TIMEOUT_MS) != WAIT_OBJECT_0) return false;
    return req->result;
}

} // namespace

bool startHookThread() {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ready) return false;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, hookThreadProc, ready, 0, &id);
    if (!thread) {
        CloseHandle(ready);
        return false;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    CloseHandle(thread);
    g_threadId = id;
    return true;
}

bool hookInstall(HookKind kind) { return request(kind, true); }
void hookRemove(HookKind kind) { request(kind, false); }

bool hookEventIsCurrent(HookKind kind, LPARAM generation) {
    return g_generation[index(kind)].load() == generation;
}

void takePendingMove() { g_movePending = false; }

#ifdef SWITCHPOINT_BENCH
void writeHookTimes(const wchar_t* path) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    FILE* out = _wfopen(path, L"w");
    if (!out) return;
    const unsigned n = g_probeCount.load(std::memory_order_acquire);
    const unsigned first = n > PROBE_RING ? n - PROBE_RING : 0;
    for (unsigned i = first; i < n; ++i)
        std::fprintf(out, "%.3f\n",
                     1e6 * static_cast<double>(g_probeTicks[i % PROBE_RING]) /
                         static_cast<double>(frequency.QuadPart));
    std::fclose(out);
}
#endif

} // namespace sp
