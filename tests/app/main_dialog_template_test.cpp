// The main dialog's template, read back from the linked resource byte by byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/expected_main_dialog.h"
#include "support/dialog_template.h"

namespace {

TEST(MainDialogTemplate, HeaderIsTheClassicFormWithTitlePositionSizeAndFont)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(GetModuleHandleA(nullptr), IDD_MAIN, dialog)) << "dialog resource 1";
    EXPECT_EQ(dialog.style, EXPECTED_DIALOG_STYLE);  // also rules out the extended form
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.itemCount, std::size(EXPECTED_CONTROLS));
    EXPECT_EQ(dialog.x, 222);
    EXPECT_EQ(dialog.y, 81);
    EXPECT_EQ(dialog.width, 200);
    EXPECT_EQ(dialog.height, 166);
    EXPECT_EQ(dialog.menuOrdinal, 0);
    EXPECT_EQ(dialog.menu, "");
    EXPECT_EQ(dialog.classOrdinal, 0);
    EXPECT_EQ(dialog.className, "") << "the standard dialog class";
    EXPECT_EQ(dialog.title, "Brumix");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
}

TEST(MainDialogTemplate, ControlsComeInTabOrderWithIdClassTextGeometryAndStyle)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(GetModuleHandleA(nullptr), IDD_MAIN, dialog));
    ASSERT_EQ(dialog.items.size(), std::size(EXPECTED_CONTROLS));
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const ExpectedControl& expected = EXPECTED_CONTROLS[i];
        const TemplateItem& item = dialog.items[i];
        SCOPED_TRACE(testing::Message() << "control " << expected.id << " \"" << expected.text << "\"");
        EXPECT_EQ(item.style, expected.style) << std::hex << item.style;
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.x, expected.x);
        EXPECT_EQ(item.y, expected.y);
        EXPECT_EQ(item.width, expected.width);
        EXPECT_EQ(item.height, expected.height);
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(item.classOrdinal, expected.classAtom) << item.className;
        EXPECT_EQ(item.textOrdinal, 0);
        EXPECT_EQ(item.text, expected.text);
        EXPECT_EQ(item.creationDataBytes, 0);
    }
    EXPECT_EQ(dialog.bytesRead, dialog.bytesInResource) << "bytes after the last control";
}

// The designed images first, as they were; then the sizes that the shell and the program
// ask for at 125 %, 150 % and 200 %, and Explorer's 256 pixels, which is a PNG image (its
// size is written 0 in the group, its colours as 32 bits).
TEST(MainDialogTemplate, IconGroupsHaveTheDesignedImagesThenTheScaledSizes)
{
    struct Group { int id; std::vector<int> sizes; };
    for (const Group& group : {Group{1, {48, 32, 16, 20, 24, 40, 64, 256}}, Group{100, {32, 48, 64}}}) {
        SCOPED_TRACE(testing::Message() << "icon group " << group.id);
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(group.id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
        ASSERT_NE(resource, nullptr);
        auto* header = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
        WORD count;
        memcpy(&count, header + 4, 2);
        ASSERT_EQ(count, group.sizes.size());
        for (WORD i = 0; i < count; ++i) {
            const BYTE* entry = header + 6 + 14 * i;  // GRPICONDIRENTRY
            bool png = group.sizes[i] == 256;
            SCOPED_TRACE(testing::Message() << group.sizes[i] << " pixels");
            EXPECT_EQ(entry[0], group.sizes[i] % 256) << "width";
            EXPECT_EQ(entry[1], group.sizes[i] % 256) << "height";
            EXPECT_EQ(entry[2], png ? 0 : 16) << "colours";
            WORD bits;
            memcpy(&bits, entry + 6, 2);
            EXPECT_EQ(bits, png ? 32 : 4) << "bits per pixel";
        }
    }
}

TEST(MainDialogTemplate, BrowseIconKeepsToItsMiddleFifteenByThirteenPixels)
{
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BROWSE), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = 32;
    format.bmiHeader.biHeight = -32;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    DWORD mask[32 * 32] = {};
    ASSERT_EQ(GetDIBits(dc, info.hbmMask, 0, 32, mask, &format, DIB_RGB_COLORS), 32);
    int minX = 32, maxX = -1, minY = 32, maxY = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if ((mask[y * 32 + x] & 0xFFFFFF) == 0) {  // an opaque pixel
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    DeleteDC(dc);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(icon);
    EXPECT_EQ(minX, 9);
    EXPECT_EQ(maxX, 23);
    EXPECT_EQ(minY, 7);
    EXPECT_EQ(maxY, 19);
}

// The version block's fixed part and its strings.
TEST(MainDialogTemplate, VersionBlockNamesTheProgram)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &unused);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00020001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00020001u);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1252);

    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "Destruction recursive de fichiers"},
        {"FileVersion", "1.0.2.1"},
        {"InternalName", "BRUMIX"},
        {"OriginalFilename", "brumix.exe"},
    };
    for (const auto& [key, value] : strings) {
        char* text = nullptr;
        std::string query = std::string("\\StringFileInfo\\040904E4\\") + key;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_STREQ(text, value) << key;
    }
    for (const char* key : {"CompanyName", "LegalCopyright"}) {
        char* text = nullptr;
        std::string query = std::string("\\StringFileInfo\\040904E4\\") + key;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_GT(strlen(text), 0u) << key;
    }
}

