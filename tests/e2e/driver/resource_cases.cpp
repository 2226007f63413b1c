// What the built exe carries for Windows itself: its manifest and version.
#include <string>

#include "product.h"
#include "switchpoint_version.h"

namespace {

std::string manifestOf(const std::wstring& exe, int& count) {
    count = 0;
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return {};
    EnumResourceNamesW(
        module, MAKEINTRESOURCEW(24),
        [](HMODULE, LPCWSTR, LPWSTR, LONG_PTR counter) -> BOOL {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&count));
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const DWORD size = SizeofResource(module, found);
        HGLOBAL loaded = LoadResource(module, found);
        if (const void* bytes = loaded ? LockResource(loaded) : nullptr)
            text.assign(static_cast<const char*>(bytes), size);
    }
    FreeLibrary(module);
    return text;
}

std::wstring versionString(const std::vector<unsigned char>& info, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0) return {};
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

} // namespace

E2E_CASE(exe_manifest_and_version) {
    int manifests = 0;
    const std::string manifest = manifestOf(run.exePath, manifests);
    E2E_REQUIRE(!manifest.empty(), "RT_MANIFEST 1 found in the exe");
    E2E_CHECK_EQ(manifests, 1, "one manifest only");
    const struct {
        const char* text;
        const char* what;
    } elements[] = {
        {">PerMonitorV2, PerMonitor</dpiAwareness>", "per-monitor-v2 awareness, per-monitor fallback"},
        {">true/pm</dpiAware>", "per-monitor dpiAware"},
        {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "common controls 6"},
        {"level=\"asInvoker\" uiAccess=\"false\"", "asInvoker without UI access"},
    };
    for (const auto& e : elements) E2E_CHECK(manifest.find(e.text) != std::string::npos, e.what);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(run.exePath.c_str(), &ignored);
    E2E_REQUIRE(size > 0, "VERSIONINFO present");
    std::vector<unsigned char> info(size);
    E2E_REQUIRE(GetFileVersionInfoW(run.exePath.c_str(), 0, size, info.data()) != 0, "VERSIONINFO read");
    const std::string narrow = SWITCHPOINT_VERSION_TEXT;
    const std::wstring version(narrow.begin(), narrow.end());
    E2E_CHECK_EQ(versionString(info, L"ProductName"), std::wstring(L"switchpoint"), "ProductName");
    E2E_CHECK_EQ(versionString(info, L"FileVersion"), version, "FileVersion is the build's version");
    E2E_CHECK_EQ(versionString(info, L"ProductVersion"), version, "ProductVersion is the build's version");
    E2E_CHECK_EQ(versionString(info, L"OriginalFilename"), std::wstring(L"switchpoint.exe"),
                 "OriginalFilename");

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    E2E_REQUIRE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed,
                "fixed version block");
    E2E_CHECK_EQ(static_cast<int>(HIWORD(fixed->dwFileVersionMS)), SWITCHPOINT_VERSION_MAJOR, "major");
    E2E_CHECK_EQ(static_cast<int>(LOWORD(fixed->dwFileVersionMS)), SWITCHPOINT_VERSION_MINOR, "minor");
    E2E_CHECK_EQ(static_cast<int>(HIWORD(fixed->dwFileVersionLS)), SWITCHPOINT_VERSION_PATCH, "patch");
}
