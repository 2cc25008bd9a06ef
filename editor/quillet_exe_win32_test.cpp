// quillet.exe as a user starts it: the main window appears with its stored title and menu
// bar, and closing it ends the program with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

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

Started start_quillet(const std::string& arguments) {
  Started started;
  std::string command = std::string("\"") + QUILLET_EXE + "\" " + arguments;
  STARTUPINFOA startup{sizeof startup};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started.process)) {
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

TEST(QuilletExe, AFileNamedOnTheCommandLineIsOpened) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "quillet-argument.txt";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "from the command line", 21, &written, nullptr);
  CloseHandle(file);
  Started started = start_quillet("\"" + path + "\"");
  ASSERT_NE(started.window, nullptr) << "no main window appeared";
  const std::wstring expected = L"Quillet - " + std::wstring(path.begin(), path.end());
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
  DeleteFileA(path.c_str());
}

TEST(QuilletExe, ShowsTheMainWindowAndEndsCleanlyWhenClosed) {
  std::string command = std::string("\"") + QUILLET_EXE + "\"";
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

}  // namespace
