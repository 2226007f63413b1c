// The configuration window's logic: opening and closing, what each control
// does to the settings record and the running system, and the mappings
// between slider positions and setting values. The window itself (its
// thread, controls and pictures) is the platform's. It changes nothing
// itself: each change is a request that the panel's thread carries out with
// these, one after another with the scan and the switch, and the window
// then shows what the panel's thread has made of it.
#pragma once

#include <string>

#include "config_window/options_texts.h"
#include "platform/platform.h"

namespace sp {

constexpr int OPACITY_MIN = 15;
constexpr int OPACITY_MAX = 255;

// ---- Opening and closing ------------------------------------------------------

// Claims the window and asks the platform for its thread. False, and
// nothing started, when a window is already open or on its way.
bool openConfigWindow(Platform& p);
// The window is gone, or never came: it may be opened again.
void configWindowGone();
// The language the open window shows its words in.
TextLanguage configWindowLanguage();
// The shown states of the toggles, from the settings record.
void initShownStates();
// TIMER_CONFIG: the crosshair comes back when scanning goes on.
void configTimerTick(Platform& p);
// "ACEPTAR": writes the file. False when the file does not hold the
// settings afterwards, or is held open by another program since start-up;
// the window then stays open.
bool acceptSettings(Platform& p);
// Every way of closing, before the window is destroyed: the file's values
// are in force again, in the record and in the running system.
void closeConfigWindow(Platform& p);
// The file read back into the record, the scan built from it, and applied,
// as before the window opens and once it has closed.
void takeSettingsFile(Platform& p);
// The window is being destroyed; configWindowGone follows once it is.
void configWindowDestroyed(Platform& p);

// ---- Sliders --------------------------------------------------------------------

struct SliderBand {
    int moveStep;
    int scanPeriodMs;
    int position; // where the slider is set back to
};
SliderBand sliderBand(int position);

int sliderFromSpeed();
int sliderFromPeriod();
// Each returns the position to set the slider to.
int speedFromSlider(Platform& p, int position);
int periodFromSlider(Platform& p, int position);
int opacityFromSlider(Platform& p, int position);
// "50 %": the percent label for an opacity.
std::string opacityLabel(int opacity);

// ---- Toggles ---------------------------------------------------------------------

// Kind 0 left, 1 double, 2 right, 3 middle, 4 drag. False when refused.
bool toggleClickKind(Platform& p, int kind);
void toggleHelpBox(Platform& p);
void toggleSound(Platform& p);
// device 1 mouse, 0 keyboard. False when it is the one already chosen.
bool chooseDevice(Platform& p, int device);

// ---- Colour dialog -----------------------------------------------------------------

void beforeColourDialog(Platform& p);
void afterColourDialog(Platform& p, bool chosen, Colour colour);

// ---- Requests from the window -------------------------------------------------------

// What the window asks for, each with the value it carries (or none).
enum class ConfigRequest : int {
    TimerTick,
    ClickKind, // the kind, 0 to 4
    Device,    // 1 mouse, 0 keyboard
    Sound,
    HelpBox,
    Speed,  // the slider's position
    Period, // the slider's position
    Opacity,
    ColourDialogOpening,
    ColourChosen, // the colour
    ColourKept,
    Accept,
    Close,
    Destroyed,
    Gone,
};

// Carries one request out, on the panel's thread, and answers the window:
// a change is followed by ShowState, "ACEPTAR" by SaveFailed or, like a
// close, by CloseNow once the close sequence has run. After that sequence
// the window's further changes are void: the file's values stay in force.
void handleConfigRequest(Platform& p, ConfigRequest request, int value);

} // namespace sp
