// Fatal run-time errors. Raising one shows a single box ("运行时出错!" with the code and the
// message, caption "错误") and ends the program with exit code -1; the exit callbacks are not
// run. There is no way back from an error: the optional hook may hide the box, never the end.
#pragma once

#include <string>
#include <string_view>

namespace quillet::runtime {

inline constexpr int kErrorIndexTooLarge = 1;   // 数组成员引用下标超出定义范围
inline constexpr int kErrorIndexBelowOne = 4;   // 数组成员引用下标必须大于等于1
inline constexpr int kErrorTypeMismatch = 5;    // 数据或数组类型不匹配
inline constexpr int kLastTableErrorCode = 11;

// The fixed message of a table code (1 to 11); null for 0 and every other code.
const char* runtime_error_message(int code);

// The exact text of the error box for this code and message (code page 936 bytes).
std::string error_box_text(int code, std::string_view message);

// message may be null for none.
[[noreturn]] void raise_error(int code, const char* message);
[[noreturn]] void raise_error_by_code(int code);

// A hook sees each error before the box; a non-zero result hides the box. While the hook runs,
// a further error skips it and shows its box directly.
using ErrorHook = int (*)(int code, const char* message);
ErrorHook set_error_hook(ErrorHook hook);

int error_count();

// True from the moment an error is raised until the process ends: event dispatch stays quiet
// while the box is up.
bool reporting_error();

}  // namespace quillet::runtime
