// Shared steps for starting switchpoint and preparing its work directory,
// and for watching its captions, cells and crosshair.
#include "product.h"

namespace sp {

namespace {

// Points of a cell's client area (43 x 43 inside its border) clear of the
// 32 x 32 icon at (6, 6).
constexpr POINT CELL_BACKGROUND[] = {{2, 2}, {40, 2}, {2, 40}, {40, 40}};

std::string armName(Arm arm) { return e2e::narrow(ARM_CLASSES[arm]); }

} // namespace

int cellOfCaption(const std::wstring& caption) {
    for (int i = 0; i < CELL_COUNT; ++i)
        if (caption == SCAN_CAPTIONS[i]) return i;
    return -1;
}

// Shown windows of this class that belong to the product.
std::vector<HWND> shownProductWindows(const e2e::Run& run, const wchar_t* cls) {
    std::vector<HWND> shown;
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w;
         w = FindWindowExW(nullptr, w, cls, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == run.product.dwProcessId && IsWindowVisible(w)) shown.push_back(w);
    }
    return shown;
}

int shownWindows(const e2e::Run& run, const wchar_t* cls) {
    return static_cast<int>(shownProductWindows(run, cls).size());
}

bool seedOptions(e2e::Run& run, const std::string& text) {
    return e2e::writeFileBytes(e2e::inWorkDir(run, L"options.ini"),
                               std::vector<unsigned char>(text.begin(), text.end()));
}

int panelOuterWidth() { return 2 * GetSystemMetrics(SM_CXFRAME) + 223; }

int panelOuterHeight() { return 2 * GetSystemMetrics(SM_CYMENU) - 2 * GetSystemMetrics(SM_CYFRAME) + 90; }

bool seedSettings(e2e::Run& run, const std::wstring& text) {
    return e2e::writeFileBytes(e2e::inWorkDir(run, SETTINGS_FILE), e2e::utf16leWithBom(text));
}

std::vector<unsigned char> settingsBytes(e2e::Run& run) {
    std::vector<unsigned char> bytes;
    e2e::readFileBytes(e2e::inWorkDir(run, SETTINGS_FILE), bytes);
    return bytes;
}

std::wstring settingsText(const wchar_t* clicks, int moveStep, int scanPeriodMs, int switchDevice,
                          int helpBox, int clickSound) {
    return std::wstring(clicks) + L"\r\n" + std::to_wstring(moveStep) + L"\r\n" +
           std::to_wstring(scanPeriodMs) + L"\r\n255\r\n255\r\n" + std::to_wstring(helpBox) + L"\r\n" +
           std::to_wstring(clickSound) + L"\r\n" + std::to_wstring(switchDevice) + L"\r\n";
}

HWND startAndWaitForPanel(e2e::Run& run, POINT park) {
    E2E_CHECK(e2e::mouseMoveTo(park.x, park.y),
              "pointer parked at (" + std::to_string(park.x) + "," + std::to_string(park.y) + ")");
    if (!E2E_CHECK(e2e::launchProduct(run), "product starts")) return nullptr;
    HWND panel = e2e::waitForProductWindow(run, PANEL_CLASS, START_TIMEOUT_MS);
    if (!E2E_CHECK(panel != nullptr, "panel window of class QUIMBOLET appears")) return nullptr;
    const bool visible = e2e::waitUntil([&] { return IsWindowVisible(panel) != FALSE; }, 3000);
    if (!E2E_CHECK(visible, "panel becomes visible")) return nullptr;
    e2e::waitForCaption(panel, READY, 3000);
    if (!E2E_CHECK_EQ(e2e::windowText(panel), std::wstring(READY), "panel caption")) return nullptr;
    // The panel is visible before showing it has finished (it also takes the
    // foreground); a case that moves the focus must wait for the product to
    // reach its message loop first.
    E2E_CHECK(WaitForInputIdle(run.product.hProcess, 3000) == 0, "product waits for input");
    // Even then Wine hands the panel the foreground a few milliseconds later,
    // from the desktop's own process: a case that gave the focus to a window
    // of its own before that would lose it again. Wait for the hand-over.
    if (!e2e::waitUntil([&] { return GetForegroundWindow() == panel; }, 2000))
        e2e::log(run, "note the panel did not take the foreground at start-up");
    return panel;
}

// ---- Switch and captions ----------------------------------------------------

ULONGLONG tapSwitchKey() {
    const ULONGLONG at = GetTickCount64();
    e2e::keyTap(SWITCH_KEY);
    return at;
}

ULONGLONG clickHere() {
    const ULONGLONG at = GetTickCount64();
    e2e::mouseButton(MOUSEEVENTF_LEFTDOWN);
    e2e::pause(30);
    e2e::mouseButton(MOUSEEVENTF_LEFTUP);
    return at;
}

std::vector<CaptionChange> watchCaptions(HWND panel, size_t count, int timeoutMs,
                                         const std::function<void(const CaptionChange&)>& onChange,
                                         const std::wstring* from) {
    std::vector<CaptionChange> changes;
    std::wstring last = from ? *from : e2e::windowText(panel);
    e2e::waitUntil(
        [&] {
            const std::wstring now = e2e::windowText(panel);
            if (now != last) {
                last = now;
                changes.push_back({now, GetTickCount64()});
                if (onChange) onChange(changes.back());
            }
            return changes.size() >= count;
        },
        timeoutMs, 3);
    return changes;
}

std::string captionList(const std::vector<CaptionChange>& changes) {
    std::string out;
    for (const CaptionChange& c : changes) out += (out.empty() ? "" : ", ") + e2e::toText(c.text);
    return "[" + out + "]";
}

