// End-to-end driver entry point: runs one case against the product inside
// the Wine desktop and leaves the verdict as the last line of the result file.
//
//   e2e_driver.exe <case> <switchpoint.exe> <work-dir> <result-file>
//   e2e_driver.exe --list
#include "harness.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <set>

#ifdef _MSC_VER
#pragma comment(lib, "shell32.lib")
#endif

namespace {

// Longer than any case needs; a case that runs into it is hung. Benchmark
// runs, which are long on purpose, set E2E_CASE_TIMEOUT_MS.
DWORD caseTimeoutMs() { return static_cast<DWORD>(e2e::envNumber(L"E2E_CASE_TIMEOUT_MS", 45000)); }

e2e::Run* currentRun = nullptr;
volatile LONG verdictWritten = 0;

void finish(e2e::Run& run, bool passed) {
    if (InterlockedExchange(&verdictWritten, 1) != 0) return;
    e2e::log(run, passed ? "PASS" : "FAIL");
}

DWORD WINAPI watchdog(LPVOID) {
    const DWORD timeoutMs = caseTimeoutMs();
    Sleep(timeoutMs);
    e2e::Run& run = *currentRun;
    e2e::log(run, "FAIL case still running after " + std::to_string(timeoutMs / 1000) + " s");
    if (run.launched) TerminateProcess(run.product.hProcess, 1);
    finish(run, false);
    ExitProcess(1);
}

int usage() {
    std::fputs("usage: e2e_driver.exe <case> <switchpoint.exe> <work-dir> <result-file>\n"
               "       e2e_driver.exe --list\n",
               stderr);
    return 2;
}

} // namespace

int main() {
    // The driver shares the desktop with the product; a console window
    // could cover what the cases look at.
    if (HWND console = GetConsoleWindow()) ShowWindow(console, SW_HIDE);

    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return usage();

    std::set<std::string> names;
    for (const e2e::CaseEntry& entry : e2e::caseTable()) {
        if (!names.insert(entry.name).second) {
            std::fprintf(stderr, "case %s is defined twice\n", entry.name);
            return 2;
        }
    }

    if (argc == 2 && std::wstring(argv[1]) == L"--list") {
        for (const std::string& name : names) std::printf("%s\n", name.c_str());
        return 0;
    }
    if (argc != 5) return usage();

    e2e::Run run;
    run.caseName = argv[1];
    run.exePath = argv[2];
    run.workDir = argv[3];
    run.resultPath = argv[4];
    LocalFree(argv);
    DeleteFileW(run.resultPath.c_str());

    const std::string caseName = e2e::narrow(run.caseName);
    e2e::CaseFn fn = nullptr;
    for (const e2e::CaseEntry& entry : e2e::caseTable())
        if (caseName == entry.name) fn = entry.fn;
    if (!fn) {
        e2e::log(run, "FAIL no case named " + caseName);
        finish(run, false);
        return 1;
    }

    currentRun = &run;
    HANDLE dog = CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr);
    if (dog) CloseHandle(dog);

    e2e::log(run, "case " + caseName);
    const ULONGLONG started = GetTickCount64();
    fn(run);
    if (run.checks == 0) e2e::check(run, false, "case made no checks", "", __FILE__, __LINE__);
    if (e2e::productRunning(run)) e2e::requestScreenshot(run);
    e2e::endProduct(run);
    e2e::log(run, "time " + std::to_string(GetTickCount64() - started) + " ms, " +
                      std::to_string(run.checks) + " checks, " + std::to_string(run.failures) + " failed");
    const bool passed = run.failures == 0;
    finish(run, passed);
    return passed ? 0 : 1;
}
