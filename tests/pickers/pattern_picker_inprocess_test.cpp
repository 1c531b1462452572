// The pattern picker in the test's own thread, with the system's dialog: a shortcut
// picked there is a file like any other, "*.lnk", never the file it leads to.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>
#include <string>

#include "driver/app_driver.h"
#include "pickers/pattern_picker.h"
#include "support/file_dialogs.h"
#include "support/import_patch.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

// A shell link at `link` that leads to `target`, made as the shell makes one.
bool MakeShortcut(const std::wstring& link, const std::wstring& target)
{
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink))))
        return false;
    IPersistFile* file = nullptr;
    bool saved = SUCCEEDED(shellLink->SetPath(target.c_str())) &&
                 SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                 SUCCEEDED(file->Save(link.c_str(), TRUE));
    if (file != nullptr)
        file->Release();
    shellLink->Release();
    return saved;
}

// Windows' dialog hands back the file that a picked shortcut leads to unless the request
// says OFN_NODEREFERENCELINKS; Wine 8's never does, with or without it. Under Wine this
// stands in for Windows there, for a single pick (a full path alone), so that a request
// without the flag shows here as it would on Windows.
ImportPatch* g_openPatch;

BOOL WINAPI OpenDereferencingAsWindows(OPENFILENAMEW* request)
{
    auto real = reinterpret_cast<BOOL(WINAPI*)(OPENFILENAMEW*)>(g_openPatch->original());
    BOOL accepted = real(request);
    if (!accepted || (request->Flags & OFN_NODEREFERENCELINKS))
        return accepted;
    WCHAR* picked = request->lpstrFile;
    if (picked[lstrlenW(picked) + 1] != L'\0')
        return accepted;  // several names behind their folder
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(picked, STGM_READ))) {
        WCHAR target[MAX_PATH] = L"";
        bool found = shellLink->GetPath(target, MAX_PATH, nullptr, 0) == S_OK;
        if (found && static_cast<DWORD>(lstrlenW(target)) + 2 <= request->nMaxFile) {
            lstrcpyW(picked, target);
            picked[lstrlenW(target) + 1] = L'\0';
        }
    }
    if (file != nullptr)
        file->Release();
    if (shellLink != nullptr)
        shellLink->Release();
    return accepted;
}

class PatternPickerInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        fixture_.MakeFile("tool.exe");
        fixture_.MakeFile("b.obj");
        ASSERT_TRUE(MakeShortcut(Wide(fixture_ / "x.lnk"), Wide(fixture_ / "tool.exe")));
        GetCurrentDirectoryA(MAX_PATH, startDirectory_);
        SetCurrentDirectoryA(fixture_.path().c_str());
    }

    void TearDown() override
    {
        SetCurrentDirectoryA(startDirectory_);
        CoUninitialize();
    }

    // Runs the picker, typing `typed` into its dialog; the pattern text it gives.
    std::string Pick(const std::string& typed)
    {
        file_dialogs::OnNextDialog([typed](HWND dialog) {
            file_dialogs::AcceptUtf8(dialog, file_dialogs::EXPLORER_NAME_BOX, typed);
        });
        std::wstring patterns(PATTERN_PICK_CAPACITY, L'#');
        if (!BrowsePatterns(nullptr, &patterns[0], PATTERN_PICK_CAPACITY))
            return "(cancelled)";
        return Utf8(patterns.c_str());
    }

    TempFolder fixture_;
    char startDirectory_[MAX_PATH] = "";
};

TEST_F(PatternPickerInProcess, PickedShortcutGivesItsOwnExtension)
{
    std::optional<ImportPatch> windowsDialog;
    if (driver::RunningUnderWine()) {
        windowsDialog.emplace("comdlg32.dll", "GetOpenFileNameW", reinterpret_cast<void*>(OpenDereferencingAsWindows));
        ASSERT_TRUE(windowsDialog->applied());
        g_openPatch = &*windowsDialog;
    }
    EXPECT_EQ(Pick("x.lnk"), "*.lnk");
    EXPECT_EQ(Pick("\"x.lnk\" \"b.obj\""), "*.lnk;*.obj");
    g_openPatch = nullptr;
}

}  // namespace
