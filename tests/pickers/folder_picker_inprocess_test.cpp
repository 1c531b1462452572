// The folder picker in the test's own process: the folder taken from what the dialog
// returns, and the hook's work on dialogs made here, where fonts can be read.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "driver/app_driver.h"
#include "pickers/folder_picker.h"
#include "res/resource.h"
#include "support/dialog_template.h"
#include "support/file_dialogs.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

TEST(CopyPickedFolder, KeepsThePathUpToTheNameWithItsBackslash)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* title;
        int nameOffset;
        int capacity;
        const wchar_t* folder;  // nullptr: none, the buffer untouched
    };
    const Case cases[] = {
        {L"C:\\Projets\\$$$.$$$", L"$$$.$$$", 11, 260, L"C:\\Projets\\"},
        // Wine leaves the title empty after the classic dialog.
        {L"C:\\Projets\\$$$.$$$", L"", 11, 260, L"C:\\Projets\\"},
        {L"C:\\$$$.$$$", L"$$$.$$$", 3, 260, L"C:\\"},
        {L"C:\\$$$.$$$", L"", 3, 260, L"C:\\"},
        {L"C:\\dir\\sub\\x.txt", L"x.txt", 11, 260, L"C:\\dir\\sub\\"},
        // A name longer than the title block, its title cut.
        {L"C:\\dir\\longname.txt", L"longnam", 7, 260, L"C:\\dir\\"},
        {L"C:\\dir\\x.txt", L"", 0, 260, nullptr},
        {L"C:\\Projets\\$$$.$$$", L"", 11, 12, L"C:\\Projets\\"},
        {L"C:\\Projets\\$$$.$$$", L"", 11, 11, nullptr},
        {L"C:\\Проект\\$$$.$$$", L"$$$.$$$", 10, 260, L"C:\\Проект\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Utf8(c.path) << " title \"" << Utf8(c.title) << "\" capacity " << c.capacity);
        std::wstring folder(300, L'#');
        int copied = CopyPickedFolder(c.path, c.title, c.nameOffset, &folder[0], c.capacity);
        if (c.folder == nullptr) {
            EXPECT_EQ(copied, 0);
            EXPECT_EQ(folder, std::wstring(300, L'#'));
        } else {
            EXPECT_NE(copied, 0);
            EXPECT_EQ(std::wstring(folder.c_str()), std::wstring(c.folder));
        }
    }
}

// The dialog may give a folder by the short names of its components; the box shows the
// names the user knows, and a folder whose long form cannot be had keeps its text.
TEST(TakeLongFolderForm, GivesEachComponentItsLongNameAndKeepsTheBackslash)
{
    TempFolder root;
    std::string longForm = root.MakeFolder("un dossier avec des blancs\\et un autre nom long");
    WCHAR shortForm[MAX_PATH] = L"";
    ASSERT_NE(GetShortPathNameW(Wide(longForm).c_str(), shortForm, MAX_PATH), 0u);
    if (Utf8(shortForm) == longForm)
        GTEST_SKIP() << "this file system keeps no short names";
    struct Case { std::wstring given; int capacity; std::string expected; int result; };
    const Case cases[] = {
        {shortForm, MAX_PATH, longForm, 1},
        {Wide(longForm), MAX_PATH, longForm, 1},
        {Wide(root / "missing\\"), MAX_PATH, root / "missing\\", 0},
        // Too long for the buffer: left as it is, never cut.
        {shortForm, static_cast<int>(wcslen(shortForm)) + 1, Utf8(shortForm), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.given));
        std::wstring folder = c.given;
        folder.resize(static_cast<size_t>(c.capacity) > folder.size() ? static_cast<size_t>(c.capacity) : folder.size() + 1);
        EXPECT_EQ(TakeLongFolderForm(&folder[0], c.capacity), c.result);
        EXPECT_EQ(Utf8(folder.c_str()), c.expected);
    }
}

struct Look {
    std::vector<file_dialogs::ChildPlace> children;
    RECT frame;
    std::vector<HGDIOBJ> fonts;
};

Look LookAt(HWND dialog)
{
    Look look = {file_dialogs::ChildPlaces(dialog), {}, {}};
    GetWindowRect(dialog, &look.frame);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        look.fonts.push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)));
    return look;
}

void ExpectSameLook(const Look& before, const Look& after)
{
    ASSERT_EQ(before.children.size(), after.children.size());
    for (size_t i = 0; i < before.children.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "child " << before.children[i].id);
        EXPECT_EQ(after.children[i].id, before.children[i].id);
        EXPECT_TRUE(EqualRect(&after.children[i].rect, &before.children[i].rect));
    }
    EXPECT_TRUE(EqualRect(&after.frame, &before.frame));
    EXPECT_EQ(after.fonts, before.fonts);
}

TEST(FolderPickerHook, LeavesADialogWithoutTheFolderStaticAsItIs)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                     QuietDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(GetDlgItem(dialog, file_dialogs::CURRENT_FOLDER_STATIC), nullptr);
    Look before = LookAt(dialog);
    EXPECT_EQ(FolderPickerHook(dialog, WM_INITDIALOG, 0, 0), 1u);
    ExpectSameLook(before, LookAt(dialog));
    DestroyWindow(dialog);
}

TEST(FolderPickerHook, AnswersEveryOtherMessageWithZeroAndNoEffect)
{
    // A dialog with a static of the folder static's id, which the hook would align on.
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                     QuietDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    SetWindowLongPtrA(GetDlgItem(dialog, IDC_FOLDER), GWLP_ID, file_dialogs::CURRENT_FOLDER_STATIC);
    Look before = LookAt(dialog);
    for (UINT message : {WM_COMMAND, WM_SIZE, WM_SHOWWINDOW, WM_NOTIFY, WM_DESTROY, WM_USER})
        EXPECT_EQ(FolderPickerHook(dialog, message, 0, 0), 0u) << message;
    ExpectSameLook(before, LookAt(dialog));
    DestroyWindow(dialog);
}

TEST(FolderPicker, ShowsEveryChildInTheStockVariableFontAndCancelChangesNothing)
{
    TempFolder start;
    start.MakeFolder("sub");
    ASSERT_TRUE(SetCurrentDirectoryA(start.path().c_str()));
    HGDIOBJ variableFont = GetStockObject(ANSI_VAR_FONT);
    Look seen;
    int folderStaticLeft = -1;
    file_dialogs::OnNextDialog([&](HWND dialog) {
        seen = LookAt(dialog);
        folderStaticLeft = driver::ClientRectOf(GetDlgItem(dialog, file_dialogs::CURRENT_FOLDER_STATIC), dialog).left;
        // Walk into the subfolder first: the dialog makes it the process's directory.
        SetDlgItemTextA(dialog, file_dialogs::CLASSIC_NAME_BOX, "sub");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        file_dialogs::Cancel(dialog);
    });
    std::wstring folder(FOLDER_PICK_CAPACITY, L'\0');
    folder[0] = L'#';
    EXPECT_EQ(BrowseFolder(nullptr, &folder[0], FOLDER_PICK_CAPACITY), 0);

    EXPECT_EQ(folder[0], L'#');
    EXPECT_EQ(folderStaticLeft, 4);
    ASSERT_GT(seen.fonts.size(), 10u);
    for (size_t i = 0; i < seen.fonts.size(); ++i)
        EXPECT_EQ(seen.fonts[i], variableFont) << "child " << seen.children[i].id;
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current) + "\\", start.path());
    SetCurrentDirectoryA("C:\\");
}

}  // namespace
