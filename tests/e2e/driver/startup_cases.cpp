// Start-up cases: what happens to config.ini, whatever state it is found in.
#include "product.h"

namespace {

// Settings that differ from the defaults in every line, so a file that was
// silently replaced by the defaults cannot pass for one that was kept.
constexpr wchar_t NON_DEFAULT_SEVEN_LINES[] = L"1 0 1 0 1\r\n5\r\n900\r\n128\r\n100\r\n1\r\n1\r\n";

// The settings file is handled before the panel is shown, so once the panel
// is up the file must already be final; the short wait only absorbs a slow
// file system.
constexpr int FILE_SETTLE_MS = 1500;

std::vector<unsigned char> settingsOnceEqual(e2e::Run& run, const std::vector<unsigned char>& expected) {
    std::vector<unsigned char> bytes;
    e2e::waitUntil([&] { return (bytes = sp::settingsBytes(run)) == expected; }, FILE_SETTLE_MS, 20);
    return bytes;
}

} // namespace

E2E_CASE(startup_default_file) {
    const std::wstring path = e2e::inWorkDir(run, sp::SETTINGS_FILE);
    E2E_REQUIRE(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES,
                "work directory starts without config.ini");
    if (!sp::startAndWaitForPanel(run)) return;
    const std::vector<unsigned char> expected = e2e::utf16leWithBom(sp::DEFAULT_SETTINGS_TEXT);
    E2E_CHECK_BYTES(settingsOnceEqual(run, expected), expected,
                    "config.ini written with the default settings (BOM, UTF-16LE, CR LF)");
}

E2E_CASE(seven_line_file) {
    E2E_REQUIRE(sp::seedSettings(run, NON_DEFAULT_SEVEN_LINES), "seven-line config.ini seeded");
    if (!sp::startAndWaitForPanel(run)) return;
    const std::vector<unsigned char> expected = e2e::utf16leWithBom(sp::DEFAULT_SETTINGS_TEXT);
    E2E_CHECK_BYTES(settingsOnceEqual(run, expected), expected,
                    "seven-line config.ini replaced by the default file");
}

E2E_CASE(valid_file_kept) {
    // Eight lines: the seven above plus the keyboard as switch.
    const std::wstring text = std::wstring(NON_DEFAULT_SEVEN_LINES) + L"0\r\n";
    E2E_REQUIRE(sp::seedSettings(run, text), "eight-line config.ini seeded");
    const std::vector<unsigned char> seeded = sp::settingsBytes(run);
    if (!sp::startAndWaitForPanel(run)) return;
    // Give a wrong rewrite the same time to happen as the cases above allow.
    e2e::pause(FILE_SETTLE_MS);
    E2E_CHECK_BYTES(sp::settingsBytes(run), seeded, "valid config.ini left as it was");
}

E2E_CASE(config_is_directory) {
    const std::wstring path = e2e::inWorkDir(run, sp::SETTINGS_FILE);
    E2E_REQUIRE(CreateDirectoryW(path.c_str(), nullptr) != 0, "config.ini created as a directory");
    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return;
    // The start delay re-applies the settings 1.5 s after start-up; the
    // crosshair appearing marks that it has run. Survive it, too.
    e2e::waitForProductWindow(run, sp::ARM_CLASSES[0], 4000);
    e2e::pause(300);
    E2E_CHECK(e2e::productRunning(run), "product still running after the start delay");
    E2E_CHECK(e2e::sendTo(panel, WM_NULL, 0, 0), "panel still answers messages");
    E2E_CHECK_EQ(e2e::windowText(panel), std::wstring(sp::READY), "panel caption afterwards");
    E2E_CHECK(e2e::isDirectory(path), "config.ini is still a directory");
}

