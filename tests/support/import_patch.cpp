#include "support/import_patch.h"

namespace {

void** FindImportSlot(const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return nullptr;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + entry->Name), dll) != 0)
            continue;
        DWORD names = entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk;
        auto* lookup = reinterpret_cast<IMAGE_THUNK_DATA*>(base + names);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; lookup->u1.AddressOfData != 0; ++lookup, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + lookup->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&addresses->u1.Function);
        }
    }
    return nullptr;
}

void WriteSlot(void** slot, void* value)
{
    DWORD oldProtection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &oldProtection);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, oldProtection, &oldProtection);
}

}  // namespace

ImportPatch::ImportPatch(const char* dll, const char* function, void* replacement)
{
    slot_ = FindImportSlot(dll, function);
    if (slot_ == nullptr)
        return;
    original_ = *slot_;
    WriteSlot(slot_, replacement);
}

ImportPatch::~ImportPatch()
{
    if (slot_ != nullptr)
        WriteSlot(slot_, original_);
}
