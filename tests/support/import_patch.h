// Routes this test program's own calls to one imported function through a replacement,
// by rewriting its slot in the program's import address table. The product code is linked
// into the test program, so its calls take the same slot; calls made inside system DLLs do
// not. The replacement is expected to call the real function (original()).
#ifndef BRUMIX_TESTS_IMPORT_PATCH_H
#define BRUMIX_TESTS_IMPORT_PATCH_H

#include <windows.h>

class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement);
    ~ImportPatch();  // puts the real address back
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool applied() const { return slot_ != nullptr; }
    void* original() const { return original_; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

#endif
