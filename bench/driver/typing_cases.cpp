// Benchmark run of typing through the real exe:
//   bench_typing: the simulated switch user of typist.h types the phrases on
//   the on-screen keyboard into an edit control of the driver's, once with
//   each scan, and its words a minute, presses, errors left and what the
//   predictions saved are set against the target.
//
// The user reads the keyboard as anyone can: each key's label from its
// child window, and which keys are lit from the screen's pixels.
#include <cwctype>
#include <numeric>

#include "bench_util.h"
#include "phrases.h"
#include "product.h"
#include "seen_typist.h"

namespace {

using namespace e2e;
using bench::fixed;
using bench::nowMs;

constexpr wchar_t KEYBOARD_CLASS[] = L"SWITCHPOINT_KEYBOARD";
constexpr int PERIOD_MS = 500;
// What a press typed reaches the edit a moment after the keyboard shows
// its next step; the user reads both, well within a reaction.
constexpr int SETTLE_MS = 40;
// A prediction's letters come in a burst; the user reads the text once it
// has been still this long.
constexpr int QUIET_MS = 15;
// A step whose keys and caption look the same as the last (after a press
// that changed neither) shows by then.
constexpr int PRESS_SHOWS_MS = 150;
// A phrase not done in this long counts as typed as far as it got.
constexpr double GIVE_UP_MS = 150000;
constexpr unsigned SEED = 24;
constexpr double TARGET_WPM = 12.0;
constexpr double TARGET_ERROR_RATE = 0.01;

std::u32string wideToU32(const std::wstring& text) {
    std::u32string out;
    for (size_t i = 0; i < text.size(); ++i) {
        // Multiline edits keep a line end as CR LF; the user sees one Enter.
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        out += static_cast<char32_t>(text[i]);
    }
    return out;
}

// ---- A window of the user's: one multiline edit, the focus in it ----------

class EditWindow {
public:
    struct Change {
        double at; // performance-counter ms
        std::u32string text;
    };

    EditWindow() { InitializeCriticalSection(&lock_); }
    EditWindow(const EditWindow&) = delete;
    EditWindow& operator=(const EditWindow&) = delete;
    ~EditWindow() {
        if (thread_) {
            if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(thread_, 3000) != WAIT_OBJECT_0) TerminateThread(thread_, 1);
            CloseHandle(thread_);
        }
        if (ready_) CloseHandle(ready_);
        DeleteCriticalSection(&lock_);
    }

    bool open(const RECT& outer) {
        outer_ = outer;
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
        if (!thread_) return false;
        WaitForSingleObject(ready_, 5000);
        return edit_ != nullptr;
    }
    bool hasFocus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == window_ &&
               GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info) && info.hwndFocus == edit_;
    }
    bool bringToFront() {
        SetForegroundWindow(window_);
        return waitUntil([&] { return hasFocus(); }, 2000);
    }
    // The text now, how many changes it has had, and when it last changed.
    std::u32string text(long* changes = nullptr, double* changedAt = nullptr) {
        EnterCriticalSection(&lock_);
        const std::u32string out = history_.empty() ? std::u32string() : history_.back().text;
        if (changes) *changes = changeCount_;
        if (changedAt) *changedAt = history_.empty() ? 0.0 : history_.back().at;
        LeaveCriticalSection(&lock_);
        return out;
    }
    // Every change since the last call, oldest first, timed as it came.
    std::vector<Change> takeChanges() {
        EnterCriticalSection(&lock_);
        std::vector<Change> out;
        out.swap(history_);
        if (!out.empty()) history_.push_back(out.back());
        LeaveCriticalSection(&lock_);
        return out;
    }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(
                window, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<EditWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_SETFOCUS:
            if (self && self->edit_) SetFocus(self->edit_);
            return 0;
        case WM_COMMAND:
            // Timed here, on the edit's own thread, as each character arrives.
            if (self && HIWORD(wParam) == EN_CHANGE) {
                const double at = nowMs();
                const int length = GetWindowTextLengthW(self->edit_);
                std::wstring text(static_cast<size_t>(length) + 1, L'\0');
                text.resize(static_cast<size_t>(GetWindowTextW(self->edit_, &text[0], length + 1)));
                EnterCriticalSection(&self->lock_);
                self->history_.push_back({at, wideToU32(text)});
                ++self->changeCount_;
                LeaveCriticalSection(&self->lock_);
            }
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    }
    static DWORD WINAPI threadMain(LPVOID param) {
        auto* self = static_cast<EditWindow*>(param);
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = proc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        cls.lpszClassName = L"BENCH_TYPING_WINDOW";
        RegisterClassExW(&cls); // fails harmlessly the second time
        const RECT& r = self->outer_;
        self->window_ =
            CreateWindowExW(0, cls.lpszClassName, L"bench typing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, r.left,
                            r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, cls.hInstance, self);
        if (self->window_) {
            RECT client{};
            GetClientRect(self->window_, &client);
            self->edit_ =
                CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                client.right, client.bottom, self->window_, nullptr, cls.hInstance, nullptr);
            SendMessageW(self->edit_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                         FALSE);
        }
        SetEvent(self->ready_);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return 0;
    }

    CRITICAL_SECTION lock_;
    std::vector<Change> history_;
    long changeCount_ = 0;
    RECT outer_{};
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
};

