// The installer in a fresh prefix: a silent install, what it leaves on the
// disk, in the Start menu and in HKCU, the installed program started as its
// Startup shortcut starts it, a reinstall and a silent uninstall. The
// product path this case gets is the setup exe.
#include "product.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#ifdef _MSC_VER
#pragma comment(lib, "ole32.lib")
#pragma comment(lib, "advapi32.lib")
#endif

namespace {

constexpr wchar_t UNINSTALL_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\switchpoint";
constexpr int INSTALL_TIMEOUT_MS = 60000;
const wchar_t* const PROGRAM_FILES[] = {L"switchpoint.exe", L"guide.html", L"LICENSE.txt", L"uninstall.exe"};

std::wstring shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool samePath(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

// Runs a program to its end; its exit code, or -1 if it did not start or end.
long runToEnd(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return -1;
    DWORD code = 0;
    const bool ended = WaitForSingleObject(info.hProcess, INSTALL_TIMEOUT_MS) == WAIT_OBJECT_0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ended ? static_cast<long>(code) : -1;
}

struct Shortcut {
    bool read = false;
    std::wstring target;
    std::wstring workDir;
};

Shortcut readShortcut(const std::wstring& path) {
    Shortcut shortcut;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return shortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t target[MAX_PATH] = {}, dir[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
            SUCCEEDED(link->GetWorkingDirectory(dir, MAX_PATH))) {
            shortcut = Shortcut{true, target, dir};
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

std::wstring keyString(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, UNINSTALL_KEY, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"(missing)";
    return value;
}

long keyNumber(const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, UNINSTALL_KEY, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return -1;
    return static_cast<long>(value);
}

bool keyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, UNINSTALL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// "switchpoint-1.0.0-setup.exe" -> "1.0.0"
std::wstring versionOf(const std::wstring& setupPath) {
    const std::wstring name = e2e::baseName(setupPath);
    const std::wstring prefix = L"switchpoint-", suffix = L"-setup.exe";
    if (name.size() <= prefix.size() + suffix.size()) return L"";
    return name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
}

} // namespace

E2E_CASE(installer) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring setup = run.exePath;
    const std::wstring dir = shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\switchpoint";
    const std::wstring menuLink = shellFolder(CSIDL_PROGRAMS) + L"\\switchpoint.lnk";
    const std::wstring startupLink = shellFolder(CSIDL_STARTUP) + L"\\switchpoint.lnk";
    const std::wstring exe = dir + L"\\switchpoint.exe";
    E2E_REQUIRE(!exists(dir) && !keyExists(), "fresh prefix: nothing installed yet");

    E2E_REQUIRE_EQ(runToEnd(setup, L"/S"), 0L, "silent install ends with 0");
    for (const wchar_t* name : PROGRAM_FILES)
        E2E_CHECK(exists(dir + L"\\" + name), e2e::narrow(name) + " installed");
    E2E_CHECK(!exists(dir + L"\\config.ini"), "no config.ini shipped");

    for (const std::wstring& path : {menuLink, startupLink}) {
        const Shortcut link = readShortcut(path);
        if (!E2E_CHECK(link.read, e2e::narrow(path) + " readable")) continue;
        E2E_CHECK(samePath(link.target, exe), e2e::narrow(path) + " target " + e2e::narrow(link.target));
        E2E_CHECK(samePath(link.workDir, dir),
                  e2e::narrow(path) + " working directory " + e2e::narrow(link.workDir));
    }

    E2E_CHECK_EQ(keyString(L"DisplayName"), std::wstring(L"switchpoint"), "DisplayName");
    E2E_CHECK_EQ(keyString(L"DisplayVersion"), versionOf(setup), "DisplayVersion");
    E2E_CHECK_EQ(keyString(L"InstallLocation"), dir, "InstallLocation");
    E2E_CHECK_EQ(keyString(L"UninstallString"), L"\"" + dir + L"\\uninstall.exe\"", "UninstallString");
    E2E_CHECK_EQ(keyString(L"QuietUninstallString"), L"\"" + dir + L"\\uninstall.exe\" /S",
                 "QuietUninstallString");
    E2E_CHECK(keyString(L"Publisher") != L"(missing)", "Publisher");
    E2E_CHECK(keyNumber(L"NoModify") == 1 && keyNumber(L"NoRepair") == 1, "NoModify and NoRepair are 1");

    // Started as the Startup shortcut starts it: its own folder as the
    // working directory, where it writes its settings.
    const Shortcut startup = readShortcut(startupLink);
    run.exePath = startup.target;
    run.workDir = startup.workDir;
    if (!sp::startAndWaitForPanel(run)) return;
    E2E_CHECK(e2e::waitUntil([&] { return !sp::settingsBytes(run).empty(); }, 3000),
              "config.ini written in the install folder");
    e2e::requestScreenshot(run);

    // Left running: the reinstall, and later the uninstall, close it first.
    const std::wstring changed = sp::settingsText(L"1 0 1 0 1", 5, 900, 0);
    E2E_REQUIRE(sp::seedSettings(run, changed), "config.ini changed");
    const std::vector<unsigned char> kept = sp::settingsBytes(run);
    E2E_REQUIRE_EQ(runToEnd(setup, L"/S"), 0L, "silent reinstall ends with 0");
    E2E_CHECK(!e2e::productRunning(run), "the reinstall closed the running program");
    E2E_CHECK_BYTES(sp::settingsBytes(run), kept, "reinstall keeps the changed config.ini");
    e2e::endProduct(run);
    if (!sp::startAndWaitForPanel(run)) return;

    // The uninstaller runs from a copy of itself and returns at once; it
    // is done when it has deleted itself.
    E2E_REQUIRE_EQ(runToEnd(dir + L"\\uninstall.exe", L"/S"), 0L, "silent uninstall starts");
    E2E_CHECK(e2e::waitUntil([&] { return !exists(dir + L"\\uninstall.exe"); }, INSTALL_TIMEOUT_MS, 100),
              "uninstaller finished");
    e2e::pause(500);
    E2E_CHECK(!e2e::productRunning(run), "the uninstaller closed the running program");
    for (const wchar_t* name : PROGRAM_FILES)
        E2E_CHECK(!exists(dir + L"\\" + name), e2e::narrow(name) + " removed");
    E2E_CHECK(!exists(menuLink), "Start-menu shortcut removed");
    E2E_CHECK(!exists(startupLink), "Startup shortcut removed");
    E2E_CHECK(!keyExists(), "uninstall key removed");
    E2E_CHECK_BYTES(sp::settingsBytes(run), kept, "a silent uninstall keeps config.ini");
    CoUninitialize();
}
