#include "support/registry_state.h"

#include <cstdio>
#include <cstring>

#include "support/utf8.h"

namespace registry {

const char* const VENDOR_PATH = ".Default\\Software\\Nuvaro";
const char* const BRUMIX_PATH = ".Default\\Software\\Nuvaro\\Brumix";
const char* const PREFERENCES_PATH = ".Default\\Software\\Nuvaro\\Brumix\\Preferences";
const char* const HISTORY_PATH = ".Default\\Software\\Nuvaro\\Brumix\\Preferences\\MRU";
const char* const FILE_DIALOG_HISTORY_PATH = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";

namespace {

bool OpenKey(HKEY parent, const std::string& path, REGSAM access, HKEY& key)
{
    return RegOpenKeyExA(parent, path.c_str(), 0, access, &key) == ERROR_SUCCESS;
}

HKEY CreateKey(HKEY parent, const std::string& path, const std::string& keyClass, DWORD options = 0)
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(parent, path.c_str(), 0, const_cast<char*>(keyClass.c_str()), options,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKU\\" << path << " (error " << result << ")";
        return nullptr;
    }
    return key;
}

// A NULL DACL: the owner (the test) may always rewrite it, whatever the key allowed.
void AllowEveryone(HKEY parent, const std::string& name)
{
    HKEY key;
    if (!OpenKey(parent, name, WRITE_DAC, key))
        return;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(key);
}

bool DeleteTreeBelow(HKEY parent, const std::string& name)
{
    HKEY key;
    if (!OpenKey(parent, name, KEY_ALL_ACCESS, key)) {
        AllowEveryone(parent, name);
        LONG result = RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key);
        if (result != ERROR_SUCCESS)
            return result == ERROR_FILE_NOT_FOUND;
    }
    for (;;) {
        char subkey[256] = "";
        DWORD length = sizeof subkey;
        if (RegEnumKeyExA(key, 0, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!DeleteTreeBelow(key, subkey))
            break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

void WriteBytes(HKEY key, const Value& value)
{
    // RegSetValueExA counts a zero that follows the data as its terminator when the
    // count leaves it out: a guard byte after the data keeps the count exact.
    std::string guarded = value.bytes + 'x';
    RegSetValueExA(key, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(guarded.data()),
                   static_cast<DWORD>(value.bytes.size()));
}

std::vector<Value> ReadValues(HKEY key)
{
    std::vector<Value> values;
    DWORD longestName = 0, longestData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                     &longestData, nullptr, nullptr);
    std::string name(longestName + 2, '\0'), data(longestData + 2, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size()), dataLength = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        if (RegEnumValueA(key, index, &name[0], &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(&data[0]), &dataLength) != ERROR_SUCCESS)
            break;
        values.push_back({name.substr(0, nameLength), type, data.substr(0, dataLength)});
    }
    return values;
}

std::string ReadClass(HKEY key)
{
    char keyClass[256] = "";
    DWORD length = sizeof keyClass;
    RegQueryInfoKeyA(key, keyClass, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    return std::string(keyClass, length);
}

void Snapshot(HKEY key, KeySnapshot& snapshot)
{
    snapshot.keyClass = ReadClass(key);
    snapshot.values = ReadValues(key);
    for (DWORD index = 0;; ++index) {
        char subkey[256] = "";
        DWORD length = sizeof subkey;
        if (RegEnumKeyExA(key, index, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        KeySnapshot child;
        child.name = subkey;
        HKEY opened;
        if (OpenKey(key, subkey, KEY_READ, opened)) {
            Snapshot(opened, child);
            RegCloseKey(opened);
        }
        snapshot.subkeys.push_back(child);
    }
}

void Restore(HKEY parent, const KeySnapshot& snapshot)
{
    HKEY key = CreateKey(parent, snapshot.name, snapshot.keyClass);
    if (key == nullptr)
        return;
    for (const Value& value : snapshot.values)
        WriteBytes(key, value);
    for (const KeySnapshot& child : snapshot.subkeys)
        Restore(key, child);
    RegCloseKey(key);
}

}  // namespace

SavedRegistry::SavedRegistry(HKEY root, const std::string& path) : root_(root)
{
    HKEY key;
    key_.name = path;
    existed_ = OpenKey(root_, path, KEY_READ, key);
    if (existed_) {
        Snapshot(key, key_);
        RegCloseKey(key);
    }
}

SavedRegistry::~SavedRegistry()
{
    if (!DeleteTreeBelow(root_, key_.name))
        ADD_FAILURE() << "cannot remove " << key_.name << " to put it back";
    if (existed_)
        Restore(root_, key_);
}

void PreferencesSandbox::SetUp()
{
    preferences_ = new SavedRegistry;
    fileDialogs_ = new SavedRegistry(HKEY_CURRENT_USER, FILE_DIALOG_HISTORY_PATH);
    ClearPreferences();
    if (!DeleteTreeBelow(HKEY_CURRENT_USER, FILE_DIALOG_HISTORY_PATH))
        ADD_FAILURE() << "cannot remove HKCU\\" << FILE_DIALOG_HISTORY_PATH;
}

void PreferencesSandbox::TearDown()
{
    delete fileDialogs_;
    fileDialogs_ = nullptr;
    delete preferences_;
    preferences_ = nullptr;
}

bool DeleteTree(const std::string& path)
{
    return DeleteTreeBelow(HKEY_USERS, path);
}

void ClearPreferences()
{
    if (!DeleteTree(BRUMIX_PATH))
        ADD_FAILURE() << "cannot remove HKU\\" << BRUMIX_PATH;
}

bool KeyExists(const std::string& path)
{
    HKEY key;
    if (!OpenKey(HKEY_USERS, path, KEY_READ, key))
        return false;
    RegCloseKey(key);
    return true;
}

std::string KeyClass(const std::string& path)
{
    HKEY key;
    if (!OpenKey(HKEY_USERS, path, KEY_READ, key))
        return "(no key)";
    std::string keyClass = ReadClass(key);
    RegCloseKey(key);
    return keyClass;
}

std::vector<Value> Values(const std::string& path)
{
    HKEY key;
    if (!OpenKey(HKEY_USERS, path, KEY_READ, key))
        return {};
    std::vector<Value> values = ReadValues(key);
    RegCloseKey(key);
    return values;
}

bool ReadValue(const std::string& path, const std::string& name, Value& value)
{
    HKEY key;
    if (!OpenKey(HKEY_USERS, path, KEY_READ, key))
        return false;
    DWORD size = 0, type = REG_NONE;
    bool found = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
        std::string data(size + 1, '\0');
        found = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) ==
                ERROR_SUCCESS;
        value = {name, type, data.substr(0, size)};
    }
    RegCloseKey(key);
    return found;
}

void WriteValue(const std::string& path, const std::string& name, DWORD type, const std::string& bytes)
{
    HKEY key = CreateKey(HKEY_USERS, path, "");
    if (key == nullptr)
        return;
    WriteBytes(key, {name, type, bytes});
    RegCloseKey(key);
}

void WriteWord(const std::string& path, const std::string& name, DWORD word)
{
    WriteValue(path, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&word), sizeof word));
}

