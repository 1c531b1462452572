// The 32-bit program and its 64-bit twin come from the same sources: they must carry the
// same resources (dialogs, icons, help text, manifest, version block), byte for byte.
// Each build's suite reads both programs as data files, so the check holds whichever
// build this machine can run.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "driver/app_driver.h"

namespace {

// (type, name, language) of a resource; an id is written as "#12".
typedef std::tuple<std::string, std::string, WORD> ResourceKey;
typedef std::map<ResourceKey, std::string> Resources;

std::string ResourceName(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
    return name;
}

BOOL CALLBACK TakeLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR context)
{
    auto* resources = reinterpret_cast<Resources*>(context);
    HRSRC found = FindResourceExA(module, type, name, language);
    std::string bytes;
    if (found != nullptr) {
        auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        if (data != nullptr)
            bytes.assign(data, SizeofResource(module, found));
    }
    (*resources)[ResourceKey(ResourceName(type), ResourceName(name), language)] = bytes;
    return TRUE;
}

BOOL CALLBACK TakeName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR context)
{
    EnumResourceLanguagesA(module, type, name, TakeLanguage, context);
    return TRUE;
}

BOOL CALLBACK TakeType(HMODULE module, LPSTR type, LONG_PTR context)
{
    EnumResourceNamesA(module, type, TakeName, context);
    return TRUE;
}

// Every resource of a program, read without running it; empty when it cannot be read.
Resources ReadResources(const std::string& program)
{
    Resources resources;
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr)
        module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
        return resources;
    EnumResourceTypesA(module, TakeType, reinterpret_cast<LONG_PTR>(&resources));
    FreeLibrary(module);
    return resources;
}

WORD Machine(const std::string& program)
{
    HANDLE file = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    char header[4096] = {};
    DWORD read = 0;
    ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(header);
    if (read < sizeof *dos || dos->e_lfanew < 0 || dos->e_lfanew + 6 > static_cast<LONG>(read))
        return 0;
    return *reinterpret_cast<WORD*>(header + dos->e_lfanew + 4);
}

const std::string OWN = driver::ProgramFolder() + "brumix.exe";
const std::string TWIN = driver::ProgramFolder() + BRUMIX_TWIN_EXE;

TEST(TwinBuild, BothProgramsAreThereOneForEachArchitecture)
{
    ASSERT_NE(GetFileAttributesA(TWIN.c_str()), INVALID_FILE_ATTRIBUTES)
        << TWIN << " is missing: scripts/build.sh builds both programs";
    std::map<std::string, WORD> machines = {{OWN, Machine(OWN)}, {TWIN, Machine(TWIN)}};
#ifdef _WIN64
    EXPECT_EQ(machines[OWN], IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(machines[TWIN], IMAGE_FILE_MACHINE_I386);
#else
    EXPECT_EQ(machines[OWN], IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(machines[TWIN], IMAGE_FILE_MACHINE_AMD64);
#endif
}

TEST(TwinBuild, BothProgramsCarryTheSameResourcesByteForByte)
{
    Resources own = ReadResources(OWN);
    Resources twin = ReadResources(TWIN);
    ASSERT_FALSE(own.empty()) << "cannot read the resources of " << OWN;
    ASSERT_FALSE(twin.empty()) << "cannot read the resources of " << TWIN;
    // The version block, the manifest, both dialogs, both icons and the help text at least;
    // the dialogs and the help text in French (0x040C).
    for (const ResourceKey& key :
         {ResourceKey("#16", "#1", 0x0409), ResourceKey("#24", "#1", 0), ResourceKey("#5", "#1", 0x040C),
          ResourceKey("#5", "#2", 0x040C), ResourceKey("#10", "#1", 0x040C), ResourceKey("#14", "#1", 0x0409),
          ResourceKey("#14", "#100", 0x0409)})
        EXPECT_EQ(own.count(key), 1u) << std::get<0>(key) << " " << std::get<1>(key) << " is not in " << OWN;
    for (const auto& entry : own) {
        const ResourceKey& key = entry.first;
        SCOPED_TRACE("type " + std::get<0>(key) + ", name " + std::get<1>(key) + ", language " +
                     std::to_string(std::get<2>(key)));
        auto other = twin.find(key);
        ASSERT_NE(other, twin.end()) << "only in " << OWN;
        EXPECT_TRUE(entry.second == other->second) << "the two programs' bytes differ";
    }
    for (const auto& entry : twin)
        EXPECT_EQ(own.count(entry.first), 1u) << "type " << std::get<0>(entry.first) << ", name "
                                              << std::get<1>(entry.first) << " is only in " << TWIN;
}

}  // namespace
