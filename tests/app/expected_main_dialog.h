// The main dialog as the user must see it: one row per control, in tab order.
#ifndef BRUMIX_TESTS_EXPECTED_MAIN_DIALOG_H
#define BRUMIX_TESTS_EXPECTED_MAIN_DIALOG_H

#include <windows.h>

#include "res/resource.h"

struct ExpectedControl {
    int id;
    const char* className;
    WORD classAtom;  // the predefined class's ordinal in a dialog template
    const char* text;
    short x, y, width, height;
    DWORD style;
};

static_assert(IDD_MAIN == 1 && IDC_TITLE == 100 && IDC_FOLDER == 101 && IDC_BROWSE_FOLDER == 102 &&
                  IDC_PATTERNS == 103 && IDC_BROWSE_PATTERNS == 104 && IDC_CONFIRM == 105 && IDC_RECURSE == 106,
              "the main dialog's resource and control ids");

constexpr WORD BUTTON_ATOM = 0x80, EDIT_ATOM = 0x81, STATIC_ATOM = 0x82, COMBOBOX_ATOM = 0x85;
constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;

constexpr ExpectedControl EXPECTED_CONTROLS[] = {
    {IDC_TITLE, "Static", STATIC_ATOM, "Brumix", 10, 4, 180, 28, CHILD | WS_GROUP | SS_CENTER},
    {0xFFFF, "Static", STATIC_ATOM, "Répertoire à parcourir :", 12, 36, 124, 8, CHILD | SS_LEFT},
    {IDC_FOLDER, "Edit", EDIT_ATOM, "", 12, 49, 160, 12,
     CHILD | WS_BORDER | WS_GROUP | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL},
    {IDC_BROWSE_FOLDER, "Button", BUTTON_ATOM, "...", 172, 48, 16, 14,
     CHILD | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON},
    {0xFFFF, "Static", STATIC_ATOM, "Fichiers à supprimer :", 12, 72, 96, 8, CHILD | SS_LEFT},
    {IDC_PATTERNS, "ComboBox", COMBOBOX_ATOM, "", 12, 84, 160, 60,
     CHILD | WS_GROUP | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_DISABLENOSCROLL},
    {IDC_BROWSE_PATTERNS, "Button", BUTTON_ATOM, "...", 172, 83, 16, 14,
     CHILD | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON},
    {IDC_RECURSE, "Button", BUTTON_ATOM, "Inclure les sous-répertoires.", 12, 108, 172, 8,
     CHILD | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_CONFIRM, "Button", BUTTON_ATOM, "Demander une confirmation avant l'effacement.", 12, 120,
     172, 8, CHILD | WS_TABSTOP | BS_AUTOCHECKBOX},
    {0xFFFF, "Static", STATIC_ATOM, "", 0, 136, 202, 2, CHILD | WS_GROUP | SS_ETCHEDHORZ},
    {IDHELP, "Button", BUTTON_ATOM, "Aide", 12, 144, 52, 14,
     CHILD | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON},
    {IDOK, "Button", BUTTON_ATOM, "OK", 76, 144, 52, 14, CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDCANCEL, "Button", BUTTON_ATOM, "Fermer", 136, 144, 52, 14,
     CHILD | WS_TABSTOP | BS_PUSHBUTTON},
};

constexpr DWORD EXPECTED_DIALOG_STYLE =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK;

#endif
