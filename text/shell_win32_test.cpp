// Shell commands under Wine: the special folders, and a batch file run through the shell.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text/conversion.h"
#include "text/files.h"
#include "text/shell.h"

namespace quillet::text {
namespace {

TEST(SpecialFolder, PathsEndInExactlyOneBackslash) {
  for (std::int32_t kind : {9, 10, 11}) {
    OwnedText folder = call::special_folder(kind);
    ASSERT_NE(folder, nullptr) << kind;
    const std::string path = folder.get();
    ASSERT_GE(path.size(), 3u);
    EXPECT_EQ(path.back(), '\\') << kind;
    EXPECT_NE(path[path.size() - 2], '\\') << kind;
  }
  OwnedText documents = call::special_folder(kFolderDocuments);
  ASSERT_NE(documents, nullptr);
  EXPECT_EQ(std::string(documents.get()).back(), '\\');
  EXPECT_EQ(call::special_folder(0), nullptr);
  EXPECT_EQ(call::special_folder(12), nullptr);
}

TEST(ShellExecute, RunsABatchFileWithItsAssociatedProgram) {
  const std::string temp = call::special_folder(kFolderTemporary).get();
  const std::string script = temp + "quillet_shell_test.bat";
  const std::string marker = temp + "quillet_shell_marker.txt";
  DeleteFileA(marker.c_str());
  const std::string body = "@echo ran> \"" + marker + "\"\r\n";
  OwnedByteArray bytes(make_byte_array(body.data(), body.size()));
  ASSERT_TRUE(call::write_file(script.c_str(), bytes.get()));

  call::shell_execute(kVerbOpen, script.c_str());
  bool ran = false;
  for (int i = 0; i < 200 && !ran; ++i) {
    Sleep(50);
    ran = GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  EXPECT_TRUE(ran);
  Sleep(100);
  DeleteFileA(marker.c_str());
  DeleteFileA(script.c_str());
}

}  // namespace
}  // namespace quillet::text