// The product's name and version beside the file's, and a copyright sign that the file's
// properties show as such: the block's texts are UTF-16, read here through the UTF-16 call.
// The block keeps its one table and its one translation.
TEST(MainDialogTemplate, VersionBlockNamesTheProductWithItsCopyrightSign)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &unused);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    struct Text { const wchar_t* key; std::wstring value; };
    const Text texts[] = {
        {L"ProductName", L"Brumix"},
        {L"ProductVersion", L"1.0.2.1"},
        {L"LegalCopyright", L"\u00a9 2026 Nuvaro"},
        {L"FileDescription", L"Destruction recursive de fichiers"},
    };
    for (const Text& text : texts) {
        wchar_t* value = nullptr;
        UINT length = 0;
        std::wstring query = std::wstring(L"\\StringFileInfo\\040904E4\\") + text.key;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length));
        EXPECT_EQ(std::wstring(value), text.value);
    }

    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    EXPECT_EQ(length, 4u) << "one translation";
    // Only the one table: "040C04E4" or any other is not there.
    void* other = nullptr;
    EXPECT_FALSE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040C04E4\\ProductName", &other, &length));
    EXPECT_FALSE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductName", &other, &length));
}

BOOL CALLBACK TakeLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context)
{
    reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
    return TRUE;
}

std::vector<WORD> LanguagesOf(LPCWSTR type, LPCWSTR name)
{
    std::vector<WORD> languages;
    EnumResourceLanguagesW(GetModuleHandleW(nullptr), type, name, TakeLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

// The dialogs and the help text are French, and say so; the version block keeps its US
// English tag, and the manifest stays language-neutral as the loader looks for it.
TEST(MainDialogTemplate, DialogsAndHelpTextAreTaggedFrench)
{
    const WORD french = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    struct Resource { const char* what; LPCWSTR type, name; WORD language; };
    const Resource resources[] = {
        {"main dialog", MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_MAIN), french},
        {"help dialog", MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_HELP), french},
        {"help text", MAKEINTRESOURCEW(10), MAKEINTRESOURCEW(IDR_HELP_TEXT), french},
        {"version block", MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},
        {"manifest", MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)},
    };
    for (const Resource& resource : resources)
        EXPECT_EQ(LanguagesOf(resource.type, resource.name), std::vector<WORD>{resource.language}) << resource.what;
}

}  // namespace
