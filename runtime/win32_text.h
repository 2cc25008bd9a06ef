// Crossing between the program's CP936 texts and the UTF-16 of the W calls, through the one
// codec; and owners for the Win32 handles the runtime and the commands open.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "runtime/cp936.h"

namespace quillet::runtime::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline std::u16string_view as_units(std::wstring_view wide) {
  return {reinterpret_cast<const char16_t*>(wide.data()), wide.size()};
}

inline std::wstring widen(std::string_view bytes) {
  std::wstring wide(bytes.size(), L'\0');
  wide.resize(Cp936Codec::system().decode_into(bytes, reinterpret_cast<char16_t*>(wide.data())));
  return wide;
}

inline std::string narrow(std::wstring_view wide) { return Cp936Codec::system().encode(as_units(wide)); }

// Owns one Win32 handle and frees it with Free when it goes out of scope. Null means none.
template <class Handle, auto Free>
class UniqueWin32 {
 public:
  UniqueWin32() = default;
  explicit UniqueWin32(Handle handle) : handle_(handle) {}
  ~UniqueWin32() { reset(); }
  UniqueWin32(UniqueWin32&& other) noexcept : handle_(other.release()) {}
  UniqueWin32& operator=(UniqueWin32&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueWin32(const UniqueWin32&) = delete;
  UniqueWin32& operator=(const UniqueWin32&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives the handle up without freeing it (to a window that takes ownership, say).
  Handle release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(Handle handle = nullptr) {
    if (handle_ != nullptr) Free(handle_);
    handle_ = handle;
  }
  // For calls that hand a new handle back through a pointer.
  Handle* out() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = nullptr;
};

using UniqueHandle = UniqueWin32<HANDLE, CloseHandle>;
using UniqueKey = UniqueWin32<HKEY, RegCloseKey>;

// CreateFile reports failure as INVALID_HANDLE_VALUE, not null.
inline UniqueHandle file_handle(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace quillet::runtime::win32
