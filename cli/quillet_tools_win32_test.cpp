// quillet-tools.exe under Windows: option texts arrive as UTF-16 and reach the tools as GBK, so
// the same call gives the same bytes as on Linux (where they arrive as UTF-8); a character GBK
// cannot hold is a usage error.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/conversion.h"
#include "tools/replace.h"

namespace {

namespace fs = std::filesystem;

std::string read_all(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs quillet-tools.exe with the command line's arguments (in the folder, when one is given);
// its exit code.
DWORD run(const std::wstring& arguments, const fs::path& folder = {}) {
  std::wstring command = L"\"" + fs::path(QUILLET_TOOLS_EXE).wstring() + L"\" " + arguments;
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    return 999;
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 998;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST(QuilletToolsExe, ChineseOptionTextArrivesAsGbk) {
  const fs::path folder = fs::temp_directory_path() / L"quillet-tools-exe";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string document = "\xBC\xD7\xB1\xFB\xBC\xD7 abc\r\n\x80\xFF";  // 甲丙甲 abc, stray bytes
  std::ofstream(folder / L"in.txt", std::ios::binary) << document;
  const std::wstring in = (folder / L"in.txt").wstring(), out = (folder / L"\u8F93\u51FA.txt").wstring();  // 输出.txt

  EXPECT_EQ(run(L"replace --find \u7532 --with \u4E59 -o \"" + out + L"\" \"" + in + L"\""), 0u);  // 甲 → 乙
  EXPECT_EQ(read_all(out), quillet::tools::replace_all(document, "\xBC\xD7", "\xD2\xD2", false));
  EXPECT_EQ(read_all(out), "\xD2\xD2\xB1\xFB\xD2\xD2 abc\r\n\x80\xFF");

  EXPECT_EQ(run(L"upper -i \"" + in + L"\""), 0u);
  EXPECT_EQ(read_all(folder / L"in.txt"), quillet::tools::upper_case(document));

  // An unquoted wildcard names the files it matches.
  std::ofstream(folder / L"w1.txt", std::ios::binary) << "one";
  std::ofstream(folder / L"w2.txt", std::ios::binary) << "two";
  EXPECT_EQ(run(L"upper -i w*.txt", folder), 0u);
  EXPECT_EQ(read_all(folder / L"w1.txt"), "ONE");
  EXPECT_EQ(read_all(folder / L"w2.txt"), "TWO");

  EXPECT_EQ(run(L"replace --find \uD55C \"" + in + L"\""), 2u);  // 한: GBK cannot hold it
  EXPECT_EQ(run(L"find --find zzz \"" + in + L"\""), 1u);
  fs::remove_all(folder);
}

// -i and -o on Windows: what follows a NUL stays, a file with another hard link or marked
// read-only is refused and left as it was, and -o naming an input is written once it is read.
TEST(QuilletToolsExe, FilesRewrittenInPlaceAreNeverLostOrParted) {
  const fs::path folder = fs::temp_directory_path() / L"quillet-tools-exe-safe";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const auto at = [&folder](const wchar_t* name) { return L"\"" + (folder / name).wstring() + L"\""; };
  std::ofstream(folder / L"zero.txt", std::ios::binary) << std::string("\xA3\xC1\0\xA3\xC2", 5);
  EXPECT_EQ(run(L"half-width -i " + at(L"zero.txt")), 0u);
  EXPECT_EQ(read_all(folder / L"zero.txt"), std::string("A\0B", 3));

  std::ofstream(folder / L"linked.txt", std::ios::binary) << "linked";
  if (CreateHardLinkW((folder / L"second.txt").c_str(), (folder / L"linked.txt").c_str(), nullptr)) {
    EXPECT_EQ(run(L"upper -i " + at(L"linked.txt")), 3u);
    EXPECT_EQ(read_all(folder / L"linked.txt"), "linked");
    EXPECT_EQ(read_all(folder / L"second.txt"), "linked");
  }
  std::ofstream(folder / L"fixed.txt", std::ios::binary) << "fixed";
  SetFileAttributesW((folder / L"fixed.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(run(L"upper -i " + at(L"fixed.txt")), 3u);
  EXPECT_EQ(read_all(folder / L"fixed.txt"), "fixed");
  SetFileAttributesW((folder / L"fixed.txt").c_str(), FILE_ATTRIBUTE_NORMAL);

  std::ofstream(folder / L"both.txt", std::ios::binary) << "both ways";
  EXPECT_EQ(run(L"upper -o " + at(L"both.txt") + L" " + at(L"both.txt")), 0u);
  EXPECT_EQ(read_all(folder / L"both.txt"), "BOTH WAYS");
  EXPECT_EQ(run(L"replace --find BOTH --with one -o " + at(L"both.txt") + L" " + at(L"both.txt")), 0u);
  EXPECT_EQ(read_all(folder / L"both.txt"), "one WAYS");
  int left = 0;
  for (const auto& entry : fs::directory_iterator(folder)) left += entry.path().filename().wstring().starts_with(L"qlt");
  EXPECT_EQ(left, 0);
  fs::remove_all(folder);
}

}  // namespace