void WriteText(const std::string& path, const std::string& name, const std::string& text)
{
    WriteValue(path, name, REG_SZ, text + '\0');
}

void WriteHistory(const std::vector<std::string>& entries)
{
    for (size_t index = 0; index < entries.size(); ++index)
        WriteText(HISTORY_PATH, IndexName(static_cast<int>(index)), entries[index]);
}

std::string IndexName(int index)
{
    char name[16];
    std::snprintf(name, sizeof name, "%02d", index);
    return name;
}

DWORD Word(const std::string& path, const std::string& name, DWORD missing)
{
    Value value;
    if (!ReadValue(path, name, value) || value.type != REG_DWORD || value.bytes.size() != sizeof(DWORD))
        return missing;
    DWORD word;
    memcpy(&word, value.bytes.data(), sizeof word);
    return word;
}

std::vector<std::string> HistoryTexts()
{
    std::vector<std::string> texts;
    Value value;
    while (ReadValue(HISTORY_PATH, IndexName(static_cast<int>(texts.size())), value))
        texts.push_back(value.bytes.substr(0, value.bytes.find('\0')));
    return texts;
}

bool ReadWideValue(const std::string& path, const std::string& name, Value& value)
{
    HKEY key;
    if (!OpenKey(HKEY_USERS, path, KEY_READ, key))
        return false;
    std::wstring wideName = Wide(name);
    DWORD size = 0, type = REG_NONE;
    bool found = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
        std::string data(size + 2, '\0');
        found = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) ==
                ERROR_SUCCESS;
        value = {name, type, data.substr(0, size)};
    }
    RegCloseKey(key);
    return found;
}

std::vector<std::string> HistoryUtf8Texts()
{
    std::vector<std::string> texts;
    Value value;
    while (ReadWideValue(HISTORY_PATH, IndexName(static_cast<int>(texts.size())), value)) {
        std::wstring text(value.bytes.size() / 2, L'\0');
        memcpy(&text[0], value.bytes.data(), text.size() * 2);
        texts.push_back(Utf8(text.substr(0, text.find(L'\0'))));
    }
    return texts;
}

namespace {

// Gives a key (created when missing) exactly this access list; its owner, the test, may
// still change it.
void SetAccessList(const std::string& path, ACL* list, const char* what)
{
    HKEY key = CreateKey(HKEY_USERS, path, "");
    if (key == nullptr)
        return;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, list, FALSE);
    LONG result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    if (result != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot make HKU\\" << path << " " << what << " (error " << result << ")";
    RegCloseKey(key);
}

}  // namespace

void DenyAllAccess(const std::string& path)
{
    // An empty list grants nothing to anyone.
    ACL empty;
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SetAccessList(path, &empty, "closed to every access");
}

void AllowOnlyReading(const std::string& path)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        ADD_FAILURE() << "cannot make the SID of Everyone";
        return;
    }
    // Room for one entry, on the DWORD boundary that access lists need.
    union {
        ACL list;
        DWORD room[64];
    } readers;
    InitializeAcl(&readers.list, sizeof readers, ACL_REVISION);
    AddAccessAllowedAce(&readers.list, ACL_REVISION, KEY_READ, everyone);
    SetAccessList(path, &readers.list, "readable only");
    FreeSid(everyone);
}

void MakeVolatile(const std::string& path)
{
    DeleteTree(path);
    HKEY key = CreateKey(HKEY_USERS, path, "", REG_OPTION_VOLATILE);
    if (key != nullptr)
        RegCloseKey(key);
}

}  // namespace registry
