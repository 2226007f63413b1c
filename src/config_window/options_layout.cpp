// The options window's layout, from the option table.
#include "config_window/options_layout.h"

#include <algorithm>

#include "scan/cells.h"

namespace sp {

namespace {

using K = OptionsControlKind;
using A = OptionsAction;
constexpr OptionsGeometry G = OPTIONS_GEOMETRY;

// Room in the ids for one row's controls: label, hint and its buttons.
constexpr int IDS_PER_ROW = 32;
constexpr int FIRST_ROW_ID = 100;

// A number from 0 to 1 is a switch, shown as one toggle.
bool isOnOff(const OptionDef& def) { return def.type == OptionType::Number && def.low == 0 && def.high == 1; }

std::vector<int> listableCells() {
    std::vector<int> cells;
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (listedWord(cell)) cells.push_back(cell);
    return cells;
}

// The controls right of an option's label, each with the action a click
// on it asks for and what it stands for.
struct Slot {
    K kind;
    A action;
    int arg;
    int width;
};

std::vector<Slot> slotsOf(const OptionDef& def) {
    std::vector<Slot> slots;
    if (isOnOff(def)) {
        slots.push_back({K::Toggle, A::Toggle, 0, G.toggleWidth});
    } else if (def.type == OptionType::Number) {
        slots.push_back({K::Push, A::Minus, 0, G.stepWidth});
        slots.push_back({K::Value, A::None, 0, G.valueWidth});
        slots.push_back({K::Push, A::Plus, 0, G.stepWidth});
    } else if (def.type == OptionType::Choice) {
        for (int choice = 0; choice <= def.high; ++choice)
            slots.push_back({K::Toggle, A::Choose, choice, G.toggleWidth});
    } else {
        for (int cell : listableCells()) slots.push_back({K::Toggle, A::Cell, cell, G.toggleWidth});
    }
    return slots;
}

int controlsLeft() { return G.margin + G.labelWidth + G.gap; }

int rowsWidth() {
    int widest = 0;
    for (int option = 0; option < OPTION_COUNT; ++option) {
        int width = 0;
        for (const Slot& slot : slotsOf(optionDef(option))) width += (width > 0 ? G.gap : 0) + slot.width;
        widest = std::max(widest, width);
    }
    return controlsLeft() + widest + G.margin;
}

int buttonsTop() { return G.margin + OPTION_COUNT * G.rowHeight + G.gap + G.noticeHeight + G.gap; }

bool contains(const std::vector<int>& cells, int cell) {
    return std::find(cells.begin(), cells.end(), cell) != cells.end();
}

} // namespace

std::vector<OptionsControl> optionsControls() {
    std::vector<OptionsControl> controls;
    for (int option = 0; option < OPTION_COUNT; ++option) {
        const int top = G.margin + option * G.rowHeight;
        int id = FIRST_ROW_ID + option * IDS_PER_ROW;
        controls.push_back(
            {id++, K::Label, A::None, option, 0, {G.margin, top, G.labelWidth, G.labelHeight}});
        controls.push_back(
            {id++, K::Hint, A::None, option, 0, {G.margin, top + G.labelHeight, G.labelWidth, G.hintHeight}});
        int left = controlsLeft();
        const int controlTop = top + (G.rowHeight - G.controlHeight) / 2;
        for (const Slot& slot : slotsOf(optionDef(option))) {
            controls.push_back({id++,
                                slot.kind,
                                slot.action,
                                option,
                                slot.arg,
                                {left, controlTop, slot.width, G.controlHeight}});
            left += slot.width + G.gap;
        }
    }
    const int width = rowsWidth();
    const int noticeTop = buttonsTop() - G.gap - G.noticeHeight;
    controls.push_back({OPTIONS_ID_NOTICE,
                        K::Notice,
                        A::None,
                        -1,
                        0,
                        {G.margin, noticeTop, width - 2 * G.margin, G.noticeHeight}});
    const int cancelLeft = width - G.margin - G.buttonWidth;
    controls.push_back({OPTIONS_ID_OK,
                        K::Push,
                        A::Accept,
                        -1,
                        0,
                        {cancelLeft - G.gap - G.buttonWidth, buttonsTop(), G.buttonWidth, G.buttonHeight}});
    controls.push_back({OPTIONS_ID_CANCEL,
                        K::Push,
                        A::Cancel,
                        -1,
                        0,
                        {cancelLeft, buttonsTop(), G.buttonWidth, G.buttonHeight}});
    return controls;
}

bool findOptionsControl(int id, OptionsControl& out) {
    for (const OptionsControl& control : optionsControls())
        if (control.id == id) {
            out = control;
            return true;
        }
    return false;
}

Size optionsClientSize() { return {rowsWidth(), buttonsTop() + G.buttonHeight + G.margin}; }

OptionsFit fitOptions(int contentHeight, int room) {
    const int height = std::max(1, std::min(contentHeight, room));
    return {height, std::max(0, contentHeight - height)};
}

int scrollOptions(int position, OptionsScroll how, int to, const OptionsFit& fit, int line) {
    const int page = std::max(line, fit.clientHeight - line);
    int next = position;
    switch (how) {
    case OptionsScroll::LineUp: next -= line; break;
    case OptionsScroll::LineDown: next += line; break;
    case OptionsScroll::PageUp: next -= page; break;
    case OptionsScroll::PageDown: next += page; break;
    case OptionsScroll::To: next = to; break;
    case OptionsScroll::Top: next = 0; break;
    case OptionsScroll::Bottom: next = fit.scrollRange; break;
    }
    return std::clamp(next, 0, fit.scrollRange);
}

std::string optionsControlText(const OptionsControl& control, const OptionValues& values,
                               TextLanguage language) {
    if (control.option < 0) {
        switch (control.action) {
        case A::Accept: return optionsText("ok", language, "OK");
        case A::Cancel: return optionsText("cancel", language, "Cancel");
        default: return "";
        }
    }
    const OptionDef& def = optionDef(control.option);
    const std::string key = def.key;
    switch (control.action) {
    case A::Minus: return "-";
    case A::Plus: return "+";
    case A::Toggle:
        return values.value[control.option] == 1 ? optionsText("on", language, "On")
                                                 : optionsText("off", language, "Off");
    case A::Choose: {
        const std::string word = def.words[control.arg];
        return optionsText(key + "." + word, language, word);
    }
    case A::Cell: {
        const std::string word = listedWord(control.arg);
        return optionsText("cell." + word, language, captionForCell(control.arg));
    }
    default: break;
    }
    switch (control.kind) {
    case K::Label: return optionsText(key, language, key);
    case K::Hint: return optionsHint(key, language);
    case K::Value: return std::to_string(values.value[control.option]);
    default: return "";
    }
}

bool optionsControlPressed(const OptionsControl& control, const OptionValues& values) {
    switch (control.action) {
    case A::Toggle: return values.value[control.option] == 1;
    case A::Choose: return values.value[control.option] == control.arg;
    case A::Cell: return contains(values.extraCells, extraCellOf(control.arg));
    default: return false;
    }
}

} // namespace sp
