// What the options window is made of: one row per option of the option
// table, in table order, each with its label, its hint and the controls its
// type calls for, then the notice line and "OK" and "Cancel". Built from the
// option table, so an option added there shows with no change here. Every
// figure is in 96-DPI pixels; at another scale each rectangle is multiplied.
#pragma once

#include <string>
#include <vector>

#include "config_window/options_texts.h"
#include "platform/platform.h"
#include "settings/options.h"

namespace sp {

struct OptionsGeometry {
    int margin;
    int rowHeight;
    int labelWidth;
    int labelHeight;
    int hintHeight;
    int gap;
    // Every control the user hits is this high, at least 24 pixels.
    int controlHeight;
    int stepWidth;   // "-" and "+"
    int valueWidth;  // the number between them
    int toggleWidth; // an on/off, a choice, a listed cell
    int noticeHeight;
    int buttonWidth; // "OK", "Cancel"
    int buttonHeight;
};
constexpr OptionsGeometry OPTIONS_GEOMETRY = {10, 36, 360, 18, 16, 6, 26, 30, 60, 100, 20, 100, 28};

enum class OptionsControlKind { Label, Hint, Value, Push, Toggle, Notice };
// What a click on the control asks for.
enum class OptionsAction { None, Minus, Plus, Toggle, Choose, Cell, Accept, Cancel };

struct OptionsControl {
    int id;
    OptionsControlKind kind;
    OptionsAction action;
    int option; // -1 for the window's own controls
    int arg;    // Choose: the choice's index; Cell: the cell id
    Rect rect;  // in the window's client area
};

constexpr int OPTIONS_ID_OK = 1;
constexpr int OPTIONS_ID_CANCEL = 2;
constexpr int OPTIONS_ID_NOTICE = 3;

// Every control in creation order.
std::vector<OptionsControl> optionsControls();
// The control of an id; false for an id the window does not have.
bool findOptionsControl(int id, OptionsControl& out);
Size optionsClientSize();

// On a screen too short for every row (a small laptop at 125 %), the
// client is as high as there is room for and scrolls, so "OK" can always be
// reached. Pixels at the window's scale.
struct OptionsFit {
    int clientHeight;
    int scrollRange; // 0: everything shows
};
OptionsFit fitOptions(int contentHeight, int room);

enum class OptionsScroll { LineUp, LineDown, PageUp, PageDown, To, Top, Bottom };
// The scroll position after one request of the scroll bar or the wheel, held
// in range: a line is `line` pixels (a row), a page the client less a line.
int scrollOptions(int position, OptionsScroll how, int to, const OptionsFit& fit, int line);

// What a control shows for these values: a label, a hint, a number, a
// choice's or a cell's name, "On"/"Off". The notice is empty until a save fails.
std::string optionsControlText(const OptionsControl& control, const OptionValues& values,
                               TextLanguage language);
// Whether a toggle shows pressed: on, the choice in force, the cell listed.
bool optionsControlPressed(const OptionsControl& control, const OptionValues& values);

} // namespace sp
