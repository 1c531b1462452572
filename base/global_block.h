// A zero-filled fixed block from the global heap, released when its owner's scope ends.
// Every text buffer and record of the program lives in one, so that no path can leak it.
#ifndef BRUMIX_GLOBAL_BLOCK_H
#define BRUMIX_GLOBAL_BLOCK_H

#include <windows.h>

class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T size)
        : data_(GlobalLock(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size))) {}

    ~GlobalBlock()
    {
        if (data_ != nullptr) {
            HGLOBAL handle = GlobalHandle(data_);
            GlobalUnlock(handle);
            GlobalFree(handle);
        }
    }

    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    // False when the heap could not supply the block.
    explicit operator bool() const { return data_ != nullptr; }

    char* text() const { return static_cast<char*>(data_); }

    template <typename T>
    T* as() const { return static_cast<T*>(data_); }

private:
    void* data_;
};

#endif
