#include "engine/entry_check.h"

#include <windows.h>

namespace {

// The platform does not change while the program runs.
volatile LONG g_platformCheck = CHECK_BY_PLATFORM;

}  // namespace

EntryCheck ChooseEntryCheck(bool wineLoader)
{
    return wineLoader ? CHECK_BY_NAME : CHECK_BY_ID;
}

bool HasWineLoaderMark()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

EntryCheck ResolveEntryCheck(EntryCheck check)
{
    if (check != CHECK_BY_PLATFORM)
        return check;
    if (g_platformCheck == CHECK_BY_PLATFORM)
        InterlockedExchange(&g_platformCheck, ChooseEntryCheck(HasWineLoaderMark()));
    return static_cast<EntryCheck>(g_platformCheck);
}
