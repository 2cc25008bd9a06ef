#include "runtime/errors.h"

#include <array>

#include "runtime/message_box.h"
#include "runtime/platform.h"
#include "runtime/termination.h"

namespace quillet::runtime {
namespace {

constexpr std::array<const char*, kLastTableErrorCode + 1> kMessages = {
    nullptr,
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

struct ErrorState {
  int count = 0;
  ErrorHook hook = nullptr;
  bool hook_running = false;
  bool reporting = false;
};

ErrorState& state() {
  static ErrorState s;
  return s;
}

}  // namespace

const char* runtime_error_message(int code) {
  if (code < 1 || code > kLastTableErrorCode) return nullptr;
  return kMessages[code];
}

std::string error_box_text(int code, std::string_view message) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code != 0) {
    text += "错误代码：";
    text += std::to_string(code);
    text += "\r\n\r\n";
  }
  if (!message.empty()) {
    text += "错误信息：";
    text += message;
    text += "\r\n";
  }
  return text;
}

void raise_error(int code, const char* message) {
  ErrorState& s = state();
  ++s.count;
  s.reporting = true;
  const std::string_view text = message != nullptr ? message : "";

  bool show_box = true;
  if (s.hook != nullptr && !s.hook_running) {
    s.hook_running = true;
    show_box = s.hook(code, message != nullptr ? message : "") == 0;
    s.hook_running = false;
  }
  if (show_box) message_box(error_box_text(code, text), "错误", kBoxOk | kBoxIconError);

  detail::clear_exit_callbacks();
  terminate(-1);
  // terminate returns only when a shutdown is already under way on this thread (an error in
  // an exit step): nothing more may run, so end here.
  platform::end_process(-1);
}

void raise_error_by_code(int code) { raise_error(code, runtime_error_message(code)); }

ErrorHook set_error_hook(ErrorHook hook) {
  ErrorHook previous = state().hook;
  state().hook = hook;
  return previous;
}

int error_count() { return state().count; }
bool reporting_error() { return state().reporting; }

}  // namespace quillet::runtime
