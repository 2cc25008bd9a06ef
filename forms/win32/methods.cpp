#include "forms/win32/methods.h"

#include "forms/win32/balloon_tip.h"
#include "forms/win32/common_dialog.h"
#include "forms/win32/edit_box.h"
#include "forms/win32/printer.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/gdi.h"
#include "text/conversion.h"
#include "runtime/errors.h"

namespace quillet::forms::win32 {
namespace {

using text::ValueRecord;

constexpr char kNoWindow[] = "指定窗口或窗口组件不存在或尚未载入";

std::uint32_t form_of(const ValueRecord& unit) { return unit.low; }
std::uint32_t unit_of(const ValueRecord& unit) { return unit.high; }

// The unit's control with its window; a run-time error when there is none.
Control& live_control(std::int32_t count, const ValueRecord* args) {
  Control* control = count > 0 ? FormRuntime::instance().control(form_of(args[0]), unit_of(args[0])) : nullptr;
  if (control == nullptr || control->window() == nullptr) runtime::raise_error(0, kNoWindow);
  return *control;
}

// The unit's control, of the type the method belongs to; units without a window of their own
// (dialogs, printers, tips) qualify while their form is open.
template <class Type>
Type& unit_control(std::int32_t count, const ValueRecord* args) {
  Control* control = count > 0 ? FormRuntime::instance().control(form_of(args[0]), unit_of(args[0])) : nullptr;
  auto* typed = dynamic_cast<Type*>(control);
  if (typed == nullptr) runtime::raise_error(0, kNoWindow);
  return *typed;
}

// An owner given as a window unit, or as a window handle in an integer.
HWND owner_window(const ValueRecord& owner) {
  if (owner.type == text::type_code::kWindow) {
    const Control* control = FormRuntime::instance().control(form_of(owner), unit_of(owner));
    return control != nullptr ? control->window() : reinterpret_cast<HWND>(~std::uintptr_t{0});
  }
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(text::bits_of(owner)));
}

}  // namespace

void LoadForm(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  if (count < 1) return text::return_bool(result, false);
  const ValueRecord* owner = text::given_argument(count, args, 1);
  const bool modal = text::optional_bool(count, args, 2).value_or(false);
  // A given owner that names no live window makes a modeless load fail.
  HWND owner_handle = owner != nullptr ? owner_window(*owner) : nullptr;
  if (owner != nullptr && !modal && (owner_handle == nullptr || !IsWindow(owner_handle))) {
    return text::return_bool(result, false);
  }
  text::return_bool(result, FormRuntime::instance().load_form(form_of(args[0]), owner_handle, modal));
}

void DestroyForm(ValueRecord*, std::int32_t count, ValueRecord* args) {
  Control& form = live_control(count, args);
  if (text::optional_bool(count, args, 1).value_or(false)) {
    FormRuntime::instance().close_form(form.form_id(), true);
  } else {
    PostMessageW(form.site().form_window, WM_CLOSE, 0, 0);
  }
}

void ClientWidth(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  RECT client{};
  GetClientRect(live_control(count, args).window(), &client);
  text::return_int(result, to_layout(client.right - client.left));
}

void ClientHeight(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  RECT client{};
  GetClientRect(live_control(count, args).window(), &client);
  text::return_int(result, to_layout(client.bottom - client.top));
}

void MoveUnit(ValueRecord*, std::int32_t count, ValueRecord* args) {
  live_control(count, args);
  const std::uint32_t form = form_of(args[0]), unit = unit_of(args[0]);
  for (std::int32_t coordinate = 0; coordinate < 4; ++coordinate) {
    const std::optional<std::int32_t> value = text::optional_int(count, args, coordinate + 1);
    if (!value || (coordinate >= 2 && *value == -1)) continue;
    // Only a changed coordinate moves the window.
    if (text::int_value(read_property(form, unit, coordinate)) != *value) {
      write_property(form, unit, coordinate, text::int_record(*value));
    }
  }
}

