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

}  // namespace
