// Shared steps for starting switchpoint and preparing its work directory.
#include "product.h"

namespace sp {

int panelOuterWidth() { return 2 * GetSystemMetrics(SM_CXFRAME) + 223; }

int panelOuterHeight() {
  return 2 * GetSystemMetrics(SM_CYMENU) - 2 * GetSystemMetrics(SM_CYFRAME) + 90;
}

bool seedSettings(e2e::Run& run, const std::wstring& text) {
  return e2e::writeFileBytes(e2e::inWorkDir(run, SETTINGS_FILE), e2e::utf16leWithBom(text));
}

std::vector<unsigned char> settingsBytes(e2e::Run& run) {
  std::vector<unsigned char> bytes;
  e2e::readFileBytes(e2e::inWorkDir(run, SETTINGS_FILE), bytes);
  return bytes;
}

HWND startAndWaitForPanel(e2e::Run& run) {
  E2E_CHECK(e2e::mouseMoveTo(700, 500), "pointer parked at (700,500)");
  if (!E2E_CHECK(e2e::launchProduct(run), "product starts"))
    return nullptr;
  HWND panel = e2e::waitForProductWindow(run, PANEL_CLASS, START_TIMEOUT_MS);
  if (!E2E_CHECK(panel != nullptr, "panel window of class QUIMBOLET appears"))
    return nullptr;
  const bool visible = e2e::waitUntil([&] { return IsWindowVisible(panel) != FALSE; }, 3000);
  if (!E2E_CHECK(visible, "panel becomes visible"))
    return nullptr;
  e2e::waitForCaption(panel, READY, 3000);
  if (!E2E_CHECK_EQ(e2e::windowText(panel), std::wstring(READY), "panel caption"))
    return nullptr;
  return panel;
}

}  // namespace sp