// ---- Reading the keyboard ------------------------------------------------

struct Sight {
    std::vector<bench::SeenKey> keys; // in reading order
    std::vector<int> lit;
    std::wstring caption;
    bool agrees = false; // the green keys are the ones the caption names
};

Sight look(HWND keyboard) {
    struct Child {
        RECT inParent, onScreen;
        std::wstring label;
    };
    std::vector<Child> children;
    for (HWND c = GetWindow(keyboard, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c)) children.push_back({rectInParent(c), windowRect(c), windowText(c)});
    std::sort(children.begin(), children.end(), [](const Child& a, const Child& b) {
        return a.inParent.top != b.inParent.top ? a.inParent.top < b.inParent.top
                                                : a.inParent.left < b.inParent.left;
    });
    Sight s;
    s.caption = windowText(keyboard);
    ScreenGrab grab;
    if (children.empty() || !grabScreen(windowRect(keyboard), grab)) return s;
    std::wstring named;
    for (const Child& c : children) {
        s.keys.push_back({c.label, c.inParent.top == children.front().inParent.top});
        // Near the top edge, clear of the frame and the label.
        if (grab.at((c.onScreen.left + c.onScreen.right) / 2, c.onScreen.top + 3) != sp::COLOUR_HIGHLIGHT)
            continue;
        s.lit.push_back(static_cast<int>(s.keys.size()) - 1);
        named += (named.empty() ? L"" : L" ") + c.label;
    }
    s.agrees = named == s.caption;
    return s;
}

// ---- The simulated user --------------------------------------------------

struct Tally {
    std::vector<double> wpm; // ISO, per phrase
    // The same from the first character to arrive, as the host simulation
    // counts it: the first character's own wait apart.
    std::vector<double> wpmFromFirst;
    double errorRate = 0; // summed over phrases
    int phrases = 0, characters = 0, presses = 0, predictedSaved = 0;
    int steps = 0, timeouts = 0, late = 0, mends = 0, unreadable = 0;
    // How long a step the user let pass stayed on the screen, and how soon
    // a press showed its step: what the user's reaction has to fit in.
    std::vector<double> passedMs, pressShowsMs;
    double typingMs = 0; // first press to last character, summed
};

class KeyboardUser {
public:
    KeyboardUser(HWND keyboard, EditWindow& edit) : keyboard_(keyboard), edit_(edit) {}

