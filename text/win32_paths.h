// File names as the W file calls take them (Windows only).
#pragma once

#include <windows.h>

#include <string>

namespace quillet::text {

// A path of MAX_PATH - 12 characters or more (the limit of a folder name) goes in the extended
// form, \\?\ or \\?\UNC\, which has no length limit; that form is taken literally, so the path
// is made full first (which also turns / into \ and resolves . and ..). Shorter paths go as they
// are.
inline std::wstring extended_path(std::wstring wide) {
  if (wide.size() < MAX_PATH - 12 || wide.starts_with(L"\\\\?\\")) return wide;
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// The path made full against the current folder (as it is now), unchanged when that fails.
inline std::wstring full_path(const std::wstring& wide) {
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
  return full;
}

}  // namespace quillet::text
