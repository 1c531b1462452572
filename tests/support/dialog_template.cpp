#include "support/dialog_template.h"

#include <cstring>

namespace {

class Reader {
public:
    Reader(const BYTE* data, size_t size) : base_(data), at_(data), end_(data + size) {}

    bool ok() const { return at_ <= end_; }
    size_t offset() const { return static_cast<size_t>(at_ - base_); }

    DWORD Dword() { DWORD v = 0; Copy(&v, 4); return v; }
    WORD Word() { WORD v = 0; Copy(&v, 2); return v; }
    short Short() { return static_cast<short>(Word()); }

    std::string Text()
    {
        std::wstring wide;
        for (WORD c = Word(); c != 0 && ok(); c = Word())
            wide += static_cast<wchar_t>(c);
        if (wide.empty())
            return "";
        int bytes = WideCharToMultiByte(1252, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string narrow(static_cast<size_t>(bytes), '\0');
        WideCharToMultiByte(1252, 0, wide.c_str(), -1, &narrow[0], bytes, nullptr, nullptr);
        narrow.resize(static_cast<size_t>(bytes) - 1);
        return narrow;
    }

    void NameOrOrdinal(WORD& ordinal, std::string& name)
    {
        WORD first = 0;
        if (at_ + 2 <= end_)
            memcpy(&first, at_, 2);
        ordinal = 0;
        name.clear();
        if (first == 0xFFFF) {
            Word();
            ordinal = Word();
        } else {
            name = Text();
        }
    }

    void AlignToDword()
    {
        while (offset() % 4 != 0)
            ++at_;
    }

    void Skip(size_t bytes) { at_ += bytes; }

private:
    void Copy(void* into, size_t bytes)
    {
        if (at_ + bytes <= end_)
            memcpy(into, at_, bytes);
        at_ += bytes;
    }

    const BYTE* base_;
    const BYTE* at_;
    const BYTE* end_;
};

}  // namespace

bool ReadDialogTemplate(HMODULE module, int id, DialogTemplate& dialog)
{
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (resource == nullptr)
        return false;
    DWORD size = SizeofResource(module, resource);
    auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    if (data == nullptr)
        return false;

    Reader reader(data, size);
    dialog = DialogTemplate();
    dialog.bytesInResource = size;
    dialog.style = reader.Dword();
    if (dialog.style == 0xFFFF0001)  // DLGTEMPLATEEX
        return true;
    dialog.exStyle = reader.Dword();
    dialog.itemCount = reader.Word();
    dialog.x = reader.Short();
    dialog.y = reader.Short();
    dialog.width = reader.Short();
    dialog.height = reader.Short();
    reader.NameOrOrdinal(dialog.menuOrdinal, dialog.menu);
    reader.NameOrOrdinal(dialog.classOrdinal, dialog.className);
    dialog.title = reader.Text();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = reader.Word();
        dialog.font = reader.Text();
    }
    for (WORD i = 0; i < dialog.itemCount && reader.ok(); ++i) {
        reader.AlignToDword();
        TemplateItem item;
        item.style = reader.Dword();
        item.exStyle = reader.Dword();
        item.x = reader.Short();
        item.y = reader.Short();
        item.width = reader.Short();
        item.height = reader.Short();
        item.id = reader.Word();
        reader.NameOrOrdinal(item.classOrdinal, item.className);
        reader.NameOrOrdinal(item.textOrdinal, item.text);
        item.creationDataBytes = reader.Word();
        reader.Skip(item.creationDataBytes);
        dialog.items.push_back(item);
    }
    dialog.bytesRead = reader.offset();
    return reader.ok();
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}
