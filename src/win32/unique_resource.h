#pragma once
// Owning wrappers for Win32 handles: one move-only template, one traits struct per kind of handle,
// aliases named as WIL names them (WIL itself does not build reliably with mingw g++).
//
// A traits struct gives the handle type, the value that means "nothing owned" and how to free it:
//     struct Traits { using pointer = H; static H Invalid() noexcept; static void Close(H) noexcept; };
// The destructor and reset() free through Close, which is never called for the invalid value.

#include <windows.h>

#include <wininet.h>
#include <winsvc.h>

#include <utility>

namespace ovp::win {

template <typename Traits>
class unique_resource {
  public:
    using pointer = typename Traits::pointer;

    unique_resource() noexcept = default;
    explicit unique_resource(pointer value) noexcept : value_(value) {}
    ~unique_resource() { reset(); }

    unique_resource(const unique_resource&) = delete;
    unique_resource& operator=(const unique_resource&) = delete;

    unique_resource(unique_resource&& other) noexcept : value_(other.release()) {}
    unique_resource& operator=(unique_resource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    // Gives up ownership without freeing.
    pointer release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    // Frees what is owned and takes value instead.
    void reset(pointer value = Traits::Invalid()) noexcept {
        const pointer old = std::exchange(value_, value);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

    // For out-parameters (RegOpenKeyExW(..., key.put())): frees first, so nothing leaks.
    pointer* put() noexcept {
        reset();
        return &value_;
    }

  private:
    pointer value_ = Traits::Invalid();
};

namespace traits {

// Handles whose "nothing" is a null pointer.
template <typename H, auto CloseFunction>
struct NullInvalid {
    using pointer = H;
    static H Invalid() noexcept { return nullptr; }
    static void Close(H value) noexcept { CloseFunction(value); }
};

// File and search handles, whose "nothing" is INVALID_HANDLE_VALUE.
template <auto CloseFunction>
struct InvalidHandleValue {
    using pointer = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE value) noexcept { CloseFunction(value); }
};

}  // namespace traits

using unique_handle = unique_resource<traits::NullInvalid<HANDLE, ::CloseHandle>>;
using unique_hfile = unique_resource<traits::InvalidHandleValue<::CloseHandle>>;
using unique_hfind = unique_resource<traits::InvalidHandleValue<::FindClose>>;
using unique_hkey = unique_resource<traits::NullInvalid<HKEY, ::RegCloseKey>>;
using unique_hmodule = unique_resource<traits::NullInvalid<HMODULE, ::FreeLibrary>>;
using unique_hwnd = unique_resource<traits::NullInvalid<HWND, ::DestroyWindow>>;
using unique_hmenu = unique_resource<traits::NullInvalid<HMENU, ::DestroyMenu>>;
using unique_hicon = unique_resource<traits::NullInvalid<HICON, ::DestroyIcon>>;
using unique_hcursor = unique_resource<traits::NullInvalid<HCURSOR, ::DestroyCursor>>;
using unique_hbitmap = unique_resource<traits::NullInvalid<HBITMAP, ::DeleteObject>>;
using unique_hbrush = unique_resource<traits::NullInvalid<HBRUSH, ::DeleteObject>>;
using unique_hfont = unique_resource<traits::NullInvalid<HFONT, ::DeleteObject>>;
using unique_hpen = unique_resource<traits::NullInvalid<HPEN, ::DeleteObject>>;
using unique_hrgn = unique_resource<traits::NullInvalid<HRGN, ::DeleteObject>>;
using unique_schandle = unique_resource<traits::NullInvalid<SC_HANDLE, ::CloseServiceHandle>>;
// Needs wininet on the link line of whoever uses it.
using unique_hinternet = unique_resource<traits::NullInvalid<HINTERNET, ::InternetCloseHandle>>;

}  // namespace ovp::win
