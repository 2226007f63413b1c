// What the configuration window is made of: its size and place, and every
// control in creation order with its id, kind, text or picture, rectangle
// and font. The window builds itself from this table and nothing else.
#pragma once

#include "platform/platform.h"
#include "platform/scale.h"

namespace sp {

constexpr int CONFIG_WIDTH = 640;
constexpr int CONFIG_HEIGHT = 555;
constexpr const char* CONFIG_TITLE = u8"CONFIGURACI\u00D3N";

// Centred on the screen, its size scaled for `dpi`; on a screen narrower or
// lower than the window the window starts beyond the edge.
Rect configWindowRect(Size screen, int dpi = BASE_DPI);

enum class ControlKind { Group, Icon, Label, Text, Picture, Link, Toggle, Slider, Swatch, Push, Notice };
enum class ControlFont { None, Bold, Light, Underlined };

// Control ids the window's handlers dispatch on.
enum ControlId : int {
    ID_ACCEPT = 0,
    ID_CANCEL = 1,
    ID_SWATCH = 2,
    ID_FIRST_CLICK_TOGGLE = 9, // left, double, right, middle, drag: 9 to 13
    ID_MOUSE_TOGGLE = 14,
    ID_KEYBOARD_TOGGLE = 15,
    ID_SOUND_TOGGLE = 16,
    ID_HELP_TOGGLE = 17,
    ID_FIRST_LINK = 29, // 29 to 32
    ID_LAST_LINK = 32,
    ID_BANNER = 33,
    ID_PERCENT = 50,
    ID_SPEED_SLIDER = 54,
    ID_PERIOD_SLIDER = 55,
    ID_OPACITY_SLIDER = 56,
    // Where a failed save is reported; hidden until then.
    ID_NOTICE = 57,
};

struct ControlRow {
    int id;
    ControlKind kind;
    const char* text;    // UTF-8 window text
    const char* picture; // icon or bitmap resource name, or null
    int x;
    int y;
    int width;
    int height;
    ControlFont font;
};

// A control's rectangle in the window at `dpi`: the table's, scaled.
Rect controlRect(const ControlRow& row, int dpi);

extern const ControlRow CONFIG_CONTROLS[];
extern const int CONFIG_CONTROL_COUNT;

constexpr const char* SAVE_FAILED_NOTICE = u8"No se pudo guardar la configuraci\u00F3n";
// While config.ini is held open by another program since start-up.
constexpr const char* FILE_IN_USE_NOTICE =
    u8"config.ini est\u00E1 en uso por otro programa: a\u00FAn no se puede guardar";

} // namespace sp
