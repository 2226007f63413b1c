// The options window's logic.
#include "config_window/options_window.h"

#include <algorithm>

#include "config_window/own_windows.h"
#include "pointer/step_aside.h"
#include "scan/cells.h"
#include "scan/scan.h"

namespace sp {

namespace {

OptionsWindowState g_window;

void setLanguage(Platform& p) {
    const bool spanish = textLanguageFor(currentOptions().value[OPTION_LANGUAGE], p.userLanguageSpanish()) ==
                         TextLanguage::Spanish;
    g_window.spanish = spanish ? 1 : 0;
}

bool stepsAside() { return currentOptions().value[OPTION_PANEL_STEPS_ASIDE] == 1; }

// What follows from the options just put in force.
void followOptions(Platform& p, bool steppedAside) {
    if (layOutListedCells()) {
        p.layOutPanel();
        buildScanSequence();
        keepScanInSequence();
    }
    // Put aside by an option that is now off, it would stay there for good.
    if (steppedAside && !stepsAside()) returnPanelHome(p);
    setLanguage(p);
}

void accept(Platform& p) {
    switch (saveOptions(p)) {
    case OptionsSaved::Saved: closeOwnWindow(p, OwnWindow::Options); return;
    case OptionsSaved::ReadOnly: p.answerOwnWindow(OwnWindow::Options, WindowAnswer::ReadOnly); return;
    case OptionsSaved::Failed: p.answerOwnWindow(OwnWindow::Options, WindowAnswer::SaveFailed); return;
    }
}

int stepped(const OptionDef& def, int value, int step, bool up) {
    if (def.zeroMeansOff) {
        // Off sits just below the range.
        if (up && value == 0) return def.low;
        if (!up && value <= def.low) return 0;
    }
    return std::clamp(up ? value + step : value - step, def.low, def.high);
}

} // namespace

const OptionsWindowState& optionsWindowState() { return g_window; }

void resetOptionsWindowState() { g_window.spanish = 0; }

TextLanguage optionsWindowLanguage() {
    return g_window.spanish == 1 ? TextLanguage::Spanish : TextLanguage::English;
}

void openOptionsWindow(Platform& p) {
    if (!claimOwnWindow(OwnWindow::Options)) return;
    setLanguage(p);
    p.openOwnWindow(OwnWindow::Options);
}

void optionsWindowGone() { ownWindowGone(OwnWindow::Options); }

OptionValues optionsAfterClick(const OptionValues& values, const OptionsControl& control) {
    OptionValues now = values;
    if (control.option < 0 || control.option >= OPTION_COUNT) return now;
    const OptionDef& def = optionDef(control.option);
    int& value = now.value[control.option];
    switch (control.action) {
    case OptionsAction::Minus:
    case OptionsAction::Plus:
        value = stepped(def, value, optionStep(def.key), control.action == OptionsAction::Plus);
        break;
    case OptionsAction::Toggle: value = value == 1 ? 0 : 1; break;
    case OptionsAction::Choose: value = control.arg; break;
    case OptionsAction::Cell: {
        std::vector<int>& cells = now.extraCells;
        const int extra = extraCellOf(control.arg);
        const auto at = std::find(cells.begin(), cells.end(), extra);
        if (at != cells.end())
            cells.erase(at);
        else if (extra != NOT_LISTED && cells.size() < static_cast<std::size_t>(MOST_EXTRA_CELLS))
            cells.push_back(extra);
        break;
    }
    default: break;
    }
    return now;
}

void reloadOptions(Platform& p) {
    const bool steppedAside = stepsAside();
    loadOptions(p);
    followOptions(p, steppedAside);
}

void applyOptions(Platform& p, const OptionValues& values) {
    const bool steppedAside = stepsAside();
    useOptions(values);
    followOptions(p, steppedAside);
}

void handleOptionsRequest(Platform& p, OptionsRequest request, int value) {
    if (strayRequest(OwnWindow::Options)) return;
    if (request == OptionsRequest::Gone) {
        optionsWindowGone();
        return;
    }
    OptionsControl control{};
    const bool known = request == OptionsRequest::Control && findOptionsControl(value, control);
    const bool closes =
        request == OptionsRequest::Close || (known && control.action == OptionsAction::Cancel);
    if (answeredAfterClose(p, OwnWindow::Options,
                           closes || (known && control.action == OptionsAction::Accept)))
        return;
    if (closes) {
        closeOwnWindow(p, OwnWindow::Options, reloadOptions);
        return;
    }
    if (!known) return;
    if (control.action == OptionsAction::Accept) {
        accept(p);
        return;
    }
    const OptionValues now = optionsAfterClick(currentOptions(), control);
    if (!(now == currentOptions())) applyOptions(p, now);
    p.answerOwnWindow(OwnWindow::Options, WindowAnswer::ShowState);
}

} // namespace sp