bool checkCaptions(e2e::Run& run, const std::vector<CaptionChange>& changes,
                   const std::vector<std::wstring>& expected, const std::string& what) {
    std::vector<std::wstring> seen;
    for (const CaptionChange& c : changes) seen.push_back(c.text);
    std::vector<CaptionChange> wanted;
    for (const std::wstring& text : expected) wanted.push_back({text, 0});
    return e2e::check(run, seen == expected, what,
                      "expected " + captionList(wanted) + ", got " + captionList(changes), __FILE__,
                      __LINE__);
}

// ---- Cells ---------------------------------------------------------------------

bool readCellColours(HWND panel, CellColours& colours) {
    e2e::ScreenGrab grab;
    if (!e2e::grabScreen(e2e::windowRect(panel), grab)) return false;
    for (int i = 0; i < CELL_COUNT; ++i) {
        HWND cell = GetDlgItem(panel, i);
        COLORREF found = CLR_INVALID;
        for (const POINT& p : CELL_BACKGROUND) {
            const POINT s = e2e::clientToScreen(cell, p.x, p.y);
            const COLORREF c = cell ? grab.at(s.x, s.y) : CLR_INVALID;
            if (&p == CELL_BACKGROUND)
                found = c;
            else if (c != found)
                found = CLR_INVALID;
        }
        colours.cell[i] = found;
    }
    return true;
}

CellColours scanColours(int highlighted, const wchar_t* clicks) {
    CellColours expected{};
    for (int i = 0; i < CELL_COUNT; ++i) {
        // clicks is "f f f f f": flag k at character 2k.
        const bool off = i >= 5 && clicks[2 * (i - 5)] != L'1';
        expected.cell[i] = i == highlighted ? COLOUR_HIGHLIGHT : off ? COLOUR_DISABLED : COLOUR_NORMAL;
    }
    return expected;
}

std::string cellDifferences(const CellColours& seen, const CellColours& expected) {
    std::string out;
    for (int i = 0; i < CELL_COUNT; ++i)
        if (seen.cell[i] != expected.cell[i])
            out += (out.empty() ? "" : "; ") + std::string("cell ") + std::to_string(i) + " " +
                   e2e::colourText(seen.cell[i]) + " instead of " + e2e::colourText(expected.cell[i]);
    return out;
}

std::string waitForCellColours(HWND panel, const CellColours& expected, int timeoutMs) {
    CellColours seen{};
    std::string diff = "panel not read";
    e2e::waitUntil(
        [&] {
            if (readCellColours(panel, seen)) diff = cellDifferences(seen, expected);
            return diff.empty();
        },
        timeoutMs, 10);
    return diff;
}

// ---- Crosshair -------------------------------------------------------------------

SIZE screenSize() { return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

RECT expectedArmRect(Arm arm, POINT p) {
    const SIZE s = screenSize();
    switch (arm) {
    case ARM_LEFT: return RECT{0, p.y, p.x - 10, p.y + 3};
    case ARM_RIGHT: return RECT{p.x + 10, p.y, p.x + 10 + s.cx, p.y + 3};
    case ARM_UP: return RECT{p.x, 0, p.x + 3, p.y - 10};
    case ARM_DOWN:
    default: return RECT{p.x, p.y + 10, p.x + 3, p.y + 10 + s.cy};
    }
}

HWND findArm(const e2e::Run& run, Arm arm) {
    // Only a shown arm counts: a closed one may linger a moment as a hidden
    // window of its ending thread.
    if (!run.launched) return nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, ARM_CLASSES[arm], nullptr); w;
         w = FindWindowExW(nullptr, w, ARM_CLASSES[arm], nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == run.product.dwProcessId && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

bool crosshairAt(const e2e::Run& run, POINT p) {
    for (int a = ARM_LEFT; a <= ARM_DOWN; ++a) {
        HWND window = findArm(run, static_cast<Arm>(a));
        if (!window) return false;
        const RECT seen = e2e::windowRect(window);
        const RECT expected = expectedArmRect(static_cast<Arm>(a), p);
        if (!EqualRect(&seen, &expected)) return false;
    }
    return true;
}

ULONGLONG waitForFreshCrosshair(const e2e::Run& run, HWND previousLeft, int timeoutMs) {
    ULONGLONG at = 0;
    e2e::waitUntil(
        [&] {
            HWND left = findArm(run, ARM_LEFT);
            if (!left || left == previousLeft) return false;
            for (int a = ARM_RIGHT; a <= ARM_DOWN; ++a)
                if (!findArm(run, static_cast<Arm>(a))) return false;
            at = GetTickCount64();
            return true;
        },
        timeoutMs, 2);
    return at;
}

void checkCrosshairAt(e2e::Run& run, POINT p, const std::string& when) {
    for (int a = ARM_LEFT; a <= ARM_DOWN; ++a) {
        const Arm arm = static_cast<Arm>(a);
        const std::string name = armName(arm) + " arm " + when;
        HWND window = findArm(run, arm);
        if (!E2E_CHECK(window != nullptr, name + " is shown")) continue;
        const RECT seen = e2e::windowRect(window);
        const RECT expected = expectedArmRect(arm, p);
        E2E_CHECK(EqualRect(&seen, &expected) != FALSE,
                  name + " at " + e2e::rectText(expected) + " for the pointer at (" + std::to_string(p.x) +
                      "," + std::to_string(p.y) + "); got " + e2e::rectText(seen));
    }
}

} // namespace sp
