// What the configuration window is made of: its size and place, and every
// control in creation order with its id, kind, text or picture, rectangle
// and font. The window builds itself from this table and nothing else; its
// words come from the texts table, in the language it was opened in.
#pragma once

#include <string>

#include "config_window/options_texts.h"
#include "platform/platform.h"
#include "platform/scale.h"

namespace sp {

constexpr int CONFIG_WIDTH = 640;
constexpr int CONFIG_HEIGHT = 555;

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
    const char* text;    // a key of the texts table; without a row, the text itself
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

// The window's title, and a control's words and picture, in `language`.
std::string configTitle(TextLanguage language);
std::string controlText(const ControlRow& row, TextLanguage language);
const char* controlPicture(const ControlRow& row, TextLanguage language);

} // namespace sp
