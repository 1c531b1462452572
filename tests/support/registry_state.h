// Brumix's part of the test prefix's registry: saved before a test and put back exactly
// afterwards, and read and written value by value, byte for byte.
#ifndef BRUMIX_TESTS_REGISTRY_STATE_H
#define BRUMIX_TESTS_REGISTRY_STATE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace registry {

// Paths below HKEY_USERS, without a trailing backslash.
extern const char* const VENDOR_PATH;       // ".Default\Software\Nuvaro", all Brumix keeps
extern const char* const BRUMIX_PATH;       // its "Brumix" subkey
extern const char* const PREFERENCES_PATH;  // the preferences key
extern const char* const HISTORY_PATH;      // its "MRU" subkey

struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::string bytes;  // exactly as stored, terminating zero included when there is one
};

struct KeySnapshot {
    std::string name;
    std::string keyClass;
    std::vector<Value> values;
    std::vector<KeySnapshot> subkeys;
};

// Below HKEY_CURRENT_USER: the history that the system's file dialogs keep of each
// program, the folder each last showed, which decides the folder they open in next.
extern const char* const FILE_DIALOG_HISTORY_PATH;

// Saves a key (the vendor key by default) with everything below it (values, subkeys,
// classes) and puts it back exactly as it was when it goes out of scope, whatever the test
// did meanwhile (keys deleted, made volatile, or closed to every access).
class SavedRegistry {
public:
    explicit SavedRegistry(HKEY root = HKEY_USERS, const std::string& path = VENDOR_PATH);
    ~SavedRegistry();
    SavedRegistry(const SavedRegistry&) = delete;
    SavedRegistry& operator=(const SavedRegistry&) = delete;

private:
    HKEY root_;
    bool existed_ = false;
    KeySnapshot key_;
};

// Every test program starts from an empty preferences key (the options come up as their
// presets, the history empty) and from no file-dialog history, and leaves the registry as
// it found them: each close of the program writes its options and history, and each
// accepted file dialog its folder.
class PreferencesSandbox : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    SavedRegistry* preferences_ = nullptr;
    SavedRegistry* fileDialogs_ = nullptr;
};

// Removes a key with everything below it, also keys closed to access. True when it is gone.
bool DeleteTree(const std::string& path);
void ClearPreferences();
bool KeyExists(const std::string& path);
std::string KeyClass(const std::string& path);
// The values of a key in the order in which the registry enumerates them.
std::vector<Value> Values(const std::string& path);
bool ReadValue(const std::string& path, const std::string& name, Value& value);

// Stores exactly these bytes: the system adds no terminator of its own.
void WriteValue(const std::string& path, const std::string& name, DWORD type, const std::string& bytes);
void WriteWord(const std::string& path, const std::string& name, DWORD word);
// A REG_SZ value of this text, terminated.
void WriteText(const std::string& path, const std::string& name, const std::string& text);
// "00", "01", ... holding these texts, in that order.
void WriteHistory(const std::vector<std::string>& entries);

// The value name of a history index, as "%2.2d" makes it.
std::string IndexName(int index);
// A word value; `missing` when it is absent or no 4-byte REG_DWORD.
DWORD Word(const std::string& path, const std::string& name, DWORD missing = 0xDEADBEEF);
// The texts of the history values "00" up to the first one missing, in index order, each
// up to its first zero.
std::vector<std::string> HistoryTexts();
// The same read through the UTF-16 calls, in UTF-8: every character as stored.
std::vector<std::string> HistoryUtf8Texts();
// A value as the UTF-16 calls give it: its bytes exactly as stored for a text written
// through them, no terminator added.
bool ReadWideValue(const std::string& path, const std::string& name, Value& value);

// Leaves a key (created when missing) open to no one: every open or create fails with
// ERROR_ACCESS_DENIED until DeleteTree removes it.
void DenyAllAccess(const std::string& path);
// Leaves a key (created when missing) open to everyone for reading only, as the default
// profile is on Windows to an account that is not an elevated administrator: an open or
// create that asks for the right to write fails with ERROR_ACCESS_DENIED. DeleteTree still
// removes it. The access list of each key is its own: lock each key that must be locked.
void AllowOnlyReading(const std::string& path);
// Replaces a key by a volatile one, below which no lasting key can be created.
void MakeVolatile(const std::string& path);

}  // namespace registry

#endif
