// Switch cases: what the armed keyboard or mouse switch keeps from other
// windows, how it counts as a press, and how Escape or a run of far mouse
// moves hands the input back during the re-arm countdown.
#include "product.h"

namespace {

struct Received {
    long keyDown, keyUp, chars, buttonDown, buttonUp;
};

Received received(const e2e::TestWindow& window) {
    return {window.received(WM_KEYDOWN), window.received(WM_KEYUP), window.received(WM_CHAR),
            window.received(WM_LBUTTONDOWN), window.received(WM_LBUTTONUP)};
}

std::string receivedText(const Received& before, const Received& after) {
    return "WM_KEYDOWN +" + std::to_string(after.keyDown - before.keyDown) + ", WM_KEYUP +" +
           std::to_string(after.keyUp - before.keyUp) + ", WM_CHAR +" +
           std::to_string(after.chars - before.chars) + ", WM_LBUTTONDOWN +" +
           std::to_string(after.buttonDown - before.buttonDown) + ", WM_LBUTTONUP +" +
           std::to_string(after.buttonUp - before.buttonUp);
}

bool sameKeys(const Received& a, const Received& b) {
    return a.keyDown == b.keyDown && a.keyUp == b.keyUp && a.chars == b.chars;
}

bool sameButtons(const Received& a, const Received& b) {
    return a.buttonDown == b.buttonDown && a.buttonUp == b.buttonUp;
}

bool isCountdown(const std::wstring& caption) { return caption.rfind(L"Ready (", 0) == 0; }

// Steps of the countdown: the k-th caption about k seconds after the first.
// Measured from the first rather than step to step: a timer message that
// waits behind a busy machine makes one gap long and the next one short,
// while the timer itself keeps its beat.
std::string secondsApart(const std::vector<sp::CaptionChange>& changes, bool* ok) {
    std::string out;
    for (size_t i = 1; i < changes.size(); ++i) {
        const ULONGLONG ms = changes[i].at - changes[i - 1].at;
        const long long drift =
            static_cast<long long>(changes[i].at - changes[0].at) - 1000LL * static_cast<long long>(i);
        *ok = *ok && drift >= -250 && drift <= 250;
        out += (out.empty() ? "" : " ") + std::to_string(ms);
    }
    return out;
}

} // namespace

E2E_CASE(keys_while_armed) {
    constexpr int PERIOD = 200;
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 0)),
                "keyboard-switch config.ini seeded");
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 660, 450}, L"e2e key target"), "target window opens");
    E2E_REQUIRE(target.bringToFront(), "target window has the keyboard focus");
    // Without the product the same key reaches the window; otherwise its
    // staying away below would prove nothing.
    e2e::keyTap(sp::SWITCH_KEY);
    E2E_REQUIRE(
        e2e::waitUntil([&] { return target.received(WM_CHAR) > 0 && target.received(WM_KEYUP) > 0; }, 1000),
        "control: a typed key reaches the target window");

    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return;
    E2E_REQUIRE(target.bringToFront(), "target window has the focus with the panel up");
    const Received start = received(target);
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", PERIOD + 1000), "the typed key starts the scan");
    E2E_REQUIRE(e2e::waitForCaption(panel, L"RIGHT", 3 * PERIOD), "scan goes on to RIGHT");
    const Received armed = received(target);
    E2E_CHECK(target.hasFocus(), "target window still has the focus while scanning (foreground: " +
                                     e2e::narrow(e2e::className(GetForegroundWindow())) + ")");
    E2E_CHECK(sameKeys(armed, start),
              "no key message reaches the target while armed (" + receivedText(start, armed) + ")");

    const std::wstring scanning = e2e::windowText(panel);
    const ULONGLONG escaped = GetTickCount64();
    e2e::keyTap(VK_ESCAPE);
    std::vector<sp::CaptionChange> countdown = sp::watchCaptions(panel, 3, 4500, nullptr, &scanning);
    sp::checkCaptions(run, countdown, {sp::READY, L"Ready (5 s)", L"Ready (4 s)"},
                      "Escape: \"Ready\", then the countdown");
    if (!countdown.empty())
        E2E_CHECK(countdown[0].at - escaped <= 300,
                  "\"Ready\" within 300 ms of Escape (" + std::to_string(countdown[0].at - escaped) + " ms)");
    if (countdown.size() > 1) {
        const ULONGLONG ms = countdown[1].at - escaped;
        E2E_CHECK(ms >= 800 && ms <= 1400,
                  "first countdown caption a second after Escape (" + std::to_string(ms) + " ms)");
    }
    // The release of Escape may come after the hook is gone; its press may not.
    E2E_CHECK_EQ(target.received(WM_KEYDOWN), armed.keyDown, "Escape itself is kept from the target");

    // Disarmed: keys are the target's again and start nothing.
    const Received disarmed = received(target);
    e2e::keyTap(sp::SWITCH_KEY);
    const bool typed = e2e::waitUntil(
        [&] {
            return target.received(WM_KEYDOWN) > disarmed.keyDown &&
                   target.received(WM_CHAR) > disarmed.chars;
        },
        500);
    E2E_CHECK(typed, "during the countdown a typed key reaches the target (" +
                         receivedText(disarmed, received(target)) + ")");
    E2E_CHECK(isCountdown(e2e::windowText(panel)),
              "and does not start the scan: caption " + e2e::toText(e2e::windowText(panel)));

    std::vector<sp::CaptionChange> rest = sp::watchCaptions(panel, 5, 5500);
    sp::checkCaptions(run, rest, {L"Ready (3 s)", L"Ready (2 s)", L"Ready (1 s)", L"Ready (0 s)", sp::READY},
                      "countdown runs out and the panel reads \"Ready\"");
    if (countdown.size() == 3 && rest.size() == 5) {
        bool ok = true;
        rest.insert(rest.begin(), countdown[2]);
        const std::string steps = secondsApart(rest, &ok);
        E2E_CHECK(ok, "countdown steps a second apart (" + steps + " ms; re-armed " +
                          std::to_string(rest.back().at - escaped) + " ms after Escape)");
    }

    // Re-armed: keys are the switch again.
    const Received rearmed = received(target);
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", PERIOD + 1000), "after re-arming a key starts the scan");
    E2E_CHECK(sameKeys(received(target), rearmed),
              "and is kept from the target (" + receivedText(rearmed, received(target)) + ")");
}

