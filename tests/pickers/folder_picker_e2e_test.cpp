// The folder picker of the running program: the real classic dialog, narrowed, driven
// as a user would, and what it leaves in the folder box.
#include <gtest/gtest.h>
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/file_dialogs.h"
#include "support/focus.h"
#include "support/temp_folder.h"

using driver::BrumixApp;
using file_dialogs::CLASSIC_NAME_BOX;

namespace {

const char FOLDER_PICKER_CAPTION[] = "Répertoire à parcourir";

// Gives the children the program's font and moves nothing: a combo box takes the height
// its new font needs, which is no move of the hook's.
UINT_PTR CALLBACK FontOnly(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), FALSE);
    return 0;
}

struct Layout {
    std::vector<file_dialogs::ChildPlace> children;
    RECT frame;
};

Layout LayoutOf(HWND dialog)
{
    Layout layout = {file_dialogs::ChildPlaces(dialog), {}};
    GetWindowRect(dialog, &layout.frame);
    return layout;
}

// The same classic dialog opened here, its children given the same font but not moved:
// the layout the program's hook starts from.
Layout UnchangedClassicDialog()
{
    Layout layout = {};
    char path[260] = "";
    char title[8] = "";
    OPENFILENAMEA request = {};
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.lpstrFilter = "$$$.$$$\0$$$.$$$\0";
    request.lpstrFile = path;
    request.nMaxFile = sizeof path;
    request.lpstrFileTitle = title;
    request.nMaxFileTitle = sizeof title;
    request.lpstrTitle = FOLDER_PICKER_CAPTION;
    request.Flags = 0x82E;
    request.lpfnHook = FontOnly;
    file_dialogs::OnNextDialog([&](HWND dialog) {
        layout = LayoutOf(dialog);
        file_dialogs::Cancel(dialog);
    });
    GetOpenFileNameA(&request);
    return layout;
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

class FolderPickerE2E : public testing::Test {
protected:
    void SetUp() override
    {
        fixture_.MakeFolder("sub");
        ASSERT_TRUE(app_.Start(fixture_.path()));
    }

    void TearDown() override { app_.Close(); }

    HWND OpenPicker()
    {
        app_.Press(IDC_BROWSE_FOLDER);
        return app_.WaitForDialog(FOLDER_PICKER_CAPTION);
    }

    // Walks the dialog into a folder, as typing its path and pressing Open does.
    static void WalkTo(HWND dialog, const std::string& folder)
    {
        file_dialogs::Accept(dialog, CLASSIC_NAME_BOX, folder);
        // The folder static shows the folder in lower case, without a final backslash
        // except at a drive's root.
        std::string expected = folder.size() > 3 && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
        HWND folderStatic = GetDlgItem(dialog, file_dialogs::CURRENT_FOLDER_STATIC);
        EXPECT_TRUE(driver::WaitUntil([&] {
            return lstrcmpiA(driver::WindowText(folderStatic).c_str(), expected.c_str()) == 0;
        })) << "the dialog shows " << driver::WindowText(folderStatic) << ", not " << expected;
    }

    // Accepts the picker with this text in its name box, after walking to a folder when
    // one is given, and gives the folder box once it shows the expected folder (or once
    // the wait is over).
    std::string Pick(const std::string& walkTo, const std::string& typed, const std::string& expected)
    {
        HWND dialog = OpenPicker();
        if (dialog == nullptr)
            return "(no dialog)";
        if (!walkTo.empty())
            WalkTo(dialog, walkTo);
        file_dialogs::Accept(dialog, CLASSIC_NAME_BOX, typed);
        file_dialogs::WaitGone(dialog);
        return file_dialogs::WaitForText(app_.Control(IDC_FOLDER), expected);
    }

    TempFolder fixture_;
    BrumixApp app_;
};

TEST_F(FolderPickerE2E, OpensNarrowedToItsFolderColumn)
{
    Layout unchanged = UnchangedClassicDialog();
    ASSERT_FALSE(unchanged.children.empty());
    int folderStaticLeft = -1;
    for (const auto& child : unchanged.children)
        if (child.id == file_dialogs::CURRENT_FOLDER_STATIC)
            folderStaticLeft = child.rect.left;
    ASSERT_GT(folderStaticLeft, 100) << "the folder column starts right of the file column";
    int shift = 4 - folderStaticLeft;

    HWND dialog = OpenPicker();
    ASSERT_NE(dialog, nullptr);
    Layout narrowed = LayoutOf(dialog);

    ASSERT_EQ(narrowed.children.size(), unchanged.children.size());
    for (size_t i = 0; i < narrowed.children.size(); ++i) {
        const RECT& was = unchanged.children[i].rect;
        const RECT& is = narrowed.children[i].rect;
        SCOPED_TRACE(testing::Message() << "child " << unchanged.children[i].id);
        EXPECT_EQ(narrowed.children[i].id, unchanged.children[i].id) << "order kept";
        EXPECT_EQ(is.left, was.left + shift);
        EXPECT_EQ(is.top, was.top);
        EXPECT_EQ(Width(is), Width(was));
        EXPECT_EQ(Height(is), Height(was));
    }
    RECT folderStatic = driver::ClientRectOf(GetDlgItem(dialog, file_dialogs::CURRENT_FOLDER_STATIC), dialog);
    EXPECT_EQ(folderStatic.left, 4);
    EXPECT_EQ(Width(narrowed.frame), Width(unchanged.frame) + shift);
    EXPECT_EQ(Height(narrowed.frame), Height(unchanged.frame));
    // The file column is out of view, left of the client area.
    RECT nameBox = driver::ClientRectOf(GetDlgItem(dialog, CLASSIC_NAME_BOX), dialog);
    EXPECT_LT(nameBox.right, 0);

    file_dialogs::Cancel(dialog);
    file_dialogs::WaitGone(dialog);
}

// The name box, the file list and the type list lie out of view: the keyboard must not go
// there. The dialog opens with the focus on the folder list, and Tab goes round the
// controls that can be seen.
TEST_F(FolderPickerE2E, OpensWithTheFocusOnTheFolderListAndTabsOnlyThroughWhatShows)
{
    constexpr int FOLDER_LIST = 1121, DRIVE_LIST = 1137;
    HWND dialog = OpenPicker();
    ASSERT_NE(dialog, nullptr);
    HWND folderList = GetDlgItem(dialog, FOLDER_LIST);
    ASSERT_TRUE(WaitForFocusOn(folderList)) << "the focus is on control " << GetDlgCtrlID(FocusOfThread(dialog));

    RECT client;
    GetClientRect(dialog, &client);
    std::vector<int> tabStops;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || !(GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP))
            continue;
        RECT rect = driver::ClientRectOf(child, dialog);
        EXPECT_GE(rect.left, 0) << "control " << GetDlgCtrlID(child) << " is a tab stop out of view";
        EXPECT_LE(rect.right, client.right) << "control " << GetDlgCtrlID(child);
        tabStops.push_back(GetDlgCtrlID(child));
    }
    EXPECT_EQ(tabStops, (std::vector<int>{FOLDER_LIST, DRIVE_LIST, IDOK, IDCANCEL}));

    // Tab, as pressed, goes through those four and back to the folder list.
    for (int id : {DRIVE_LIST, IDOK, IDCANCEL, FOLDER_LIST}) {
        HWND focused = FocusOfThread(dialog);
        PostMessageA(focused, WM_KEYDOWN, VK_TAB, 1);
        PostMessageA(focused, WM_KEYUP, VK_TAB, 1 | (3u << 30));
        EXPECT_TRUE(WaitForFocusOn(GetDlgItem(dialog, id))) << "Tab did not reach control " << id;
    }

    file_dialogs::Cancel(dialog);
    file_dialogs::WaitGone(dialog);
}

