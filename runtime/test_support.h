// Test helpers for the fatal paths: the status a fatal error leaves behind, and a box
// presenter that writes what it would show to stderr so a death test can compare it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/message_box.h"

namespace quillet::runtime::testing_support {

// terminate(-1): the low byte of -1 on POSIX, the full value from Windows.
#ifdef _WIN32
inline constexpr int kFatalExitStatus = -1;
#else
inline constexpr int kFatalExitStatus = 255;
#endif

inline ::testing::ExitedWithCode exited_fatally() { return ::testing::ExitedWithCode(kFatalExitStatus); }

// For a death test whose child must see a refused allocation come back as null, as the
// program's own check does on Windows: the sanitizers' allocator otherwise ends the child with
// its own report. The child is started afresh (the threadsafe style) with the option in its
// environment; the test program itself keeps reporting any allocation that fails.
class ChildMayFailAllocations {
 public:
  ChildMayFailAllocations() : style_(GTEST_FLAG_GET(death_test_style)) {
    if (const char* options = std::getenv("ASAN_OPTIONS")) saved_ = options, had_options_ = true;
    const std::string options = had_options_ && !saved_.empty() ? saved_ + ":allocator_may_return_null=1"
                                                                 : "allocator_may_return_null=1";
    set_environment("ASAN_OPTIONS", options.c_str());
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
  ~ChildMayFailAllocations() {
    set_environment("ASAN_OPTIONS", had_options_ ? saved_.c_str() : nullptr);
    GTEST_FLAG_SET(death_test_style, style_);
  }
  ChildMayFailAllocations(const ChildMayFailAllocations&) = delete;
  ChildMayFailAllocations& operator=(const ChildMayFailAllocations&) = delete;

 private:
  static void set_environment(const char* name, const char* value) {
#if defined(_WIN32)
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) setenv(name, value, 1);
    else unsetenv(name);
#endif
  }
  std::string style_;
  std::string saved_;
  bool had_options_ = false;
};

inline void write_to_stderr(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

// Each box becomes "<caption>|<style in hex>|<text>" on stderr, answered with OK.
inline void answer_boxes_on_stderr() {
  set_message_box_presenter([](std::string_view text, std::string_view caption, std::uint32_t style,
                               std::uintptr_t) {
    char style_hex[16];
    std::snprintf(style_hex, sizeof style_hex, "%X", static_cast<unsigned>(style));
    write_to_stderr(std::string(caption) + "|" + style_hex + "|" + std::string(text));
    return kButtonOk;
  });
}

// The byte-exact GBK texts of the error box, spelled in hex so a wrong source or execution
// character set cannot make a test agree with the code by accident.
inline const std::string kBoxHeader = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
inline const std::string kCodeLabel = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";          // 错误代码：
inline const std::string kMessageLabel = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";       // 错误信息：
inline const std::string kErrorCaption = "\xB4\xED\xCE\xF3";                              // 错误

inline std::string allocation_failure_message(unsigned long long bytes) {
  return "\xB7\xD6\xC5\xE4 " + std::to_string(bytes) +
         " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";  // 分配 N 字节内存失败!
}

}  // namespace quillet::runtime::testing_support
