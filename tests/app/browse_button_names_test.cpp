// The browse buttons' tooltips and accessible names, on the main dialog made in the test's
// own process. The annotation service's calls are recorded on their way to the real
// service, so what the program asks for shows even where the platform cannot do it: Wine 8
// answers every annotation with E_NOTIMPL, and its accessible objects name a button by its
// text alone. The name read back through the accessibility runtime is checked on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/browse_button_names.h"
#include "app/main_dialog.h"
#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/utf8.h"

namespace {

// Slots of IAccPropServices's methods in its table, after IUnknown's three.
constexpr int SET_HWND_PROP_STR_SLOT = 7;
constexpr int CLEAR_HWND_PROPS_SLOT = 9;

typedef HRESULT(STDMETHODCALLTYPE* SetHwndPropStrCall)(IAccPropServices*, HWND, DWORD, DWORD, MSAAPROPID, LPCWSTR);
typedef HRESULT(STDMETHODCALLTYPE* ClearHwndPropsCall)(IAccPropServices*, HWND, DWORD, DWORD, const MSAAPROPID*, int);

struct Annotation {
    HWND window;
    DWORD object, child;
    GUID property;
    std::wstring text;
    HRESULT result;
};

struct AnnotationLog {
    std::vector<Annotation> set, cleared;
    SetHwndPropStrCall realSet = nullptr;
    ClearHwndPropsCall realClear = nullptr;
};
AnnotationLog g_log;

HRESULT STDMETHODCALLTYPE RecordSet(IAccPropServices* self, HWND window, DWORD object, DWORD child,
                                    MSAAPROPID property, LPCWSTR text)
{
    HRESULT result = g_log.realSet(self, window, object, child, property, text);
    g_log.set.push_back({window, object, child, property, text != nullptr ? text : L"", result});
    return result;
}

HRESULT STDMETHODCALLTYPE RecordClear(IAccPropServices* self, HWND window, DWORD object, DWORD child,
                                      const MSAAPROPID* properties, int count)
{
    HRESULT result = g_log.realClear(self, window, object, child, properties, count);
    for (int i = 0; i < count; ++i)
        g_log.cleared.push_back({window, object, child, properties[i], L"", result});
    return result;
}

// Routes the service's two calls through the recorders while it exists. Every object of
// the class shares its table of methods, so the program's own object is recorded too.
class AnnotationRecorder {
public:
    AnnotationRecorder()
    {
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                    reinterpret_cast<void**>(&service_))))
            return;
        table_ = *reinterpret_cast<void***>(service_);
        g_log = AnnotationLog();
        g_log.realSet = reinterpret_cast<SetHwndPropStrCall>(Swap(SET_HWND_PROP_STR_SLOT, reinterpret_cast<void*>(RecordSet)));
        g_log.realClear = reinterpret_cast<ClearHwndPropsCall>(Swap(CLEAR_HWND_PROPS_SLOT, reinterpret_cast<void*>(RecordClear)));
    }
    ~AnnotationRecorder()
    {
        if (service_ == nullptr)
            return;
        Swap(SET_HWND_PROP_STR_SLOT, reinterpret_cast<void*>(g_log.realSet));
        Swap(CLEAR_HWND_PROPS_SLOT, reinterpret_cast<void*>(g_log.realClear));
        service_->Release();
    }
    AnnotationRecorder(const AnnotationRecorder&) = delete;
    AnnotationRecorder& operator=(const AnnotationRecorder&) = delete;

    bool active() const { return service_ != nullptr; }

private:
    void* Swap(int slot, void* replacement)
    {
        DWORD old = 0;
        VirtualProtect(&table_[slot], sizeof(void*), PAGE_READWRITE, &old);
        void* previous = table_[slot];
        table_[slot] = replacement;
        VirtualProtect(&table_[slot], sizeof(void*), old, &old);
        return previous;
    }

    IAccPropServices* service_ = nullptr;
    void** table_ = nullptr;
};

class BrowseButtonNames : public testing::Test {
protected:
    void SetUp() override
    {
        com_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        g_instance = GetModuleHandleA(nullptr);
        g_browseIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_BROWSE));
    }

    void TearDown() override
    {
        if (window_ != nullptr)
            DestroyWindow(window_);
        DeleteObject(g_bannerFont);
        g_bannerFont = nullptr;
        DestroyIcon(g_browseIcon);
        if (SUCCEEDED(com_))
            CoUninitialize();
    }

    HWND MakeDialog()
    {
        window_ = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
        return window_;
    }

    HRESULT com_ = E_FAIL;
    HWND window_ = nullptr;
};

