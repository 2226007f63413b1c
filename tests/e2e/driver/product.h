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

// Time allowed from CreateProcess until the panel is up; Wine is slow to
// start a process the first time in a fresh wineserver.
constexpr int START_TIMEOUT_MS = 8000;

// The settings file text that the defaults produce, line ends included.
constexpr wchar_t DEFAULT_SETTINGS_TEXT[] = L"1 1 1 1 1\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n";

// Outer size of the panel, computed from the same system metrics it uses.
int panelOuterWidth();
int panelOuterHeight();

// Writes config.ini into the work directory (byte-order mark + UTF-16LE).
bool seedSettings(e2e::Run& run, const std::wstring& text);
std::vector<unsigned char> settingsBytes(e2e::Run& run);

// Parks the pointer away from the panel (the crosshair follows the
// pointer), starts the product and waits until its panel is visible with
// the caption "Ready". Records checks; null if the panel never showed.
HWND startAndWaitForPanel(e2e::Run& run);

}  // namespace sp
