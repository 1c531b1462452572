// The running program's main dialog, looked at and closed from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/expected_main_dialog.h"
#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/cursor.h"
#include "support/dialog_template.h"
#include "support/temp_folder.h"

using driver::BrumixApp;

namespace {

TEST(MainDialogE2E, ShowsEveryControlAsDesigned)
{
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    HWND dialog = app.dialog();

    char title[64] = "";
    GetWindowTextA(dialog, title, sizeof title);
    EXPECT_STREQ(title, "Brumix");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)) & ~WS_CLIPSIBLINGS,
              EXPECTED_DIALOG_STYLE);

    // Dialog units become pixels the same way in this process: same template, same font.
    HWND reference = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN),
                                        nullptr, QuietDialogProc, 0);
    ASSERT_NE(reference, nullptr);
    auto toPixels = [&](int x, int y, int width, int height) {
        RECT rect = {x, y, x + width, y + height};
        MapDialogRect(reference, &rect);
        return rect;
    };

    RECT client;
    GetClientRect(dialog, &client);
    RECT size = toPixels(0, 0, 200, 166);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    // Placed from the screen's corner, not centred: the template places the client area.
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    RECT position = toPixels(222, 81, 0, 0);
    EXPECT_EQ(origin.x, position.left);
    EXPECT_EQ(origin.y, position.top);

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ExpectedControl& expected : EXPECTED_CONTROLS) {
        SCOPED_TRACE(testing::Message() << "control " << expected.id << " \"" << expected.text << "\"");
        ASSERT_NE(child, nullptr) << "missing: tab order ends early";
        EXPECT_EQ(GetDlgCtrlID(child), expected.id);
        EXPECT_EQ(driver::ClassName(child), expected.className);
        if (expected.id != IDC_FOLDER) {
            EXPECT_EQ(driver::WindowText(child), expected.text);
        }

        DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        DWORD designed = expected.style;
        if (expected.id == IDC_TITLE)
            designed |= WS_DISABLED;  // the banner takes no input
        if (expected.id == IDC_FOLDER)
            designed &= ~WS_BORDER;   // a 3D-look dialog turns it into a client edge
        EXPECT_EQ(style, designed) << std::hex << style << " vs " << designed;

        // Position and size are each mapped from dialog units, as the dialog manager does.
        RECT actual = driver::ClientRectOf(child, dialog);
        RECT place = toPixels(expected.x, expected.y, 0, 0);
        RECT extent = toPixels(0, 0, expected.width, expected.height);
        EXPECT_EQ(actual.left, place.left);
        EXPECT_EQ(actual.top, place.top);
        if (expected.id == IDC_PATTERNS) {
            // The template's height is that of the open list. Windows reports the whole
            // dropped-down box; Wine leaves out its edit field, so compare with the same
            // template made here.
            RECT list = {}, box = {}, referenceList = {}, referenceBox = {};
            ASSERT_TRUE(driver::SendAndWait(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list)));
            GetWindowRect(child, &box);
            HWND referenceCombo = GetDlgItem(reference, IDC_PATTERNS);
            SendMessageA(referenceCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&referenceList));
            GetWindowRect(referenceCombo, &referenceBox);
            EXPECT_EQ(list.right - list.left, extent.right);
            EXPECT_EQ(list.bottom - box.top, referenceList.bottom - referenceBox.top);
            if (!driver::RunningUnderWine()) {
                EXPECT_EQ(list.bottom - box.top, extent.bottom);
            }
        } else if (!(expected.classAtom == STATIC_ATOM && (expected.style & SS_TYPEMASK) == SS_ETCHEDHORZ)) {
            // Wine grows an etched separator by 2 pixels each way: only its place is compared.
            EXPECT_EQ(actual.right - actual.left, extent.right);
            EXPECT_EQ(actual.bottom - actual.top, extent.bottom);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than designed";
    DestroyWindow(reference);

    EXPECT_TRUE(app.Close());
}

// The tooltip that the program shows, if any.
HWND ShownTooltip(const BrumixApp& app)
{
    std::vector<HWND> shown = driver::TopLevelWindows(app.processId(), [](HWND window) {
        return IsWindowVisible(window) && driver::ClassName(window) == "tooltips_class32";
    });
    return shown.empty() ? nullptr : shown.front();
}

// The buttons show an icon and the same "..." text; the pointer resting on each brings up
// its own words. The mouse really moves there, as a person's would.
TEST(MainDialogE2E, EachBrowseButtonShowsItsTooltipWhenThePointerRestsOnIt)
{
    struct Case { int id; const char* words; };
    const Case cases[] = {
        {IDC_BROWSE_FOLDER, u8"Choisir le r\u00e9pertoire\u2026"},
        {IDC_BROWSE_PATTERNS, u8"Choisir des fichiers mod\u00e8les\u2026"},
    };
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        // Away first, beside the banner, where no tooltip belongs.
        PointAt(app.dialog(), {4, 10});
        EXPECT_TRUE(driver::WaitUntil([&] { return ShownTooltip(app) == nullptr; })) << "a tooltip stays up";

        RECT button = driver::ClientRectOf(app.Control(c.id), app.dialog());
        PointAt(app.dialog(), {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
        std::string shown;
        bool appeared = driver::WaitUntil([&] {
            HWND tooltip = ShownTooltip(app);
            shown = tooltip != nullptr ? driver::WindowUtf8Text(tooltip) : "";
            return shown == c.words;
        });
        EXPECT_TRUE(appeared) << "the tooltip shown reads \"" << shown << "\"";
        EXPECT_EQ(app.Text(c.id), "...") << "the button's own text stays";
    }
    EXPECT_TRUE(app.Close());
}

TEST(MainDialogE2E, FolderBoxStartsWithTheCurrentDirectory)
{
    TempFolder folder;
    std::string withoutBackslash = folder.path().substr(0, folder.path().size() - 1);
    struct Case { std::string directory, shown; };
    for (const Case& c : {Case{"C:\\", "C:\\"}, Case{withoutBackslash, withoutBackslash}}) {
        SCOPED_TRACE(c.directory);
        BrumixApp app;
        ASSERT_TRUE(app.Start(c.directory));
        EXPECT_EQ(app.Text(IDC_FOLDER), c.shown);
        EXPECT_TRUE(app.Close());
    }
}

TEST(MainDialogE2E, FermerEscapeAndCloseBoxEndTheProgramWithCodeZero)
{
    // Started in a folder of the test's own: a key that reached OK would start a run there.
    TempFolder folder;
    for (driver::CloseWay way : {driver::BY_FERMER, driver::BY_ESCAPE, driver::BY_CLOSE_BOX}) {
        SCOPED_TRACE(driver::CloseWayName(way));
        BrumixApp app;
        ASSERT_TRUE(app.Start(folder.path()));
        EXPECT_TRUE(app.Close(way));
    }
}

}  // namespace
