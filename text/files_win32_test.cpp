// File and registry commands under a real Windows API, with GBK names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text/conversion.h"
#include "text/files.h"
#include "text/safe_replace.h"
#include "text/shell.h"
#include "runtime/win32_text.h"

namespace quillet::text {
namespace {

class FileCommands : public testing::Test {
 protected:
  void SetUp() override {
    OwnedText temp = call::special_folder(kFolderTemporary);
    ASSERT_NE(temp, nullptr);
    path = std::string(temp.get()) + "\xB2\xE2\xCA\xD4_quillet.txt";  // 测试_quillet.txt
    DeleteFileA(path.c_str());
  }
  void TearDown() override { DeleteFileA(path.c_str()); }

  bool write_bytes(const std::string& bytes) {
    OwnedByteArray array(make_byte_array(bytes.data(), bytes.size()));
    return call::write_file(path.c_str(), array.get());
  }
  std::string read(std::int32_t number, std::optional<std::int32_t> maximum = {}) {
    OwnedText text = call::read_file_text(number, maximum);
    return text ? std::string(text.get()) : std::string();
  }
  std::string contents() {
    const std::int32_t number = call::open_file(path.c_str(), kReadExisting);
    std::string all = read(number);
    call::close_file(number);
    return all;
  }

  std::string path;
};

TEST_F(FileCommands, NamesReachTheDiskAsTheAnsiCallsWouldWriteThem) {
  ASSERT_TRUE(write_bytes("x"));
  EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);  // the system's own CP936 view
}

// Files whose names start with the temporary prefix, left in the folder of path (which may be
// longer than MAX_PATH).
int temporary_files_beside(const std::string& path) {
  const std::wstring pattern =
      L"\\\\?\\" + runtime::win32::widen(path.substr(0, path.find_last_of('\\') + 1)) + L"qlt*.tmp";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count; while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

TEST_F(FileCommands, ReplacingContentNeverLeavesAHalfWrittenFile) {
  EXPECT_TRUE(call::replace_file_content(path.c_str(), "new\n\xB0"));  // creates it
  EXPECT_EQ(contents(), "new\n\xB0");
  EXPECT_TRUE(call::replace_file_content(path.c_str(), "second"));
  EXPECT_EQ(contents(), "second");
  EXPECT_TRUE(call::replace_file_content(path.c_str(), ""));  // an empty text: a zero-byte file
  EXPECT_EQ(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, true);
  EXPECT_EQ(contents(), "");

  ASSERT_TRUE(write_bytes("original"));
  HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);  // no sharing
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(call::replace_file_content(path.c_str(), "lost?"));
  CloseHandle(locked);
  EXPECT_EQ(contents(), "original");
  EXPECT_EQ(temporary_files_beside(path), 0);

  EXPECT_FALSE(call::replace_file_content("C:\\no such folder\\x.txt", "x"));
}

// The calls that put the new file in place, failing halfway as ReplaceFileW can: the old file
// already gone (1176) or moved to another name (1177), and the new one still under its
// temporary name.
unsigned long gone_then_1176(const std::wstring& replaced, const std::wstring&) {
  DeleteFileW(replaced.c_str());
  return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}
unsigned long moved_aside_then_1177(const std::wstring& replaced, const std::wstring&) {
  MoveFileW(replaced.c_str(), (replaced + L".old").c_str());
  return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}
unsigned long refuse_move(const std::wstring&, const std::wstring&) { return ERROR_ACCESS_DENIED; }

std::string whole_file(const std::wstring& name) {
  HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  std::string bytes(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  return bytes.substr(0, got);
}

// Whatever fails halfway, the new text survives: in the file when the move that follows
// succeeds, and otherwise in the temporary file, which is kept and named. (It was deleted,
// and with the old file gone nothing was left.)
TEST_F(FileCommands, AReplacementThatFailsHalfwayKeepsTheNewText) {
  ASSERT_TRUE(write_bytes("old"));
  const ReplacementCalls system = set_replacement_calls({gone_then_1176, nullptr});
  EXPECT_TRUE(call::replace_file_content(path.c_str(), "new after 1176"));
  EXPECT_EQ(contents(), "new after 1176");
  EXPECT_EQ(temporary_files_beside(path), 0);

  set_replacement_calls({moved_aside_then_1177, nullptr});
  EXPECT_TRUE(call::replace_file_content(path.c_str(), "new after 1177"));
  EXPECT_EQ(contents(), "new after 1177");
  EXPECT_EQ(whole_file(runtime::win32::widen(path) + L".old"), "new after 1176");  // the old file, aside
  DeleteFileW((runtime::win32::widen(path) + L".old").c_str());

  set_replacement_calls({gone_then_1176, refuse_move});
  EXPECT_FALSE(call::replace_file_content(path.c_str(), "only copy"));
  const OwnedText why = call::last_replace_problem();
  ASSERT_NE(why, nullptr);
  const std::string said = why.get();
  const std::size_t open_quote = said.find("\xA1\xB0"), close_quote = said.find("\xA1\xB1");  // “ ”
  ASSERT_NE(open_quote, std::string::npos) << said;
  const std::string kept = said.substr(open_quote + 2, close_quote - open_quote - 2);
  EXPECT_EQ(whole_file(runtime::win32::widen(kept)), "only copy");
  EXPECT_EQ(temporary_files_beside(path), 1);
  DeleteFileW(runtime::win32::widen(kept).c_str());
  set_replacement_calls(system);

  // A failure before anything moved says why, and leaves nothing behind.
  ASSERT_TRUE(write_bytes("original"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(call::replace_file_content(path.c_str(), "x"));
  EXPECT_EQ(std::string(call::last_replace_problem().get()), "文件是只读的。");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(call::replace_file_content(path.c_str(), "x"));
  EXPECT_EQ(call::last_replace_problem(), nullptr);
}

// Through a symbolic link the file it names is rewritten, and the link stays a link.
TEST_F(FileCommands, ReplacingThroughALinkRewritesWhatItNames) {
  ASSERT_TRUE(write_bytes("target"));
  const std::wstring link = runtime::win32::widen(path) + L".link.txt";
  DeleteFileW(link.c_str());
  // Wine answers success and makes nothing.
  if (!CreateSymbolicLinkW(link.c_str(), runtime::win32::widen(path).c_str(), 0) ||
      GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no symbolic links here";
  }
  EXPECT_TRUE(call::replace_file_content(runtime::win32::narrow(link).c_str(), "through the link"));
  EXPECT_EQ(contents(), "through the link");
  EXPECT_NE(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  EXPECT_EQ(temporary_files_beside(path), 0);
  DeleteFileW(link.c_str());
}

TEST_F(FileCommands, SameFileKnowsAFileByWhatItIsNotHowItIsSpelled) {
  ASSERT_TRUE(write_bytes("x"));
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  const std::string name = path.substr(folder.size());
  std::string upper = path;
  for (char& c : upper) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  std::string slashed = folder + "..\\" + folder.substr(folder.find_last_of('\\', folder.size() - 2) + 1) + name;
  for (char& c : slashed) c = c == '\\' ? '/' : c;
  EXPECT_TRUE(call::same_file(path.c_str(), path.c_str()));
  EXPECT_TRUE(call::same_file(path.c_str(), upper.c_str()));
  EXPECT_TRUE(call::same_file(path.c_str(), slashed.c_str()));
  wchar_t short_name[MAX_PATH] = {};
  if (GetShortPathNameW(runtime::win32::widen(path).c_str(), short_name, MAX_PATH) != 0) {
    EXPECT_TRUE(call::same_file(path.c_str(), runtime::win32::narrow(short_name).c_str()));
  }
  const std::string other = path + ".other";
  ASSERT_TRUE(call::replace_file_content(other.c_str(), "x"));
  EXPECT_FALSE(call::same_file(path.c_str(), other.c_str()));
  DeleteFileA(other.c_str());
  // A name that is not there compares as a path.
  EXPECT_TRUE(call::same_file((folder + "missing.txt").c_str(), (folder + "MISSING.TXT").c_str()));
  EXPECT_FALSE(call::same_file(path.c_str(), (folder + "missing.txt").c_str()));
}

// A folder chain deep enough that a file in it has a path of more than MAX_PATH characters.
std::string long_folder() {
  OwnedText temp = call::special_folder(kFolderTemporary);
  std::wstring folder = L"\\\\?\\" + std::wstring(runtime::win32::widen(temp.get()));
  std::string narrow_folder = temp.get();
  for (int level = 0; level < 6; ++level) {
    const std::string part = "\xC9\xEE\xB2\xE3" + std::string(50, 'd') + std::to_string(level);  // 深层ddd…
    folder += runtime::win32::widen(part) + L"\\";
    narrow_folder += part + "\\";
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  return narrow_folder;
}

TEST_F(FileCommands, PathsLongerThanMaxPathWork) {
  const std::string folder = long_folder();
  const std::string long_path = folder + "\xB3\xA4.txt";  // 长.txt
  ASSERT_GT(runtime::win32::widen(long_path).size(), static_cast<std::size_t>(MAX_PATH));
  EXPECT_TRUE(call::replace_file_content(long_path.c_str(), "first"));
  EXPECT_TRUE(call::replace_file_content(long_path.c_str(), "second \xD6\xD0"));
  std::int32_t number = call::open_file(long_path.c_str(), kReadExisting);
  ASSERT_NE(number, 0);
  EXPECT_EQ(read(number), "second \xD6\xD0");
  EXPECT_EQ(call::file_length(number), 9);
  call::close_file(number);
  OwnedByteArray bytes(make_byte_array("raw", 3));
  EXPECT_TRUE(call::write_file(long_path.c_str(), bytes.get()));
  number = call::open_file(long_path.c_str(), kReadExisting);
  EXPECT_EQ(read(number), "raw");
  call::close_file(number);
  // Forward slashes and a step back up are made plain before the extended form is used.
  std::string slashed = folder + "..\\" + folder.substr(folder.find_last_of('\\', folder.size() - 2) + 1) + "\xB3\xA4.txt";
  for (char& c : slashed) c = c == '\\' ? '/' : c;
  number = call::open_file(slashed.c_str(), kReadExisting);
  EXPECT_NE(number, 0);
  call::close_file(number);
  EXPECT_EQ(temporary_files_beside(long_path), 0);
  DeleteFileW((L"\\\\?\\" + runtime::win32::widen(long_path)).c_str());
}

TEST_F(FileCommands, ReadingStopsAtEndOfFileMarkersAndNul) {
  ASSERT_TRUE(write_bytes(std::string("ab\x1A" "cd", 5)));
  std::int32_t number = call::open_file(path.c_str(), kReadExisting);
  ASSERT_NE(number, 0);
  EXPECT_EQ(read(number), "ab");
  EXPECT_EQ(read(number), "");  // the position stays on the 0x1A
  call::close_file(number);

  ASSERT_TRUE(write_bytes(std::string("\xB0\x1A" "z", 3)));  // 1A as a trail byte does not end it
  EXPECT_EQ(contents(), std::string("\xB0\x1A" "z"));

  ASSERT_TRUE(write_bytes(std::string("x\xB0\0yz", 5)));  // a lead byte before NUL is dropped
  number = call::open_file(path.c_str(), kReadExisting);
  EXPECT_EQ(read(number), "x");
  EXPECT_EQ(read(number), "");  // now at the NUL
  call::close_file(number);
}

TEST_F(FileCommands, LengthIsTheWholeFilesBytes) {
  ASSERT_TRUE(write_bytes(std::string("ab\x1A" "cd", 5)));
  const std::int32_t number = call::open_file(path.c_str(), kReadExisting);
  ASSERT_NE(number, 0);
  EXPECT_EQ(call::file_length(number), 5);  // past the end-of-file marker
  EXPECT_EQ(read(number), "ab");
  EXPECT_EQ(call::file_length(number), 5);  // whatever was read
  call::close_file(number);
  EXPECT_EQ(call::file_length(number), -1);  // closed
  EXPECT_EQ(call::file_length(0), -1);
}

TEST_F(FileCommands, MaximumLengthReadsInPieces) {
  ASSERT_TRUE(write_bytes("hello"));
  const std::int32_t number = call::open_file(path.c_str());
  EXPECT_EQ(read(number, 2), "he");
  EXPECT_EQ(read(number, 2), "ll");
  EXPECT_EQ(read(number, 0), "");
  EXPECT_EQ(read(number, 2147483647), "o");  // a generous maximum reads what is left
  call::close_file(number);
  EXPECT_EQ(read(number), "");  // closed: no such file number
  EXPECT_EQ(read(12345), "");
  call::close_file(12345);
}

TEST_F(FileCommands, OpenModesAndSharing) {
  EXPECT_EQ(call::open_file(path.c_str(), kReadExisting), 0);  // missing
  EXPECT_EQ(call::open_file(path.c_str(), 7), 0);
  EXPECT_EQ(call::open_file(path.c_str(), kWriteEmptied, 0), 0);
  EXPECT_EQ(call::open_file("", kWriteEmptied), 0);

  const std::int32_t writer = call::open_file(path.c_str(), kWriteEmptied, 4);  // nobody else
  ASSERT_NE(writer, 0);
  EXPECT_EQ(call::open_file(path.c_str(), kReadExisting), 0);
  EXPECT_TRUE(call::write_file_text(writer, "abc", 12, true, unit_record(1, 1, type_code::kEditBox)));
  call::close_file(writer);
  EXPECT_EQ(contents(), "abc12\xD5\xE6");  // abc12真; the control reference is skipped

  const std::int32_t appender = call::open_file(path.c_str(), kWriteKept);
  EXPECT_EQ(contents(), "abc12\xD5\xE6");  // kept, not emptied
  call::close_file(appender);
  EXPECT_FALSE(call::write_file_text(appender, "x"));
}

TEST_F(FileCommands, WriteFileOfNothingMakesAnEmptyFile) {
  ASSERT_TRUE(write_bytes("old"));
  EXPECT_TRUE(call::write_file(path.c_str(), nullptr));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 0u);
  EXPECT_FALSE(call::write_file("", nullptr));
}

class RegistryCommands : public testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilletTest"); }
  static constexpr const char* kRoot = "QuilletTest";
  static constexpr const char* kSection = "\xB3\xA3\xD3\xC3\xCE\xC4\xBC\xFE";  // 常用文件
  std::string read(const char* name, std::optional<const char*> fallback = {}) {
    OwnedText text = call::read_registry_text(kRoot, kSection, name, fallback);
    return text ? std::string(text.get()) : std::string("<empty>");
  }
};

TEST_F(RegistryCommands, TextsRoundTripAndMatchTheAnsiView) {
  const char* value = "C:\\\xD6\xD0\xCE\xC4\\a.txt";  // C:\中文\a.txt
  EXPECT_TRUE(call::write_registry_item(kRoot, kSection, "1", text_record(value)));
  EXPECT_EQ(read("1"), value);
  char ansi[64] = {};
  DWORD size = sizeof ansi;
  const std::string key = std::string("Software\\QuilletTest\\") + kSection;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "1", RRF_RT_REG_SZ, nullptr, ansi, &size), ERROR_SUCCESS);
  EXPECT_STREQ(ansi, value);
}

TEST_F(RegistryCommands, OtherTypesAndMissingValuesGiveTheDefault) {
  EXPECT_TRUE(call::write_registry_item(kRoot, kSection, "n", int_record(5)));
  EXPECT_EQ(read("n", "dflt"), "dflt");
  EXPECT_EQ(read("n"), "<empty>");
  EXPECT_EQ(read("missing", "d"), "d");
  OwnedByteArray bytes(make_byte_array("\x01\x02", 2));
  EXPECT_TRUE(call::write_registry_item(kRoot, kSection, "b", byte_array_record(bytes.get())));
  EXPECT_FALSE(call::write_registry_item(kRoot, kSection, "t", bool_record(true)));
  EXPECT_TRUE(call::write_registry_item(kRoot, kSection, "d", double_record(7.9)));  // as the integer 7
  DWORD number = 0;
  DWORD size = sizeof number;
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\QuilletTest\\\x5E38\x7528\x6587\x4EF6", L"d", RRF_RT_REG_DWORD, nullptr,
               &number, &size);
  EXPECT_EQ(number, 7u);
}

TEST_F(RegistryCommands, ExpandableTextsAreExpanded) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\QuilletTest\\x", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t value[] = L"%WINDIR%\\y";
  RegSetValueExW(key, L"e", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
  RegCloseKey(key);
  OwnedText text = call::read_registry_text(kRoot, "x", "e");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text.get()).find('%'), std::string::npos);
  EXPECT_NE(std::string(text.get()).find("\\y"), std::string::npos);
}

}  // namespace
}  // namespace quillet::text
