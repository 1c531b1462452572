#include "engine/entry_check.h"

#include "base/global_block.h"
#include "engine/found_path.h"
#include "engine/native_files.h"
#include "engine/walked_folder.h"

bool (*g_wineMarkProbe)() = HasWineLoaderMark;

namespace {

constexpr WCHAR WINDOWS_DEVICES[] = L"\\Device\\";
constexpr int WINDOWS_DEVICES_LENGTH = sizeof WINDOWS_DEVICES / sizeof(WCHAR) - 1;

// What the system's own folder showed of its names: unknown until asked, then whether
// they are in Windows' form. The platform does not change while the program runs.
enum SystemNames { NAMES_UNKNOWN = 0, NAMES_OF_WINDOWS, NAMES_OF_ANOTHER };
volatile LONG g_systemNames = NAMES_UNKNOWN;

bool ShowsWindowsNames(const WCHAR* ntName, int length)
{
    return ntName != nullptr && length > WINDOWS_DEVICES_LENGTH &&
           CompareStringOrdinal(ntName, WINDOWS_DEVICES_LENGTH, WINDOWS_DEVICES, WINDOWS_DEVICES_LENGTH, FALSE) ==
               CSTR_EQUAL;
}

// The name that the system reports for its own folder, in Windows' form or not.
SystemNames AskSystemNames()
{
    WCHAR system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    GlobalBlock names(OBJECT_NAME_BYTES);
    if (length == 0 || length >= MAX_PATH || !names)
        return NAMES_OF_ANOTHER;
    HANDLE folder = OpenFolder(nullptr, system, static_cast<int>(length));
    int foundLength = 0;
    const WCHAR* found = folder != nullptr ? QueryObjectName(folder, names.as<void>(), foundLength) : nullptr;
    CloseObject(folder);
    return ShowsWindowsNames(found, foundLength) ? NAMES_OF_WINDOWS : NAMES_OF_ANOTHER;
}

}  // namespace

EntryCheck ChooseEntryCheck(bool wine)
{
    return wine ? CHECK_BY_NAME : CHECK_BY_ID;
}

EntryCheck ChooseEntryCheck(bool wineMark, const WCHAR* ntName, int length)
{
    return ChooseEntryCheck(wineMark || !ShowsWindowsNames(ntName, length));
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
    if (g_systemNames == NAMES_UNKNOWN)
        InterlockedExchange(&g_systemNames, AskSystemNames());
    return ChooseEntryCheck(g_wineMarkProbe() || g_systemNames != NAMES_OF_WINDOWS);
}

EntryCheck PlatformEntryCheck(const WCHAR* startName, int length)
{
    return startName != nullptr ? ChooseEntryCheck(g_wineMarkProbe(), startName, length)
                                : ResolveEntryCheck(CHECK_BY_PLATFORM);
}

bool StartCanBeWalked(EntryCheck check, bool named)
{
    return named || check == CHECK_BY_ID;
}

bool HasFileId(LONGLONG id)
{
    return id != 0 && id != -1;
}

IdVerdict CompareFileIds(LONGLONG listed, bool given, LONGLONG opened)
{
    if (!HasFileId(listed))
        return ID_NOT_LISTED;
    if (!given || !HasFileId(opened))
        return ID_NOT_GIVEN;
    return listed == opened ? ID_SAME : ID_OTHER;
}

bool IsListedEntry(const WalkedFolder& folder, const FolderEntry& entry, HANDLE handle, void* nameBlock)
{
    if (folder.check == CHECK_BY_ID) {
        LONGLONG id = 0;
        bool given = HasFileId(entry.id) && QueryFileId(handle, id);
        switch (CompareFileIds(entry.id, given, id)) {
        case ID_SAME:
        case ID_NOT_LISTED:
            return true;
        case ID_OTHER:
            return false;
        case ID_NOT_GIVEN:
            break;
        }
    }
    int length = 0;
    const WCHAR* found = QueryObjectName(handle, nameBlock, length);
    if (found == nullptr || !CutFoundComponent(found, length, entry.name, entry.length))
        return false;
    const WalkedFolder* at = &folder;
    for (; at->parent != nullptr; at = at->parent)
        if (!CutFoundComponent(found, length, at->name, at->nameLength))
            return false;
    return at->found != nullptr && IsFoundFolder(found, length, at->found, at->foundLength);
}