    // Types `phrase` and Enter on a new line; false if the keyboard stopped
    // answering.
    bool typePhrase(Run& run, const std::u32string& phrase, Tally& tally) {
        edit_.takeChanges();
        const std::u32string before = edit_.text();
        const size_t lineStart = before.size();
        const std::u32string target = before + phrase + U'\n';
        const double began = nowMs();
        double firstPress = 0;
        std::u32string text = before;
        while (text != target && nowMs() - began < GIVE_UP_MS) {
            sleepUntil(shownAt_ + SETTLE_MS);
            Sight sight = look(keyboard_);
            for (int again = 0; !sight.agrees && again < 10; ++again) {
                Sleep(5);
                sight = look(keyboard_);
            }
            tally.unreadable += !sight.agrees;
            text = readText();
            ++tally.steps;
            if (text == target) break;
            const int wanted = bench::SeenTypist::wanted(sight.keys, text, target, predictedSpace_);
            if (wanted < 0 || std::find(sight.lit.begin(), sight.lit.end(), wanted) == sight.lit.end()) {
                const double shown = shownAt_;
                if (!nextStep(sight.caption, -1, PERIOD_MS + 3000)) return stuck(run, "no next step");
                tally.passedMs.push_back(shownAt_ - shown);
                ++tally.timeouts;
                continue;
            }
            tally.mends += sight.keys[static_cast<size_t>(wanted)].label == L"Delete";
            sleepUntil(shownAt_ + typist_.reactionMs());
            const std::wstring pressedOn = windowText(keyboard_);
            tally.late += pressedOn != sight.caption;
            if (trace_)
                log(run, "note press for " + narrow(sight.keys[static_cast<size_t>(wanted)].label) + " on [" +
                             narrow(sight.caption) + "]" +
                             (pressedOn == sight.caption ? "" : " landing on [" + narrow(pressedOn) + "]") +
                             " after \"" + toUtf8(text.substr(lineStart)) + "\"");
            long changes = 0;
            edit_.text(&changes);
            const double down = nowMs();
            if (firstPress == 0) firstPress = down;
            keyDown(sp::SWITCH_KEY);
            ++tally.presses;
            // A press that types nothing and keeps the caption (the same
            // first group again) still shows a new step.
            nextStep(pressedOn, changes, PRESS_SHOWS_MS);
            tally.pressShowsMs.push_back(shownAt_ - down);
            sleepUntil(down + 30);
            keyUp(sp::SWITCH_KEY);
        }
        text = readText();
        // When the phrase's line last changed before its Enter (a predicted
        // word's space, taken back by the Enter, apart), timed as it came.
        double lastTyped = firstPress, firstTyped = 0;
        std::u32string stem;
        for (const EditWindow::Change& c : edit_.takeChanges()) {
            std::u32string line = c.text.substr(std::min(lineStart, c.text.size()));
            if (line.find(U'\n') != std::u32string::npos) break;
            if (!line.empty() && line.back() == U' ') line.pop_back();
            if (line != stem) lastTyped = c.at;
            if (line != stem && firstTyped == 0) firstTyped = c.at;
            stem = line;
        }
        const std::u32string line = text.substr(std::min(lineStart, text.size()));
        const std::u32string typed = line.substr(0, line.find(U'\n'));
        const double characters = static_cast<double>(phrase.size());
        const double seconds = (lastTyped - firstPress) / 1000.0;
        const double wpm = seconds > 0 ? (characters - 1.0) / seconds * 60.0 / 5.0 : 0.0;
        const double errors = static_cast<double>(bench::distance(typed, phrase)) / characters;
        tally.wpm.push_back(wpm);
        const double fromFirst = (lastTyped - firstTyped) / 1000.0;
        tally.wpmFromFirst.push_back(
            firstTyped > 0 && fromFirst > 0 ? (characters - 1.0) / fromFirst * 60.0 / 5.0 : 0.0);
        tally.errorRate += errors;
        tally.typingMs += lastTyped - firstPress;
        tally.characters += static_cast<int>(phrase.size()) + 1;
        ++tally.phrases;
        log(run, "note phrase " + std::to_string(tally.phrases) + ": \"" + toUtf8(typed) + "\" " +
                     fixed(seconds, 1) + " s, " + fixed(wpm) + " wpm, errors " + fixed(100.0 * errors, 1) +
                     " %" + (text == target ? "" : " (given up)"));
        return true;
    }

private:
    static void sleepUntil(double ms) {
        while (nowMs() < ms) Sleep(1);
    }
    static std::string toUtf8(const std::u32string& text) {
        std::wstring wide;
        for (const char32_t c : text) wide += c == U'\n' ? L'|' : static_cast<wchar_t>(c);
        return narrow(wide);
    }
    bool stuck(Run& run, const std::string& why) {
        log(run, "note " + why + ", caption " + narrow(windowText(keyboard_)));
        return false;
    }
    // Waits for the keyboard's next step: its caption or the text changes.
    // changes < 0: only the caption counts, and its absence is a failure.
    bool nextStep(const std::wstring& caption, long changes, int timeoutMs) {
        const bool seen = waitUntil(
            [&] {
                long now = 0;
                edit_.text(&now);
                return windowText(keyboard_) != caption || (changes >= 0 && now != changes);
            },
            timeoutMs, 1);
        shownAt_ = nowMs();
        return seen || changes >= 0;
    }
    // The edit's text once it has been still a moment, and what the step
    // that brought it says: a predicted word comes with its space.
    std::u32string readText() {
        double changedAt = 0;
        std::u32string text = edit_.text(nullptr, &changedAt);
        for (int wait = 0; nowMs() - changedAt < QUIET_MS && wait < 100; ++wait) {
            Sleep(2);
            text = edit_.text(nullptr, &changedAt);
        }
        if (text != seen_) {
            const bool grew = text.size() >= seen_.size() + 2 && text.compare(0, seen_.size(), seen_) == 0;
            predictedSpace_ = grew && text.back() == U' ';
            if (predictedSpace_) saved_ += static_cast<int>(text.size() - seen_.size()) - 1;
            seen_ = text;
        }
        return text;
    }

