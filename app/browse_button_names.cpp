#include "app/browse_button_names.h"

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <cstddef>

#include "res/resource.h"

namespace {

struct ButtonName {
    int id;
    const WCHAR* name;
};
constexpr ButtonName BROWSE_BUTTONS[] = {
    {IDC_BROWSE_FOLDER, BROWSE_FOLDER_NAME},
    {IDC_BROWSE_PATTERNS, BROWSE_PATTERNS_NAME},
};

// The record as version 5 of the common controls takes it: the program asks for no later
// version (its look stays classic), and that one refuses the longer record of the SDK's
// headers, which would leave both buttons without a tooltip. (TTTOOLINFOW_V2_SIZE, written
// so that it is a constant.)
constexpr UINT TOOL_RECORD_SIZE = offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM);

void AddTooltips(HWND dialog)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&classes))
        return;
    // Shown over an inactive dialog too: the pointer rests on a button whatever window
    // has the keyboard.
    HWND tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    if (tooltip == nullptr)
        return;
    for (const ButtonName& button : BROWSE_BUTTONS) {
        TTTOOLINFOW tool = {};
        tool.cbSize = TOOL_RECORD_SIZE;
        // The tooltip watches the button's own mouse messages.
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, button.id));
        tool.lpszText = const_cast<WCHAR*>(button.name);
        SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

IAccPropServices* AnnotationService()
{
    IAccPropServices* service = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&service))))
        return nullptr;
    return service;
}

}  // namespace

void NameBrowseButtons(HWND dialog)
{
    AddTooltips(dialog);
    IAccPropServices* service = AnnotationService();
    if (service == nullptr)
        return;
    for (const ButtonName& button : BROWSE_BUTTONS)
        service->SetHwndPropStr(GetDlgItem(dialog, button.id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                PROPID_ACC_NAME, button.name);
    service->Release();
}

void ForgetBrowseButtonNames(HWND dialog)
{
    IAccPropServices* service = AnnotationService();
    if (service == nullptr)
        return;
    MSAAPROPID name = PROPID_ACC_NAME;
    for (const ButtonName& button : BROWSE_BUTTONS)
        service->ClearHwndProps(GetDlgItem(dialog, button.id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                &name, 1);
    service->Release();
}
