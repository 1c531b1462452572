// How the walk makes sure that the object it opened is the entry that its folder's listing
// gave. The two platforms need different ways.
//
// Windows never follows a link when an entry is opened with FILE_OPEN_REPARSE_POINT, and
// reports names exactly as they are ("x.obj" and "x.obj." are two files). The file id of
// the opened object, compared with the one in the listing, tells that it is that very
// entry, whatever letter case or form a redirector or another file system gives its name.
//
// Wine opens a link to a file as its target, even with FILE_OPEN_REPARSE_POINT, and gives
// the link the target's id, in listings too; it reports names without the trailing dots
// and blanks of each component. There only the name under which the object is open tells
// a link from the file itself: the walk compares it, and leaves alone an entry that has a
// namesake but for such a tail (see found_path.h).
//
// The id check is safe only on Windows, so it is chosen only on positive evidence of
// Windows: a name in the system's own form. Windows names an open folder
// "\Device\HarddiskVolume3\src" ("\Device\Mup\server\share\src" on a network share); Wine
// names it by its drive, "\??\Z:\tmp\src". Wine's mark in the loader (its
// "wine_get_version" export) is not needed, since some Wine builds hide it, but where it
// shows it is the answer.
#ifndef BRUMIX_ENTRY_CHECK_H
#define BRUMIX_ENTRY_CHECK_H

#include <windows.h>

struct FolderEntry;
struct WalkedFolder;

enum EntryCheck {
    CHECK_BY_PLATFORM = 0,  // whichever the running platform needs
    CHECK_BY_NAME,          // the reported name, and the namesake guard
    CHECK_BY_ID,            // the file id
};

// The check that a platform needs: by name under Wine, by id on Windows.
EntryCheck ChooseEntryCheck(bool wine);

// The check for a system that reported an open folder under `ntName` (`length`
// characters; null when it reported none), with or without Wine's mark in its loader: by
// id only when the name is in Windows' own form, "\Device\...", and there is no mark.
EntryCheck ChooseEntryCheck(bool wineMark, const WCHAR* ntName, int length);

// True when the system's ntdll carries Wine's mark, its "wine_get_version" export.
bool HasWineLoaderMark();

// Where the platform's check asks for Wine's mark: HasWineLoaderMark, unless a test puts
// a probe of its own here to play a Wine build that hides the export.
extern bool (*g_wineMarkProbe)();

// `check`, with CHECK_BY_PLATFORM made the running platform's own check, told from the
// name that the system reports for its own folder (found once).
EntryCheck ResolveEntryCheck(EntryCheck check);

// The running platform's check, told from the name `startName` that the system reported
// for a run's start folder, or from its own folder's name when it reported none.
EntryCheck PlatformEntryCheck(const WCHAR* startName, int length);

// True when a start folder checked in this way can be walked with (or without) the name
// that the system reports for it. The name check compares every entry with that name;
// the id check needs it only for an object that gives no id, which it then leaves alone.
// So on Windows a system that will not name the start folder does not stop the run.
bool StartCanBeWalked(EntryCheck check, bool named);

// True when the file system gave an id: 0 and -1 stand for none.
bool HasFileId(LONGLONG id);

// What the ids of an entry say about the object opened for it.
enum IdVerdict {
    ID_SAME,        // the very entry
    ID_OTHER,       // another object: leave it alone
    ID_NOT_LISTED,  // the listing gave none: the exact open that follows no link is the check
    ID_NOT_GIVEN,   // the opened object gives none: its name must tell
};
// `listed` is the listing's id, `opened` the object's, when `given` says the system gave it.
IdVerdict CompareFileIds(LONGLONG listed, bool given, LONGLONG opened);

// True when the object open in `handle` is the entry `entry` of `folder`, checked in the
// folder's way: by its id, or by the name that the system reports for it (`nameBlock` is
// OBJECT_NAME_BYTES of scratch for it); by name too where an id check has no id to go by.
bool IsListedEntry(const WalkedFolder& folder, const FolderEntry& entry, HANDLE handle, void* nameBlock);

#endif