E2E_CASE(mouse_switch) {
    constexpr int PERIOD = 300;
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 1)),
                "mouse-switch config.ini seeded");
    // Large enough to hold every point the pointer visits below.
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 200, 900, 600}, L"e2e click target"), "target window opens");
    E2E_REQUIRE(e2e::mouseMoveTo(500, 400), "pointer on the target");
    sp::clickHere();
    E2E_REQUIRE(e2e::waitUntil([&] { return target.received(WM_LBUTTONUP) > 0; }, 1000),
                "control: a click reaches the target window");

    HWND panel = sp::startAndWaitForPanel(run, POINT{500, 400});
    if (!panel) return;
    E2E_CHECK(e2e::mouseMoveTo(520, 420), "with the mouse switch armed the pointer still moves");
    const Received start = received(target);
    sp::clickHere();
    const std::vector<sp::CaptionChange> first = sp::watchCaptions(panel, 1, PERIOD + 1500);
    sp::checkCaptions(run, first, {L"STOP"}, "the click starts the scan");
    E2E_CHECK(sameButtons(received(target), start),
              "the click is kept from the target (" + receivedText(start, received(target)) + ")");

    // Far moves: more than 20 px from where the product last moved the
    // pointer, which is (0,0) as it has not moved it yet. Which move of the
    // run brings the stop is not checked: under Wine the pointer snaps back to
    // an older position now and then while the arms move under it, and each
    // snap-back is one more far move for the product's hook.
    const POINT farPoints[2] = {{500, 500}, {800, 300}};
    bool allMoved = true;
    int stoppedAfter = 0;
    for (int i = 1; i <= 12; ++i) {
        allMoved = e2e::mouseMoveTo(farPoints[i % 2].x, farPoints[i % 2].y) && allMoved;
        if (!stoppedAfter && e2e::waitForCaption(panel, sp::READY, 80)) stoppedAfter = i;
    }
    E2E_CHECK(allMoved, "all twelve far moves moved the pointer");
    E2E_CHECK(stoppedAfter > 0, "the far moves stop everything: \"Ready\" after move " +
                                    std::to_string(stoppedAfter) + " of the run");
    const std::vector<sp::CaptionChange> countdown = sp::watchCaptions(panel, 2, 4000);
    sp::checkCaptions(run, countdown, {L"Ready (5 s)", L"Ready (4 s)"}, "then the countdown");

    const Received stopped = received(target);
    sp::clickHere();
    const bool clicked = e2e::waitUntil(
        [&] {
            return target.received(WM_LBUTTONUP) > stopped.buttonUp &&
                   target.received(WM_LBUTTONDOWN) > stopped.buttonDown;
        },
        500);
    E2E_CHECK(clicked,
              "after the stop a click reaches the target (" + receivedText(stopped, received(target)) + ")");
    E2E_CHECK(isCountdown(e2e::windowText(panel)),
              "and starts nothing: caption " + e2e::toText(e2e::windowText(panel)));
}

// The system takes the hook out behind the program's back (here the timing
// build does it on request): the first press after that is lost to the
// hook, but the watchdog sees it on raw input and puts the hook back, so
// the switch works again within a second.
E2E_CASE(hook_put_back_after_the_system_drops_it) {
    constexpr int PERIOD = 250;
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 0)), "keyboard switch");
    const std::wstring dir = run.exePath.substr(0, run.exePath.find_last_of(L"\\/") + 1);
    run.exePath = dir + L"bench\\switchpoint_bench.exe";
    HWND panel = sp::startAndWaitForPanel(run, POINT{500, 400});
    if (!panel) return;
    constexpr UINT DROP_HOOKS = WM_APP + 40; // the timing build's test message
    E2E_REQUIRE(e2e::sendTo(panel, DROP_HOOKS, 0, 0), "the hook is taken out behind the program's back");
    sp::tapSwitchKey();
    E2E_CHECK(!e2e::waitForCaption(panel, L"STOP", PERIOD + 300), "the press right after is lost");
    e2e::pause(1000 - (PERIOD + 300));
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", PERIOD + 1000),
              "a second later a press starts the scan again");
    std::vector<unsigned char> log;
    e2e::readFileBytes(e2e::inWorkDir(run, L"switchpoint.log"), log);
    const std::string text(log.begin(), log.end());
    E2E_CHECK(text.find("keyboard hook missed a press and was put back in") != std::string::npos,
              "switchpoint.log says so: " + text);
}

