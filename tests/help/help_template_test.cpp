// The help dialog's template, read back from the linked resource.
#include <gtest/gtest.h>
#include <windows.h>

#include "res/resource.h"
#include "support/dialog_template.h"

namespace {

static_assert(IDD_HELP == 2, "the help dialog is dialog resource 2");
static_assert(IDC_HELP_TEXT == 100, "the help's text box is control 100");
// Each style is given both as its flags and as its value: they must say the same.
static_assert((WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK) == 0x80C800C4,
              "the help dialog's style");
static_assert((WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON) == 0x50010001, "Fermer's style");
static_assert((WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY) ==
                  0x50A10804,
              "the text box's style");

TEST(HelpTemplate, HeaderIsTheClassicFormWithTitleSizeAndFont)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(GetModuleHandleA(nullptr), 2, dialog)) << "dialog resource 2";
    EXPECT_EQ(dialog.style, 0x80C800C4u) << std::hex << dialog.style;  // also rules out the extended form
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.itemCount, 2);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.width, 325);
    EXPECT_EQ(dialog.height, 213);
    EXPECT_EQ(dialog.menuOrdinal, 0);
    EXPECT_EQ(dialog.menu, "");
    EXPECT_EQ(dialog.classOrdinal, 0);
    EXPECT_EQ(dialog.className, "") << "the standard dialog class";
    EXPECT_EQ(dialog.title, "Help");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
}

TEST(HelpTemplate, FermerComesFirstThenTheReadOnlyTextBox)
{
    struct Expected {
        WORD id, classOrdinal;
        const char* text;
        short x, y, width, height;
        DWORD style;
    };
    const Expected expected[] = {
        {2, 0x80, "&Fermer", 137, 192, 50, 14, 0x50010001},
        {100, 0x81, "", 7, 7, 310, 177, 0x50A10804},
    };
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(GetModuleHandleA(nullptr), 2, dialog));
    ASSERT_EQ(dialog.items.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const TemplateItem& item = dialog.items[i];
        SCOPED_TRACE(testing::Message() << "control " << expected[i].id);
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.classOrdinal, expected[i].classOrdinal) << item.className;
        EXPECT_EQ(item.text, expected[i].text);
        EXPECT_EQ(item.textOrdinal, 0);
        EXPECT_EQ(item.x, expected[i].x);
        EXPECT_EQ(item.y, expected[i].y);
        EXPECT_EQ(item.width, expected[i].width);
        EXPECT_EQ(item.height, expected[i].height);
        EXPECT_EQ(item.style, expected[i].style) << std::hex << item.style;
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.creationDataBytes, 0);
    }
    EXPECT_EQ(dialog.bytesRead, dialog.bytesInResource) << "bytes after the last control";
}

}  // namespace