namespace {

constexpr wchar_t COPY_FILE[] = L"config.ini.bad";
constexpr wchar_t LOG_FILE[] = L"switchpoint.log";
// A keyboard switch, so a file read on the defaults (a mouse switch) shows.
const std::wstring KEYBOARD_TEXT = sp::settingsText(L"1 1 1 1 1", 2, 200, 0);

std::string fileText(e2e::Run& run, const wchar_t* name) {
    std::vector<unsigned char> bytes;
    e2e::readFileBytes(e2e::inWorkDir(run, name), bytes);
    return std::string(bytes.begin(), bytes.end());
}

bool exists(e2e::Run& run, const wchar_t* name) {
    return GetFileAttributesW(e2e::inWorkDir(run, name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void checkLogged(e2e::Run& run, const std::string& part, const char* subject = "config.ini: ") {
    const std::string log = fileText(run, LOG_FILE);
    e2e::check(run, log.find(subject + part) != std::string::npos, "switchpoint.log says \"" + part + "\"",
               "it holds \"" + log + "\"", __FILE__, __LINE__);
}

// The switch starts the scan: the first scan step names the stop cell.
void checkKeyScans(e2e::Run& run, HWND panel, const std::string& what) {
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", 1500), what);
}

// As a backup tool or a virus scanner holds it: shared with no one.
HANDLE holdSettingsOpen(e2e::Run& run) {
    return CreateFileW(e2e::inWorkDir(run, sp::SETTINGS_FILE).c_str(), GENERIC_READ, 0, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Another copy of the product beside the one the run owns.
bool startCopy(e2e::Run& run, PROCESS_INFORMATION& copy) {
    std::wstring commandLine = L"\"" + run.exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(run.exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          run.workDir.c_str(), &startup, &copy) != 0;
}

} // namespace

E2E_CASE(unusable_file_kept) {
    // Big-endian UTF-16 is no text the reader takes.
    std::vector<unsigned char> seeded{0xFE, 0xFF};
    for (wchar_t c : std::wstring(NON_DEFAULT_SEVEN_LINES) + L"0\r\n") {
        seeded.push_back(0);
        seeded.push_back(static_cast<unsigned char>(c));
    }
    E2E_REQUIRE(e2e::writeFileBytes(e2e::inWorkDir(run, sp::SETTINGS_FILE), seeded),
                "UTF-16BE config.ini seeded");
    if (!sp::startAndWaitForPanel(run)) return;
    std::vector<unsigned char> copy;
    e2e::readFileBytes(e2e::inWorkDir(run, COPY_FILE), copy);
    E2E_CHECK_BYTES(copy, seeded, "config.ini.bad holds the file as it was");
    const std::vector<unsigned char> defaults = e2e::utf16leWithBom(sp::DEFAULT_SETTINGS_TEXT);
    E2E_CHECK_BYTES(settingsOnceEqual(run, defaults), defaults, "config.ini holds the defaults");
    checkLogged(run, "not UTF-16LE or UTF-8 text; kept as config.ini.bad");
}

E2E_CASE(read_only_file_kept) {
    E2E_REQUIRE(sp::seedSettings(run, NON_DEFAULT_SEVEN_LINES), "seven-line config.ini seeded");
    const std::wstring path = e2e::inWorkDir(run, sp::SETTINGS_FILE);
    E2E_REQUIRE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY) != 0, "made read-only");
    const std::vector<unsigned char> seeded = sp::settingsBytes(run);
    if (!sp::startAndWaitForPanel(run)) return;
    e2e::pause(FILE_SETTLE_MS);
    E2E_CHECK_BYTES(sp::settingsBytes(run), seeded, "read-only config.ini keeps its content");
    const DWORD attributes = GetFileAttributesW(path.c_str());
    E2E_CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0,
              "config.ini is still read-only");
    E2E_CHECK(!exists(run, COPY_FILE), "no copy is made of a file that is left alone");
    checkLogged(run, "fewer than 8 lines; read-only, so left as it is; running on the defaults");
}

E2E_CASE(locked_file_waited_for) {
    E2E_REQUIRE(sp::seedSettings(run, KEYBOARD_TEXT), "keyboard-switch config.ini seeded");
    const std::vector<unsigned char> seeded = sp::settingsBytes(run);
    HANDLE held = holdSettingsOpen(run);
    E2E_REQUIRE(held != INVALID_HANDLE_VALUE, "config.ini held open with no sharing");
    E2E_CHECK(e2e::mouseMoveTo(700, 500), "pointer parked");
    E2E_REQUIRE(e2e::launchProduct(run), "product starts");
    // The panel exists, still hidden, from just before the settings are read
    // until they have been; hold the file for a second of that.
    HWND panel = e2e::waitForProductWindow(run, sp::PANEL_CLASS, sp::START_TIMEOUT_MS);
    e2e::pause(1000);
    const bool waited = panel && !IsWindowVisible(panel);
    CloseHandle(held);
    E2E_REQUIRE(panel != nullptr, "panel window appears");
    E2E_CHECK(waited, "start-up waits while config.ini is held");
    E2E_REQUIRE(e2e::waitUntil([&] { return IsWindowVisible(panel) != FALSE; }, 3000) &&
                    e2e::windowText(panel) == sp::READY,
                "panel shows \"Ready\" once the file is released");
    checkKeyScans(run, panel, "the file's own keyboard switch starts the scan");
    E2E_CHECK_BYTES(sp::settingsBytes(run), seeded, "config.ini left as it was");
    E2E_CHECK(!exists(run, LOG_FILE), "nothing logged: the file was read");
}

// Held 5 s: the program starts on the defaults (a mouse switch), and once
// the file is let go takes it, keyboard switch and all.
E2E_CASE(locked_file_read_once_free) {
    E2E_REQUIRE(sp::seedSettings(run, KEYBOARD_TEXT), "keyboard-switch config.ini seeded");
    HANDLE held = holdSettingsOpen(run);
    const ULONGLONG from = GetTickCount64();
    HWND panel = sp::startAndWaitForPanel(run);
    HWND before = nullptr; // the defaults' crosshair: taking the file brings a fresh one
    e2e::waitUntil([&] { return (before = sp::findArm(run, sp::ARM_LEFT)) != nullptr; }, 3000);
    e2e::waitUntil([&] { return GetTickCount64() >= from + 5000; }, 5000);
    CloseHandle(held);
    if (!panel) return;
    checkLogged(run, "held open by another program for 2 s; running on the defaults, nothing written");
    E2E_CHECK(before && sp::waitForFreshCrosshair(run, before, 3500),
              "at rest anew within 3.5 s of the release");
    checkLogged(run, "free again after");
    checkKeyScans(run, panel, "the file's own keyboard switch starts the scan");
}

E2E_CASE(second_copy_exits) {
    E2E_REQUIRE(sp::seedSettings(run, KEYBOARD_TEXT), "keyboard-switch config.ini seeded");
    const std::vector<unsigned char> seeded = sp::settingsBytes(run);
    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return;
    e2e::postTo(panel, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    E2E_REQUIRE(e2e::waitUntil([&] { return IsIconic(panel) != FALSE; }, 2000), "panel minimised");
    e2e::TestWindow user;
    E2E_REQUIRE(user.open(RECT{300, 250, 660, 450}, L"e2e user window"), "user window opens");
    E2E_REQUIRE(user.bringToFront(), "user window has the focus");

    PROCESS_INFORMATION second{};
    const ULONGLONG started = GetTickCount64();
    E2E_REQUIRE(startCopy(run, second), "second copy starts");
    const bool ended = WaitForSingleObject(second.hProcess, 3000) == WAIT_OBJECT_0;
    const ULONGLONG tookMs = GetTickCount64() - started;
    DWORD code = 1;
    GetExitCodeProcess(second.hProcess, &code);
    if (!ended) TerminateProcess(second.hProcess, 1);
    CloseHandle(second.hThread);
    CloseHandle(second.hProcess);
    // It stays a second after the first has shown itself, in case that one is ending.
    E2E_CHECK(ended && tookMs <= 2000, "second copy ends within 2 s (" + std::to_string(tookMs) + " ms)");
    E2E_CHECK_EQ(code, 0u, "second copy's exit code");
    E2E_CHECK(e2e::waitUntil([&] { return IsIconic(panel) == FALSE && IsWindowVisible(panel); }, 1000),
              "the running panel is restored");
    E2E_CHECK(user.hasFocus(), "the user's window keeps the focus");
    E2E_CHECK(e2e::sendTo(panel, WM_NULL, 0, 0), "the running panel still answers");
    E2E_CHECK_BYTES(sp::settingsBytes(run), seeded, "config.ini untouched");
    E2E_CHECK(!exists(run, LOG_FILE), "nothing logged");
    checkKeyScans(run, panel, "the first copy still scans on a key press");
}

// A first copy that is frozen (as a debugger or a hung driver leaves it)
// must not keep the user from starting one that works.
E2E_CASE(second_copy_past_frozen_first) {
    E2E_REQUIRE(sp::seedSettings(run, KEYBOARD_TEXT), "keyboard-switch config.ini seeded");
    PROCESS_INFORMATION first{};
    E2E_REQUIRE(startCopy(run, first), "first copy starts");
    const bool up = e2e::waitUntil([] { return FindWindowW(sp::PANEL_CLASS, nullptr) != nullptr; }, 8000) &&
                    WaitForInputIdle(first.hProcess, 3000) == 0;
    using Suspend = LONG(WINAPI*)(HANDLE);
    // Through void (*)(), the one cast the compiler takes from FARPROC.
    const auto suspend = reinterpret_cast<Suspend>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSuspendProcess")));
    const bool frozen = up && suspend && suspend(first.hProcess) == 0;
    HWND panel = frozen ? sp::startAndWaitForPanel(run) : nullptr;
    if (E2E_CHECK(frozen, "first copy up, then suspended") && panel) {
        checkLogged(run, "another copy did not answer within 2 s; this one starts as well", "start: ");
        checkKeyScans(run, panel, "the second copy scans on a key press");
    }
    TerminateProcess(first.hProcess, 1);
    WaitForSingleObject(first.hProcess, 3000);
    CloseHandle(first.hThread);
    CloseHandle(first.hProcess);
}

// A first copy that dies while a second one starts leaves the second one
// running: each round kills the first copy a little later after the start.
E2E_CASE(second_copy_outlives_a_dying_first) {
    E2E_REQUIRE(sp::seedSettings(run, KEYBOARD_TEXT), "keyboard-switch config.ini seeded");
    // More with E2E_CASE_TIMEOUT_MS to match: a round takes some 4 s.
    const int rounds = static_cast<int>(e2e::envNumber(L"E2E_KILL_ROUNDS", 6));
    std::string missed;
    int left = 0, done = 0;
    for (; done < rounds; ++done) {
        const int killMs = 200 + 400 * done / std::max(rounds - 1, 1);
        PROCESS_INFORMATION first{}, second{};
        if (!E2E_CHECK(startCopy(run, first), "first copy starts")) break;
        e2e::waitUntil([] { return FindWindowW(sp::PANEL_CLASS, nullptr) != nullptr; }, 8000);
        WaitForInputIdle(first.hProcess, 3000);
        startCopy(run, second);
        e2e::pause(killMs);
        TerminateProcess(first.hProcess, 1);
        WaitForSingleObject(first.hProcess, 3000);
        // Some copy, and so the second, shows a panel that answers.
        HWND panel = nullptr;
        const bool up = e2e::waitUntil(
            [&] {
                panel = FindWindowW(sp::PANEL_CLASS, nullptr);
                return panel && IsWindowVisible(panel) && e2e::sendTo(panel, WM_NULL, 0, 0);
            },
            6000);
        left += up;
        if (!up) {
            DWORD code = 0;
            GetExitCodeProcess(second.hProcess, &code);
            missed += " " + std::to_string(killMs) + " ms (second copy " +
                      (code == STILL_ACTIVE ? std::string("runs") : "ended " + std::to_string(code)) + ")";
        }
        for (PROCESS_INFORMATION* copy : {&first, &second}) {
            TerminateProcess(copy->hProcess, 1);
            WaitForSingleObject(copy->hProcess, 3000);
            CloseHandle(copy->hThread);
            CloseHandle(copy->hProcess);
        }
    }
    E2E_CHECK(done > 0 && left == done, "a copy is left running after " + std::to_string(left) + " of " +
                                            std::to_string(done) + " kills" +
                                            (missed.empty() ? "" : ", none after:" + missed));
}
