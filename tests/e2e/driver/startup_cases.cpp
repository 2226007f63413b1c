// Start-up cases: what happens to config.ini, whatever state it is found in.
#include "product.h"

namespace {

// Settings that differ from the defaults in every line, so a file that was
// silently replaced by the defaults cannot pass for one that was kept.
constexpr wchar_t NON_DEFAULT_SEVEN_LINES[] =
    L"1 0 1 0 1\r\n5\r\n900\r\n128\r\n100\r\n1\r\n1\r\n";

// The settings file is handled before the panel is shown, so once the panel
// is up the file must already be final; the short wait only absorbs a slow
// file system.
constexpr int FILE_SETTLE_MS = 1500;

std::vector<unsigned char> settingsOnceEqual(e2e::Run& run,
                                             const std::vector<unsigned char>& expected) {
  std::vector<unsigned char> bytes;
  e2e::waitUntil([&] { return (bytes = sp::settingsBytes(run)) == expected; }, FILE_SETTLE_MS,
                 20);
  return bytes;
}

}  // namespace

E2E_CASE(startup_default_file) {
  const std::wstring path = e2e::inWorkDir(run, sp::SETTINGS_FILE);
  E2E_REQUIRE(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES,
              "work directory starts without config.ini");
  if (!sp::startAndWaitForPanel(run))
    return;
  const std::vector<unsigned char> expected = e2e::utf16leWithBom(sp::DEFAULT_SETTINGS_TEXT);
  E2E_CHECK_BYTES(settingsOnceEqual(run, expected), expected,
                  "config.ini written with the default settings (BOM, UTF-16LE, CR LF)");
}

E2E_CASE(seven_line_file) {
  E2E_REQUIRE(sp::seedSettings(run, NON_DEFAULT_SEVEN_LINES), "seven-line config.ini seeded");
  if (!sp::startAndWaitForPanel(run))
    return;
  const std::vector<unsigned char> expected = e2e::utf16leWithBom(sp::DEFAULT_SETTINGS_TEXT);
  E2E_CHECK_BYTES(settingsOnceEqual(run, expected), expected,
                  "seven-line config.ini replaced by the default file");
}

E2E_CASE(valid_file_kept) {
  // Eight lines: the seven above plus the keyboard as switch.
  const std::wstring text = std::wstring(NON_DEFAULT_SEVEN_LINES) + L"0\r\n";
  E2E_REQUIRE(sp::seedSettings(run, text), "eight-line config.ini seeded");
  const std::vector<unsigned char> seeded = sp::settingsBytes(run);
  if (!sp::startAndWaitForPanel(run))
    return;
  // Give a wrong rewrite the same time to happen as the cases above allow.
  e2e::pause(FILE_SETTLE_MS);
  E2E_CHECK_BYTES(sp::settingsBytes(run), seeded, "valid config.ini left as it was");
}

E2E_CASE(config_is_directory) {
  const std::wstring path = e2e::inWorkDir(run, sp::SETTINGS_FILE);
  E2E_REQUIRE(CreateDirectoryW(path.c_str(), nullptr) != 0, "config.ini created as a directory");
  HWND panel = sp::startAndWaitForPanel(run);
  if (!panel)
    return;
  // The start delay re-applies the settings 1.5 s after start-up; the
  // crosshair appearing marks that it has run. Survive it, too.
  e2e::waitForProductWindow(run, sp::ARM_CLASSES[0], 4000);
  e2e::pause(300);
  E2E_CHECK(e2e::productRunning(run), "product still running after the start delay");
  E2E_CHECK(e2e::sendTo(panel, WM_NULL, 0, 0), "panel still answers messages");
  E2E_CHECK_EQ(e2e::windowText(panel), std::wstring(sp::READY), "panel caption afterwards");
  E2E_CHECK(e2e::isDirectory(path), "config.ini is still a directory");
}
