// Files on disk: read whole within a limit, told apart when missing, locked
// or too large, and replaced so that a crash never leaves half of one.
#include "platform/win32/win32_platform.h"

#include <string>

namespace sp {

namespace {

bool writeAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

// One temporary name per file, so a run killed during a save leaves at most
// one behind, and the next start knows which to remove.
std::wstring unfinishedName(const char* name) { return widen(name) + L".tmp"; }

// Saves from two threads of this process take turns on that one name.
SRWLOCK g_replaceLock = SRWLOCK_INIT;

} // namespace

bool Win32Platform::fileExists(const char* name) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widen(name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

FileRead Win32Platform::readFile(const char* name, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    HANDLE file = CreateFileW(widen(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return FileRead::Locked;
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FileRead::Missing;
        return FileRead::Failed;
    }
    LARGE_INTEGER size{};
    FileRead result = FileRead::Ok;
    if (!GetFileSizeEx(file, &size))
        result = FileRead::Failed;
    else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        result = FileRead::TooLarge;
    char buffer[4096];
    DWORD got = 0;
    while (result == FileRead::Ok) {
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr))
            result = GetLastError() == ERROR_LOCK_VIOLATION ? FileRead::Locked : FileRead::Failed;
        else if (got == 0)
            break;
        else if (bytes.append(buffer, got).size() > maxBytes)
            result = FileRead::TooLarge; // it grew while being read
    }
    CloseHandle(file);
    if (result != FileRead::Ok) bytes.clear();
    return result;
}

// New contents go to a temporary file beside the old one, which is then
// swapped in with one rename: a crash leaves the old file or the new one.
bool Win32Platform::replaceFile(const char* name, const std::string& bytes) {
    if (fileReadOnly(name)) return false;
    const std::wstring temp = unfinishedName(name);
    AcquireSRWLockExclusive(&g_replaceLock);
    // Not shared: a second copy of the program saving at the same moment
    // fails here rather than mixing its bytes with these.
    HANDLE file =
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool replaced = false;
    if (file != INVALID_HANDLE_VALUE) {
        const bool written = writeAll(file, bytes) && FlushFileBuffers(file);
        CloseHandle(file);
        replaced = written && MoveFileExW(temp.c_str(), widen(name).c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!replaced) DeleteFileW(temp.c_str());
    }
    ReleaseSRWLockExclusive(&g_replaceLock);
    return replaced;
}

void Win32Platform::removeUnfinishedReplace(const char* name) {
    AcquireSRWLockExclusive(&g_replaceLock);
    DeleteFileW(unfinishedName(name).c_str());
    ReleaseSRWLockExclusive(&g_replaceLock);
}

bool Win32Platform::fileReadOnly(const char* name) {
    const DWORD attributes = GetFileAttributesW(widen(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool Win32Platform::copyFile(const char* from, const char* to) {
    return CopyFileW(widen(from).c_str(), widen(to).c_str(), FALSE) != 0;
}

} // namespace sp
