// Owners of Win32 handles: each closes its handle when it goes, so no path out of a
// function (an early return, an error) leaks one. Win32 files only.
#pragma once

#include <windows.h>

#include <utility>

namespace vp {

// A handle with one closing call; Traits gives Close(handle) and Invalid(), the value that
// means "none" besides the null handle.
template <class Traits>
class TWinHandle {
public:
    using H = typename Traits::Handle;

    TWinHandle() = default;
    explicit TWinHandle(H handle) : FHandle(handle) { }
    ~TWinHandle() { Reset(); }
    TWinHandle(TWinHandle&& other) noexcept : FHandle(other.Release()) { }
    TWinHandle& operator=(TWinHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TWinHandle(const TWinHandle&) = delete;
    TWinHandle& operator=(const TWinHandle&) = delete;

    H Get() const { return FHandle; }
    bool Valid() const { return FHandle != Traits::Invalid() && FHandle != H(); }
    explicit operator bool() const { return Valid(); }
    // Takes a new handle, closing the old one.
    void Reset(H handle = Traits::Invalid())
    {
        if (Valid())
            Traits::Close(FHandle);
        FHandle = handle;
    }
    H Release() { return std::exchange(FHandle, Traits::Invalid()); }
    // For calls that return a handle through a pointer: closes the old one first.
    H* Receive()
    {
        Reset();
        return &FHandle;
    }

private:
    H FHandle = Traits::Invalid();
};

struct TKernelHandleTraits {
    using Handle = HANDLE;
    static void Close(HANDLE handle) { CloseHandle(handle); }
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};
struct TFindHandleTraits {
    using Handle = HANDLE;
    static void Close(HANDLE handle) { FindClose(handle); }
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};
struct TRegKeyTraits {
    using Handle = HKEY;
    static void Close(HKEY key) { RegCloseKey(key); }
    static HKEY Invalid() { return nullptr; }
};
// A GDI object (bitmap, brush, font, ...) of the given handle type.
template <class H>
struct TGdiObjectTraits {
    using Handle = H;
    static void Close(H handle) { DeleteObject(handle); }
    static H Invalid() { return nullptr; }
};
struct TMemoryDCTraits {
    using Handle = HDC;
    static void Close(HDC dc) { DeleteDC(dc); }
    static HDC Invalid() { return nullptr; }
};
struct TLocalMemoryTraits {
    using Handle = HLOCAL;
    static void Close(HLOCAL memory) { LocalFree(memory); }
    static HLOCAL Invalid() { return nullptr; }
};

// A kernel object: process, thread, event, mutex, file (INVALID_HANDLE_VALUE and nullptr
// both count as none).
using TKernelHandle = TWinHandle<TKernelHandleTraits>;
// FindFirstFileW's search handle.
using TFindHandle = TWinHandle<TFindHandleTraits>;
// An open registry key.
using TRegKey = TWinHandle<TRegKeyTraits>;
// A GDI bitmap; deselect it from any device context before it goes.
using TGdiBitmap = TWinHandle<TGdiObjectTraits<HBITMAP>>;
// A device context made with CreateCompatibleDC.
using TMemoryDC = TWinHandle<TMemoryDCTraits>;
// Memory a Win32 call allocated with LocalAlloc (CommandLineToArgvW, FormatMessage, ...).
using TLocalMemory = TWinHandle<TLocalMemoryTraits>;

} // namespace vp
