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
#ifndef BRUMIX_ENTRY_CHECK_H
#define BRUMIX_ENTRY_CHECK_H

enum EntryCheck {
    CHECK_BY_PLATFORM = 0,  // whichever the running platform needs
    CHECK_BY_NAME,          // the reported name, and the namesake guard
    CHECK_BY_ID,            // the file id
};

// The check that a platform needs: by name where the system's loader carries Wine's mark.
EntryCheck ChooseEntryCheck(bool wineLoader);

// True when the system's ntdll carries Wine's mark, its "wine_get_version" export.
bool HasWineLoaderMark();

// `check`, with CHECK_BY_PLATFORM made the running platform's own check (found once).
EntryCheck ResolveEntryCheck(EntryCheck check);

#endif