struct Expected {
    int id;
    const wchar_t* words;
};
const Expected BUTTONS[] = {
    {IDC_BROWSE_FOLDER, L"Choisir le r\u00e9pertoire\u2026"},
    {IDC_BROWSE_PATTERNS, L"Choisir des fichiers mod\u00e8les\u2026"},
};

BOOL CALLBACK FindTooltipOf(HWND window, LPARAM context)
{
    auto* found = reinterpret_cast<std::pair<HWND, HWND>*>(context);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && GetWindow(window, GW_OWNER) == found->first) {
        found->second = window;
        return FALSE;
    }
    return TRUE;
}

TEST_F(BrowseButtonNames, OneTooltipOwnedByTheDialogHoldsEachButtonsWords)
{
    HWND dialog = MakeDialog();
    ASSERT_NE(dialog, nullptr);
    std::pair<HWND, HWND> search(dialog, nullptr);
    EnumThreadWindows(GetCurrentThreadId(), FindTooltipOf, reinterpret_cast<LPARAM>(&search));
    HWND tooltip = search.second;
    ASSERT_NE(tooltip, nullptr) << "no tooltip control owned by the dialog";
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    for (const Expected& button : BUTTONS) {
        SCOPED_TRACE(Utf8(button.words));
        WCHAR text[80] = L"";
        TTTOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, button.id));
        tool.lpszText = text;
        ASSERT_TRUE(SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        SendMessageW(tooltip, TTM_GETTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text), button.words);
    }
    // The tooltip goes with its dialog.
    DestroyWindow(dialog);
    window_ = nullptr;
    EXPECT_FALSE(IsWindow(tooltip));
}

TEST_F(BrowseButtonNames, EachButtonIsNamedWithItsWordsAndTheNamesGoWithTheDialog)
{
    AnnotationRecorder recorder;
    ASSERT_TRUE(recorder.active()) << "no accessibility annotation service";
    HWND dialog = MakeDialog();
    ASSERT_NE(dialog, nullptr);

    ASSERT_EQ(g_log.set.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(Utf8(BUTTONS[i].words));
        const Annotation& name = g_log.set[i];
        EXPECT_EQ(name.window, GetDlgItem(dialog, BUTTONS[i].id));
        EXPECT_EQ(name.object, static_cast<DWORD>(OBJID_CLIENT));
        EXPECT_EQ(name.child, static_cast<DWORD>(CHILDID_SELF));
        EXPECT_TRUE(IsEqualGUID(name.property, PROPID_ACC_NAME));
        EXPECT_EQ(name.text, BUTTONS[i].words);
        EXPECT_EQ(driver::WindowText(name.window), "...") << "the window text stays";
        if (driver::RunningUnderWine())
            std::printf("Wine's annotation service answered 0x%08lx\n", static_cast<unsigned long>(name.result));
        else
            EXPECT_EQ(name.result, S_OK);
    }

    // What a screen reader is told.
    for (const Expected& button : BUTTONS) {
        SCOPED_TRACE(Utf8(button.words));
        IAccessible* accessible = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(GetDlgItem(dialog, button.id), static_cast<DWORD>(OBJID_CLIENT),
                                             IID_IAccessible, reinterpret_cast<void**>(&accessible)),
                  S_OK);
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        accessible->get_accName(self, &name);
        std::wstring read = name != nullptr ? std::wstring(name, SysStringLen(name)) : L"";
        SysFreeString(name);
        accessible->Release();
        if (driver::RunningUnderWine()) {
            // Wine names a button by its window text and keeps no annotation.
            std::printf("under Wine the accessible name reads \"%s\"\n", Utf8(read).c_str());
        } else {
            EXPECT_EQ(read, button.words);
        }
    }

    HWND buttons[2] = {GetDlgItem(dialog, IDC_BROWSE_FOLDER), GetDlgItem(dialog, IDC_BROWSE_PATTERNS)};
    DestroyWindow(dialog);
    window_ = nullptr;
    ASSERT_EQ(g_log.cleared.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(g_log.cleared[i].window, buttons[i]);
        EXPECT_EQ(g_log.cleared[i].object, static_cast<DWORD>(OBJID_CLIENT));
        EXPECT_EQ(g_log.cleared[i].child, static_cast<DWORD>(CHILDID_SELF));
        EXPECT_TRUE(IsEqualGUID(g_log.cleared[i].property, PROPID_ACC_NAME));
    }
}

}  // namespace
