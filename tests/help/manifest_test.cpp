// The application manifest, read the way the system reads it: through an activation
// context made from the program's own resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr WORD MANIFEST_TYPE = 24;  // RT_MANIFEST
constexpr WORD PROCESS_MANIFEST_ID = 1;

std::string ManifestText()
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(MANIFEST_TYPE), MAKEINTRESOURCEA(PROCESS_MANIFEST_ID),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (found == nullptr)
        return "";
    auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(bytes, SizeofResource(module, found));
}

class ManifestContext : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t path[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        ACTCTXW request = {};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path;
        request.hModule = GetModuleHandleW(nullptr);
        request.lpResourceName = MAKEINTRESOURCEW(PROCESS_MANIFEST_ID);
        context_ = CreateActCtxW(&request);
        ASSERT_NE(context_, INVALID_HANDLE_VALUE) << "the system refuses the manifest, error " << GetLastError();
    }

    void TearDown() override
    {
        if (context_ != INVALID_HANDLE_VALUE)
            ReleaseActCtx(context_);
    }

    std::wstring Setting(const wchar_t* nameSpace, const wchar_t* name)
    {
        wchar_t value[64] = L"";
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, context_, nameSpace, name, value, 64, &written))
            return L"(none)";
        return value;
    }

    HANDLE context_ = INVALID_HANDLE_VALUE;
};

TEST(Manifest, IsTheProcessManifestAndKeepsTheClassicControls)
{
    std::string text = ManifestText();
    ASSERT_FALSE(text.empty()) << "no language-neutral RT_MANIFEST resource 1";
    // Version 6 of the common controls would give the themed look.
    EXPECT_EQ(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    // No ANSI code page is asked for: the program's texts are UTF-16 from the resources and
    // the boxes to the system, and its help text is read as code page 1252 by name, so
    // nothing depends on it.
    EXPECT_EQ(text.find("<activeCodePage"), std::string::npos);
}

TEST_F(ManifestContext, RunsAsInvokerWithoutUiAccess)
{
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    SIZE_T needed = 0;
    ASSERT_TRUE(QueryActCtxW(0, context_, nullptr, RunlevelInformationInActivationContext, &level,
                             sizeof level, &needed));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(level.UiAccess, 0u);
}

TEST_F(ManifestContext, DeclaresEveryWindowsVersionFromVistaToElevenAsSupported)
{
    SIZE_T needed = 0;
    QueryActCtxW(0, context_, nullptr, CompatibilityInformationInActivationContext, nullptr, 0, &needed);
    ASSERT_GE(needed, sizeof(DWORD));
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(QueryActCtxW(0, context_, nullptr, CompatibilityInformationInActivationContext,
                             buffer.data(), buffer.size(), &needed));
    DWORD count = 0;
    memcpy(&count, buffer.data(), sizeof count);
    ASSERT_EQ(count, 5u);
    // Windows 10 and Wine add a 64-bit version field to each element, which also moves the
    // first one to offset 8; older systems pack 20-byte elements from offset 4.
    size_t first = sizeof(DWORD), elementSize = sizeof(GUID) + sizeof(DWORD);
    if (needed != first + count * elementSize) {
        first = 8;
        elementSize = (needed - first) / count;
    }
    ASSERT_EQ(needed, first + count * elementSize);

    const GUID expected[] = {
        {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},  // Vista
        {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},  // 7
        {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},  // 8
        {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},  // 8.1
        {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},  // 10 and 11
    };
    for (DWORD i = 0; i < count; ++i) {
        const BYTE* element = buffer.data() + first + i * elementSize;
        GUID id;
        DWORD type = 0;
        memcpy(&id, element, sizeof id);
        memcpy(&type, element + sizeof id, sizeof type);
        EXPECT_TRUE(IsEqualGUID(id, expected[i])) << "element " << i;
        EXPECT_EQ(type, static_cast<DWORD>(ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)) << "element " << i;
    }
}

TEST_F(ManifestContext, IsAwareOfTheSystemDpi)
{
    EXPECT_EQ(Setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");
    EXPECT_EQ(Setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"), L"system");
}

}  // namespace