    HWND keyboard_;
    EditWindow& edit_;
    bench::SeenTypist typist_{SEED};
    double shownAt_ = nowMs();
    bool predictedSpace_ = false;
    // BENCH_TYPING_TRACE=1 notes every press.
    bool trace_ = envNumber(L"BENCH_TYPING_TRACE", 0) == 1;
    std::u32string seen_;

public:
    int saved_ = 0; // characters predictions typed beyond the one their press stands for
};

struct Figures {
    double wpm = 0, errorRate = 1;
};

Figures runScan(Run& run, const char* scan, int phraseCount) {
    Figures f;
    const std::string options = std::string("extra_cells = keyboard\r\nlanguage = en\r\nkeyboard_scan = ") +
                                scan + "\r\nkeyboard_period_ms = " + std::to_string(PERIOD_MS) + "\r\n";
    if (!E2E_CHECK(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD_MS, 0)),
                   "keyboard switch") ||
        !E2E_CHECK(sp::seedOptions(run, options), "options.ini"))
        return f;
    EditWindow edit;
    if (!E2E_CHECK(edit.open(RECT{120, 20, 900, 300}), "edit window opens")) return f;
    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return f;
    sp::tapSwitchKey();
    HWND keyboard = nullptr;
    if (E2E_CHECK(waitForCaption(panel, L"Keyboard", 14 * PERIOD_MS + 2000), "the scan reaches Keyboard")) {
        sp::tapSwitchKey();
        keyboard = waitForProductWindow(run, KEYBOARD_CLASS, 3000);
    }
    // As the user's scanned click would have put it, once the keyboard is up.
    if (E2E_CHECK(keyboard != nullptr, std::string("the Keyboard cell opens the keyboard, ") + scan) &&
        E2E_CHECK(edit.bringToFront(), "the edit has the focus")) {
        KeyboardUser user(keyboard, edit);
        Tally tally;
        for (int p = 0; p < phraseCount; ++p) {
            std::u32string phrase;
            for (const char* c = bench::ENGLISH_PHRASES[p]; *c; ++c) phrase += static_cast<char32_t>(*c);
            // The keyboard starts each line with a capital by itself.
            phrase[0] = static_cast<char32_t>(std::towupper(static_cast<wint_t>(phrase[0])));
            if (!user.typePhrase(run, phrase, tally)) break;
        }
        if (std::string(scan) == "groups") requestScreenshot(run);
        E2E_CHECK(tally.phrases == phraseCount, std::string("every phrase typed, ") + scan + " (" +
                                                    std::to_string(tally.phrases) + " of " +
                                                    std::to_string(phraseCount) + ")");
        E2E_CHECK(edit.hasFocus(), std::string("the edit kept the focus, ") + scan);
        if (tally.phrases > 0) {
            const double n = tally.phrases, chars = tally.characters;
            f.wpm = std::accumulate(tally.wpm.begin(), tally.wpm.end(), 0.0) / n;
            f.errorRate = tally.errorRate / n;
            log(run,
                std::string("figure typing, ") + scan + " at " + std::to_string(PERIOD_MS) +
                    " ms: " + std::to_string(tally.phrases) + " phrases, " + fixed(f.wpm) +
                    " words a minute (ISO, mean of phrases; slowest " +
                    fixed(*std::min_element(tally.wpm.begin(), tally.wpm.end())) + ", fastest " +
                    fixed(*std::max_element(tally.wpm.begin(), tally.wpm.end())) + "; " +
                    fixed(std::accumulate(tally.wpmFromFirst.begin(), tally.wpmFromFirst.end(), 0.0) / n) +
                    " from each phrase's first character instead of its first press), " +
                    fixed(tally.presses / chars) + " presses a character, " + fixed(100.0 * f.errorRate) +
                    " % errors left, " + fixed(100.0 * user.saved_ / chars, 1) +
                    " % of characters typed by predictions");
            log(run, std::string("figure typing, ") + scan + ", per character with Enter: " +
                         fixed(tally.typingMs / 1000.0 / chars) + " s typing, " + fixed(tally.steps / chars) +
                         " steps seen, " + fixed(tally.timeouts / chars) + " of them passed by (" +
                         std::to_string(PERIOD_MS) + " ms each), " + fixed(tally.presses / chars) +
                         " presses (" + std::to_string(tally.late) + " late, " + std::to_string(tally.mends) +
                         " toward Delete); " + std::to_string(tally.unreadable) +
                         " steps whose green keys and caption disagreed; a step let pass showed for " +
                         bench::summary(tally.passedMs, " ms") + "; a press showed its step after " +
                         bench::summary(tally.pressShowsMs, " ms"));
        }
    }
    bench::closeAndReadHookTimes(run, panel);
    endProduct(run);
    return f;
}

} // namespace