// Keyboard switch: a key that bounces (two closures a few milliseconds
// apart) is one press and starts the scan; a key held down for a second,
// its automatic repeats coming every 33 ms, is one press too.
E2E_CASE(bounce_and_held_key_act_once) {
    constexpr int PERIOD = 300;
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"0 0 0 0 0", 2, PERIOD, 0)),
                "keyboard-switch config.ini seeded");
    HWND panel = sp::startAndWaitForPanel(run, POINT{500, 400});
    if (!panel) return;

    e2e::keyDown(sp::SWITCH_KEY);
    e2e::pause(3);
    e2e::keyUp(sp::SWITCH_KEY);
    e2e::pause(5);
    e2e::keyDown(sp::SWITCH_KEY);
    e2e::pause(80);
    e2e::keyUp(sp::SWITCH_KEY);
    const std::vector<sp::CaptionChange> started = sp::watchCaptions(panel, 3, 3 * PERIOD + 1500);
    sp::checkCaptions(run, started, {L"STOP", L"LEFT", L"RIGHT"},
                      "a bouncing key starts the scan, which goes on");

    // Held on RIGHT: the pointer glides and goes on gliding; a second press
    // among the repeats would end the glide and scan again.
    const POINT before = e2e::cursorPos();
    const std::wstring held = e2e::windowText(panel);
    E2E_REQUIRE(held == L"RIGHT", "the key goes down on RIGHT (caption " + e2e::narrow(held) + ")");
    const ULONGLONG downAt = GetTickCount64();
    while (GetTickCount64() - downAt < 1000) {
        e2e::keyDown(sp::SWITCH_KEY);
        e2e::pause(33);
    }
    e2e::keyUp(sp::SWITCH_KEY);
    const std::vector<sp::CaptionChange> during = sp::watchCaptions(panel, 1, PERIOD + 200, nullptr, &held);
    const POINT after = e2e::cursorPos();
    E2E_CHECK(during.empty(),
              "the scan stays frozen on RIGHT through the hold and after it: " + sp::captionList(during));
    E2E_CHECK(after.x - before.x >= 30 && after.y == before.y,
              "and the pointer glided right throughout (" + std::to_string(after.x - before.x) + " px)");

    sp::tapSwitchKey();
    const std::vector<sp::CaptionChange> resumed =
        sp::watchCaptions(panel, 1, 2 * PERIOD + 1000, nullptr, &held);
    sp::checkCaptions(run, resumed, {L"UP"}, "the next press ends the glide and scanning goes on with UP");
}

// With hold_ms, taps shorter than the hold do nothing; a longer hold is a
// press as soon as the hold is reached, while the key is still down.
E2E_CASE(hold_ms_takes_only_held_presses) {
    constexpr int PERIOD = 300;
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"0 0 0 0 0", 2, PERIOD, 0)),
                "keyboard-switch config.ini seeded");
    E2E_REQUIRE(sp::seedOptions(run, "hold_ms = 400\r\n"), "options.ini seeded");
    HWND panel = sp::startAndWaitForPanel(run, POINT{500, 400});
    if (!panel) return;
    const auto tap = [](int ms) {
        e2e::keyDown(sp::SWITCH_KEY);
        e2e::pause(ms);
        e2e::keyUp(sp::SWITCH_KEY);
    };
    for (int ms : {60, 150, 250}) {
        tap(ms);
        e2e::pause(120);
    }
    const std::vector<sp::CaptionChange> afterTaps = sp::watchCaptions(panel, 1, 2 * PERIOD + 600);
    E2E_CHECK(afterTaps.empty(), "taps of 60, 150 and 250 ms start nothing: " + sp::captionList(afterTaps));

    e2e::keyDown(sp::SWITCH_KEY);
    const std::vector<sp::CaptionChange> held = sp::watchCaptions(panel, 1, 400 + PERIOD + 600);
    e2e::keyUp(sp::SWITCH_KEY);
    E2E_CHECK(!held.empty() && held[0].text == L"STOP",
              "a held key starts the scan before it is let go: " + sp::captionList(held));

    // Scanning, a short tap still does nothing: the scan goes on.
    tap(100);
    const std::vector<sp::CaptionChange> going = sp::watchCaptions(panel, 3, 3 * PERIOD + 1000);
    sp::checkCaptions(run, going, {L"LEFT", L"RIGHT", L"UP"}, "a short tap leaves the scan going");
}
