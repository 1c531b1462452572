// The main dialog's template, read back from the linked resource byte by byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/expected_main_dialog.h"

namespace {

// Reads the fields of a classic (not extended) dialog template in order.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : at_(data) {}

    DWORD Dword() { DWORD v; memcpy(&v, at_, 4); at_ += 4; return v; }
    WORD Word() { WORD v; memcpy(&v, at_, 2); at_ += 2; return v; }
    short Short() { return static_cast<short>(Word()); }

    // A text stored as UTF-16, turned into code page 1252 like the program's own texts.
    std::string Text()
    {
        std::wstring wide;
        for (WORD c = Word(); c != 0; c = Word())
            wide += static_cast<wchar_t>(c);
        char narrow[512] = "";
        WideCharToMultiByte(1252, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
        return narrow;
    }

    // A name or an ordinal: 0xFFFF followed by the ordinal, else a text.
    void NameOrOrdinal(WORD& ordinal, std::string& name)
    {
        WORD first;
        memcpy(&first, at_, 2);
        if (first == 0xFFFF) {
            Word();
            ordinal = Word();
            name.clear();
        } else {
            ordinal = 0;
            name = Text();
        }
    }

    void AlignToDword(const BYTE* base)
    {
        while ((at_ - base) % 4 != 0)
            ++at_;
    }

    const BYTE* at() const { return at_; }
    void Skip(size_t bytes) { at_ += bytes; }

private:
    const BYTE* at_;
};

const BYTE* MainTemplate(DWORD& size)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDD_MAIN), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (resource == nullptr)
        return nullptr;
    size = SizeofResource(module, resource);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
}

TEST(MainDialogTemplate, HeaderIsTheClassicFormWithTitlePositionSizeAndFont)
{
    DWORD size = 0;
    const BYTE* data = MainTemplate(size);
    ASSERT_NE(data, nullptr) << "dialog resource 1 is missing";
    TemplateReader reader(data);

    EXPECT_EQ(reader.Dword(), EXPECTED_DIALOG_STYLE);  // also rules out the extended form
    EXPECT_EQ(reader.Dword(), 0u) << "extended style";
    EXPECT_EQ(reader.Word(), std::size(EXPECTED_CONTROLS));
    EXPECT_EQ(reader.Short(), 222);
    EXPECT_EQ(reader.Short(), 81);
    EXPECT_EQ(reader.Short(), 200);
    EXPECT_EQ(reader.Short(), 166);
    WORD ordinal;
    std::string name;
    reader.NameOrOrdinal(ordinal, name);
    EXPECT_EQ(ordinal, 0) << "menu";
    EXPECT_EQ(name, "") << "menu";
    reader.NameOrOrdinal(ordinal, name);
    EXPECT_EQ(ordinal, 0) << "class";
    EXPECT_EQ(name, "") << "class: the standard dialog class";
    EXPECT_EQ(reader.Text(), "Brumix");
    EXPECT_EQ(reader.Word(), 8) << "font size";
    EXPECT_EQ(reader.Text(), "MS Sans Serif");
}

TEST(MainDialogTemplate, ControlsComeInTabOrderWithIdClassTextGeometryAndStyle)
{
    DWORD size = 0;
    const BYTE* data = MainTemplate(size);
    ASSERT_NE(data, nullptr);
    TemplateReader reader(data);
    reader.Skip(18);
    WORD ordinal;
    std::string name;
    reader.NameOrOrdinal(ordinal, name);
    reader.NameOrOrdinal(ordinal, name);
    reader.Text();
    reader.Word();
    reader.Text();

    for (const ExpectedControl& expected : EXPECTED_CONTROLS) {
        SCOPED_TRACE(testing::Message() << "control " << expected.id << " \"" << expected.text << "\"");
        reader.AlignToDword(data);
        ASSERT_LT(reader.at(), data + size);
        EXPECT_EQ(reader.Dword(), expected.style);
        EXPECT_EQ(reader.Dword(), 0u) << "extended style";
        EXPECT_EQ(reader.Short(), expected.x);
        EXPECT_EQ(reader.Short(), expected.y);
        EXPECT_EQ(reader.Short(), expected.width);
        EXPECT_EQ(reader.Short(), expected.height);
        EXPECT_EQ(reader.Word(), expected.id);
        reader.NameOrOrdinal(ordinal, name);
        EXPECT_EQ(ordinal, expected.classAtom) << name;
        reader.NameOrOrdinal(ordinal, name);
        EXPECT_EQ(name, expected.text);
        EXPECT_EQ(ordinal, 0);
        reader.Skip(reader.Word());  // creation data
    }
    EXPECT_EQ(reader.at(), data + size) << "bytes after the last control";
}

TEST(MainDialogTemplate, IconGroupsHaveTheDesignedImages)
{
    struct Group { int id; std::vector<int> sizes; };
    for (const Group& group : {Group{1, {48, 32, 16}}, Group{100, {32}}}) {
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
            EXPECT_EQ(entry[0], group.sizes[i]) << "width";
            EXPECT_EQ(entry[1], group.sizes[i]) << "height";
            EXPECT_EQ(entry[2], 16) << "colours";
            WORD bits;
            memcpy(&bits, entry + 6, 2);
            EXPECT_EQ(bits, 4) << "bits per pixel";
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

}  // namespace