TEST_F(FolderPickerE2E, AcceptedFolderGoesIntoTheFolderBoxWithItsBackslash)
{
    struct Case { std::string walkTo, typed, folder; };
    const Case cases[] = {
        {"", fixture_ / "sub\\$$$.$$$", fixture_ / "sub\\"},
        // Wine takes "C:\\$$$.$$$" typed on drive C: for the current folder: walk first.
        {"C:\\", "$$$.$$$", "C:\\"},
        // A name with a subfolder in front, typed in the start folder.
        {"", "sub\\x.txt", fixture_ / "sub\\"},
        {"", "$$$.$$$", fixture_.path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.walkTo + " " + c.typed);
        EXPECT_EQ(Pick(c.walkTo, c.typed, c.folder), c.folder);
    }
}

// Through the ANSI dialog, "Проект" came back as "??????", a folder that does not exist.
TEST_F(FolderPickerE2E, FolderNamedInAnotherScriptComesBackExactly)
{
    const std::string cyrillic = fixture_.MakeFolder(u8"Проект");
    HWND dialog = OpenPicker();
    ASSERT_NE(dialog, nullptr);
    file_dialogs::AcceptUtf8(dialog, CLASSIC_NAME_BOX, cyrillic + "$$$.$$$");
    file_dialogs::WaitGone(dialog);
    EXPECT_EQ(file_dialogs::WaitForUtf8Text(app_.Control(IDC_FOLDER), cyrillic), cyrillic);
}

// The classic dialog gives a folder as its names were typed or listed, and on Windows it
// lists them by their short names: the box shows the long ones.
TEST_F(FolderPickerE2E, FolderPickedByItsShortNameGoesIntoTheBoxByItsLongName)
{
    const std::string longForm = fixture_.MakeFolder("un dossier avec des blancs");
    char shortForm[MAX_PATH] = "";
    ASSERT_NE(GetShortPathNameA(longForm.c_str(), shortForm, MAX_PATH), 0u);
    if (longForm == shortForm)
        GTEST_SKIP() << "this file system keeps no short names";
    EXPECT_EQ(Pick("", std::string(shortForm) + "$$$.$$$", longForm), longForm);
}

TEST_F(FolderPickerE2E, CancelChangesNothing)
{
    app_.SetText(IDC_FOLDER, "C:\\untouched\\");
    HWND dialog = OpenPicker();
    ASSERT_NE(dialog, nullptr);
    // Walk somewhere first: Cancel still leaves everything as it was.
    WalkTo(dialog, fixture_ / "sub\\");
    file_dialogs::Cancel(dialog);
    file_dialogs::WaitGone(dialog);
    ASSERT_TRUE(app_.CatchUp());
    EXPECT_FALSE(app_.HasMessageBox());
    EXPECT_EQ(app_.Text(IDC_FOLDER), "C:\\untouched\\");
    // The next picker opens where the program started.
    EXPECT_EQ(Pick("", "$$$.$$$", fixture_.path()), fixture_.path());
}

}  // namespace