// Both scans at a 500 ms period; BENCH_TYPING_PHRASES=n types the first n
// phrases only, BENCH_TYPING_SCAN=1 (groups) or 2 (rows) one scan alone.
E2E_CASE(bench_typing) {
    const int phrases = static_cast<int>(
        std::clamp<long>(envNumber(L"BENCH_TYPING_PHRASES", std::size(bench::ENGLISH_PHRASES)), 1,
                         std::size(bench::ENGLISH_PHRASES)));
    const long only = envNumber(L"BENCH_TYPING_SCAN", 0);
    const char* const scans[] = {"groups", "rows"};
    std::string best;
    double bestWpm = 0, bestErrors = 1;
    for (int k = 0; k < 2; ++k) {
        if (only > 0 && only != k + 1) continue;
        const Figures f = runScan(run, scans[k], phrases);
        const bool meets = f.wpm >= TARGET_WPM && f.errorRate < TARGET_ERROR_RATE;
        const bool bestMeets = bestWpm >= TARGET_WPM && bestErrors < TARGET_ERROR_RATE;
        if (best.empty() || (meets && !bestMeets) || (meets == bestMeets && f.wpm > bestWpm)) {
            best = scans[k];
            bestWpm = f.wpm;
            bestErrors = f.errorRate;
        }
    }
    E2E_CHECK(bestWpm >= TARGET_WPM && bestErrors < TARGET_ERROR_RATE,
              "best scan (" + best + "): at least 12 words a minute (" + fixed(bestWpm) +
                  ") and under 1 % errors (" + fixed(100.0 * bestErrors) + " %)");
}
