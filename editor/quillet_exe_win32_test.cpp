// quillet.exe as a user starts it: the main window appears with its stored title and menu
// bar, and closing it ends the program with exit code 0. And the program file as Explorer
// reads it: its icon, manifest and version information.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The program under test: the build's, or another build of it (scripts/package checks the
// release program this way).
std::string program() {
  const char* other = std::getenv("QUILLET_EXE_UNDER_TEST");
  return other != nullptr && *other != '\0' ? other : QUILLET_EXE;
}

struct FoundWindow {
  DWORD process_id;
  HWND window;
};

BOOL CALLBACK find_process_window(HWND window, LPARAM context) {
  auto* found = reinterpret_cast<FoundWindow*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t class_name[64] = {};
  GetClassNameW(window, class_name, 64);
  if (owner == found->process_id && std::wstring(class_name) == L"_QF_Window" && IsWindowVisible(window)) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// Starts quillet.exe with the arguments and waits for its main window.
struct Started {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
};

Started start_quillet(const std::string& arguments, const char* current_folder = nullptr) {
  Started started;
  std::string command = "\"" + program() + "\" " + arguments;
  STARTUPINFOA startup{sizeof startup};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, current_folder, &startup,
                      &started.process)) {
    return started;
  }
  FoundWindow found{started.process.dwProcessId, nullptr};
  for (int i = 0; i < 200 && found.window == nullptr; ++i) {
    Sleep(50);
    EnumWindows(find_process_window, reinterpret_cast<LPARAM>(&found));
  }
  started.window = found.window;
  return started;
}

// Opens the file named on the command line, started in the folder given, and expects the title
// to name it by its full path; then closes the program.
void expect_opened(const std::string& argument, const char* current_folder, const std::string& full_path) {
  Started started = start_quillet("\"" + argument + "\"", current_folder);
  ASSERT_NE(started.window, nullptr) << "no main window appeared";
  const std::wstring expected = L"Quillet - " + std::wstring(full_path.begin(), full_path.end());
  wchar_t title[512] = {};
  for (int i = 0; i < 100 && expected != title; ++i) {  // the file is opened once the window is up
    Sleep(50);
    GetWindowTextW(started.window, title, 512);
  }
  EXPECT_EQ(std::wstring(title), expected);
  PostMessageW(started.window, WM_CLOSE, 0, 0);  // not modified: no question
  EXPECT_EQ(WaitForSingleObject(started.process.hProcess, 10000), WAIT_OBJECT_0);
  CloseHandle(started.process.hThread);
  CloseHandle(started.process.hProcess);
}

TEST(QuilletExe, AFileNamedOnTheCommandLineIsOpened) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "quillet-argument.txt";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "from the command line", 21, &written, nullptr);
  CloseHandle(file);
  expect_opened(path, nullptr, path);
  // A relative name means the file in the folder the program was started in, not in its own
  // folder (which the program makes current as it starts).
  expect_opened("quillet-argument.txt", folder, path);
  DeleteFileA(path.c_str());
}

TEST(QuilletExe, ShowsTheMainWindowAndEndsCleanlyWhenClosed) {
  std::string command = "\"" + program() + "\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  FoundWindow found{process.dwProcessId, nullptr};
  for (int i = 0; i < 200 && found.window == nullptr; ++i) {
    Sleep(50);
    EnumWindows(find_process_window, reinterpret_cast<LPARAM>(&found));
  }
  ASSERT_NE(found.window, nullptr) << "no main window appeared";
  wchar_t title[128] = {};
  GetWindowTextW(found.window, title, 128);
  EXPECT_EQ(std::wstring(title).substr(0, 7), L"Quillet");
  // The menu's contents are checked in process (form_runtime_test); Wine keeps menus per
  // process, so from here only its presence shows.
  EXPECT_NE(GetMenu(found.window), nullptr);

  PostMessageW(found.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  DWORD exit_code = 1;
  GetExitCodeProcess(process.hProcess, &exit_code);
  EXPECT_EQ(exit_code, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// The program file loaded as data, its resources read as Explorer reads them.
class ProgramFile : public testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(program().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override { FreeLibrary(module_); }
  std::string resource(LPCWSTR type, LPCWSTR name) const {
    HRSRC found = FindResourceW(module_, name, type);
    if (found == nullptr) return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return std::string(bytes, SizeofResource(module_, found));
  }
  HMODULE module_ = nullptr;
};

TEST_F(ProgramFile, AsksForCommonControlsSixAndDeclaresItselfDpiAware) {
  const std::string manifest = resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));  // RT_MANIFEST
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

// The icon group and its images put back together give the stored icon file byte for byte: the
// file's directory entries hold an offset where the group's hold an image number.
TEST_F(ProgramFile, ItsIconIsTheStoredIconFile) {
  std::ifstream in(QUILLET_ICON_FILE, std::ios::binary);
  const std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GE(stored.size(), 6u);
  // The first icon group is the program file's icon.
  std::wstring first_group;
  EnumResourceNamesW(module_, MAKEINTRESOURCEW(14), [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
    *reinterpret_cast<std::wstring*>(found) = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
    return FALSE;
  }, reinterpret_cast<LONG_PTR>(&first_group));
  ASSERT_EQ(first_group, L"#1");
  const std::string group = resource(MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(1));  // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u);
  const auto word = [](const std::string& bytes, std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
  };
  const unsigned count = word(group, 4);
  ASSERT_EQ(count, word(stored, 4));
  ASSERT_GE(count, 1u);
  ASSERT_EQ(group.size(), 6 + 14u * count);
  std::string rebuilt = group.substr(0, 6);
  std::string images;
  const std::size_t first_offset = 6 + 16 * count;
  for (unsigned i = 0; i < count; ++i) {
    const std::string entry = group.substr(6 + 14 * i, 14);
    const std::string image = resource(MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(word(entry, 12)));  // RT_ICON
    ASSERT_FALSE(image.empty());
    const std::uint32_t offset = static_cast<std::uint32_t>(first_offset + images.size());
    rebuilt += entry.substr(0, 12);
    rebuilt.append(reinterpret_cast<const char*>(&offset), 4);
    images += image;
  }
  EXPECT_EQ(rebuilt + images, stored);
}

std::wstring version_text(const std::vector<char>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) return {};
  return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

TEST_F(ProgramFile, CarriesItsVersionInformation) {
  const std::string name = program();
  const std::wstring path(name.begin(), name.end());
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const std::wstring version = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(version_text(block, L"FileVersion"), version);
  EXPECT_EQ(version_text(block, L"ProductName"), L"Quillet");
  EXPECT_EQ(version_text(block, L"FileDescription"), L"Quillet \u6587\u672C\u5DE5\u5177\u7F16\u8F91\u5668");  // 文本工具编辑器
  EXPECT_EQ(version_text(block, L"LegalCopyright").substr(0, 14), L"Copyright (C) ");
  EXPECT_EQ(version_text(block, L"OriginalFilename"), L"quillet.exe");
}

}  // namespace