void SendUnitMessage(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  const HWND window = live_control(count, args).window();
  const auto message = static_cast<UINT>(text::optional_int(count, args, 1).value_or(0));
  const auto first = static_cast<WPARAM>(static_cast<std::intptr_t>(text::optional_int(count, args, 2).value_or(0)));
  const auto second = static_cast<LPARAM>(text::optional_int(count, args, 3).value_or(0));
  text::return_int(result, static_cast<std::int32_t>(SendMessageW(window, message, first, second)));
}

void AppendText(ValueRecord*, std::int32_t count, ValueRecord* args) {
  EditBox& edit_box = unit_control<EditBox>(count, args);
  for (std::int32_t i = 1; i < count; ++i) edit_box.append(text::value_text(args[i]));
}

void ReplaceWholeText(ValueRecord*, std::int32_t count, ValueRecord* args) {
  EditBox& edit_box = unit_control<EditBox>(count, args);
  edit_box.replace_all_undoably(count > 1 ? text::text_argument(args[1]) : std::string_view(),
                                text::optional_bool(count, args, 2).value_or(false));
}

void OpenCommonDialog(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  text::return_bool(result, unit_control<CommonDialog>(count, args).open());
}

void StartPrinting(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  Printer& printer = unit_control<Printer>(count, args);
  text::return_bool(result, printer.start(text::optional_bool(count, args, 1).value_or(true),
                                          text::optional_bool(count, args, 2).value_or(true)));
}

void PrintTextLines(ValueRecord*, std::int32_t count, ValueRecord* args) {
  Printer& printer = unit_control<Printer>(count, args);
  std::vector<std::string> texts;
  for (std::int32_t i = 1; i < count; ++i) texts.push_back(text::value_text(args[i]));
  printer.print_lines(texts);
}

void EndPrinting(ValueRecord*, std::int32_t count, ValueRecord* args) { unit_control<Printer>(count, args).end(); }

void SetBalloonTip(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  BalloonTip& tip = unit_control<BalloonTip>(count, args);
  const ValueRecord* target = text::given_argument(count, args, 1);
  const Control* control = target != nullptr ? FormRuntime::instance().control(form_of(*target), unit_of(*target)) : nullptr;
  const std::string tip_text = count > 2 ? text::value_text(args[2]) : std::string();
  std::optional<RECT> area;
  if (count > 3 + 4 && text::given_argument(count, args, 4) != nullptr) {
    const auto at = [&](int i) { return text::optional_int(count, args, i).value_or(0); };
    area = RECT{to_device(at(4)), to_device(at(5)), to_device(at(4) + at(6)), to_device(at(5) + at(7))};
  }
  text::return_bool(result, control != nullptr &&
                                tip.attach(control->window(), tip_text, text::optional_int(count, args, 3).value_or(-1), area));
}

void LinkEvents(ValueRecord*, std::int32_t count, ValueRecord* args) {
  if (count < 1) return;
  const ValueRecord* target = text::given_argument(count, args, 1);
  if (target != nullptr && form_of(*target) != form_of(args[0])) return;  // links stay within a form
  FormRuntime::instance().link_events(form_of(args[0]), unit_of(args[0]), target != nullptr ? unit_of(*target) : 0);
}

void EventSender(ValueRecord* result, std::int32_t, ValueRecord*) {
  FormRuntime& runtime = FormRuntime::instance();
  if (!runtime.in_event_handler()) runtime::raise_error(0, "“取事件组件”命令只能在事件处理子程序中使用");
  const auto [form_id, unit_id] = runtime.event_sender();
  const FormRecord* form = runtime.form(form_id);
  const UnitRecord* unit = form != nullptr ? form->find_unit(unit_id) : nullptr;
  *result = text::unit_record(form_id, unit_id, unit != nullptr ? unit->type : 0);
}

namespace call {
UnitRef event_sender() {
  const ValueRecord sender = text::invoke(EventSender);
  return {sender.low, sender.high, sender.type};
}

BusyCursor::BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
BusyCursor::~BusyCursor() { SetCursor(previous_); }
}  // namespace call

}  // namespace quillet::forms::win32
