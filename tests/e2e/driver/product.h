// What the cases know about switchpoint itself: window classes, panel
// layout, cell colours, the settings file, and the usual way to start it.
#pragma once

#include "harness.h"

namespace sp {

constexpr wchar_t PANEL_CLASS[] = L"QUIMBOLET";
constexpr wchar_t ARM_CLASSES[4][6] = {L"ESQ", L"DRETA", L"AMUNT", L"AVALL"};
constexpr wchar_t READY[] = L"Ready";
constexpr wchar_t SETTINGS_FILE[] = L"config.ini";

constexpr int CELL_COUNT = 10;
constexpr int CELL_SIZE = 45;
constexpr int CELLS_PER_ROW = 5;

constexpr COLORREF COLOUR_NORMAL = RGB(255, 255, 254);
constexpr COLORREF COLOUR_HIGHLIGHT = RGB(0, 255, 0);
constexpr COLORREF COLOUR_DISABLED = RGB(204, 204, 204);

// The caption while cell k is highlighted by the scan.
constexpr const wchar_t* SCAN_CAPTIONS[10] = {
    L"STOP",         L"LEFT",         L"RIGHT",        L"UP", L"DOWN", L"Left Click", L"Double Left Click",
    L"Middle Right", L"Middle Click", L"Click To Drag"};
// The cell whose scan caption this is, or -1.
int cellOfCaption(const std::wstring& caption);

// Any key but Escape is the keyboard switch; this one also types a
// character, so a window that wrongly gets it sees WM_CHAR too.
constexpr WORD SWITCH_KEY = 'A';

enum Arm { ARM_LEFT, ARM_RIGHT, ARM_UP, ARM_DOWN };
// Line colour 255 and opacity 255, as settingsText writes them.
constexpr COLORREF LINE_RED = RGB(255, 0, 0);

// Time allowed from CreateProcess until the panel is up; Wine is slow to
// start a process the first time in a fresh wineserver.
constexpr int START_TIMEOUT_MS = 8000;

// The settings file text that the defaults produce, line ends included.
constexpr wchar_t DEFAULT_SETTINGS_TEXT[] = L"1 1 1 1 1\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n";

// Shown windows of this class that belong to the product.
std::vector<HWND> shownProductWindows(const e2e::Run& run, const wchar_t* cls);
int shownWindows(const e2e::Run& run, const wchar_t* cls);

// Outer size of the panel, computed from the same system metrics it uses.
int panelOuterWidth();
int panelOuterHeight();

// Writes options.ini into the work directory, bytes as given.
bool seedOptions(e2e::Run& run, const std::string& text);
// Writes config.ini into the work directory (byte-order mark + UTF-16LE).
bool seedSettings(e2e::Run& run, const std::wstring& text);
std::vector<unsigned char> settingsBytes(e2e::Run& run);
// config.ini text with the given click kinds ("1 1 1 1 1"), pointer step,
// scan period and switch (1 mouse, 0 keyboard); a red, opaque crosshair,
// no help box, no sound.
std::wstring settingsText(const wchar_t* clicks, int moveStep, int scanPeriodMs, int switchDevice,
                          int helpBox = 0, int clickSound = 0);

// Parks the pointer at `park`, away from the panel (the crosshair follows
// the pointer), starts the product and waits until its panel is visible
// with the caption "Ready". Records checks; null if the panel never showed.
HWND startAndWaitForPanel(e2e::Run& run, POINT park = POINT{700, 500});

// ---- Switch and captions ----------------------------------------------------

// Taps the switch key; returns the tick count just before it went down.
ULONGLONG tapSwitchKey();
// Left button down and up where the pointer is; returns the tick count
// just before the press.
ULONGLONG clickHere();

struct CaptionChange {
    std::wstring text;
    ULONGLONG at; // GetTickCount64 when the change was seen
};
// Polls the panel caption every few milliseconds and records each change
// until `count` changes are seen or timeoutMs passes. onChange runs right
// after a change is seen (to read the cells while that step is showing).
// Changes are counted from `from` when given (the caption read before the
// input that changes it: the product may act before the watch begins).
std::vector<CaptionChange> watchCaptions(HWND panel, size_t count, int timeoutMs,
                                         const std::function<void(const CaptionChange&)>& onChange = nullptr,
                                         const std::wstring* from = nullptr);
std::string captionList(const std::vector<CaptionChange>& changes);
bool checkCaptions(e2e::Run& run, const std::vector<CaptionChange>& changes,
                   const std::vector<std::wstring>& expected, const std::string& what);

// ---- Cells ---------------------------------------------------------------------

struct CellColours {
    COLORREF cell[CELL_COUNT];
};
// Each cell's background where its icon does not reach; CLR_INVALID for a
// cell whose corners disagree. False if the panel could not be read.
bool readCellColours(HWND panel, CellColours& colours);
// The cells while `highlighted` is scanned (-1: none): green there,
// grey for a click kind that is off, near-white elsewhere.
CellColours scanColours(int highlighted, const wchar_t* clicks);
// "" when equal, else the cells that differ.
std::string cellDifferences(const CellColours& seen, const CellColours& expected);
// Reads the cells until they show `expected` or timeoutMs passes; returns
// the differences last seen ("" once they matched).
std::string waitForCellColours(HWND panel, const CellColours& expected, int timeoutMs);

// ---- Crosshair -------------------------------------------------------------------

SIZE screenSize();
// Where an arm belongs for the pointer at p: left (0, y, x-10, 3), right
// (x+10, y, W, 3), up (x, 0, 3, y-10), down (x, y+10, 3, H).
RECT expectedArmRect(Arm arm, POINT p);
HWND findArm(const e2e::Run& run, Arm arm);
// All four arms exist and sit where they belong for p.
bool crosshairAt(const e2e::Run& run, POINT p);
// A press from rest builds the crosshair afresh before the scan timer is
// set. Waits until all four arms are shown and the left one is not
// `previousLeft`; the tick count then, 0 if not within timeoutMs.
ULONGLONG waitForFreshCrosshair(const e2e::Run& run, HWND previousLeft, int timeoutMs);
// One check per arm: it exists and sits where it belongs for p.
void checkCrosshairAt(e2e::Run& run, POINT p, const std::string& when);

} // namespace sp
