// Crossing between the program's CP936 texts and the UTF-16 of the W calls, through the one
// codec; and owners for the Win32 handles the runtime and the commands open.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "runtime/cp936.h"

namespace quillet::runtime::win32 {

inline std::wstring widen(std::string_view bytes) {
  const std::u16string units = Cp936Codec::system().decode(bytes);
  return std::wstring(units.begin(), units.end());
}

inline std::string narrow(std::wstring_view wide) {
  return Cp936Codec::system().encode(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// Closes a kernel handle (file, process...) when it goes out of scope.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = other.release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset() {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

// Closes a registry key when it goes out of scope.
class UniqueKey {
 public:
  UniqueKey() = default;
  ~UniqueKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  UniqueKey(const UniqueKey&) = delete;
  UniqueKey& operator=(const UniqueKey&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace quillet::runtime::win32
