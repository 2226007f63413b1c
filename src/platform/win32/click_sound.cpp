// The click sound, played from the exe's own resources.
#include "platform/win32/win32_platform.h"

#include <mmsystem.h>

namespace sp {

void Win32Platform::playClickSound() {
    HRSRC found = FindResourceW(handles().instance, L"SO_CLICK", L"WAVE");
    HGLOBAL loaded = found ? LoadResource(handles().instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    // Synchronous: the switch comes back only once the click has been heard.
#ifdef SWITCHPOINT_BENCH
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
#endif
    if (data) sndPlaySoundW(static_cast<LPCWSTR>(data), SND_MEMORY);
#ifdef SWITCHPOINT_BENCH
    noteTimeSince(data ? "sound" : "nosound", start);
#endif
}

} // namespace sp
