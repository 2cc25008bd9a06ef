#include "forms/win32/form_runtime.h"

#include <ole2.h>

#include <algorithm>
#include <exception>
#include <new>
#include <string>

#include "forms/properties.h"
#include "forms/stored_forms.h"
#include "forms/win32/control_types.h"
#include "forms/win32/form_window.h"
#include "runtime/errors.h"
#include "runtime/message_box.h"
#include "runtime/termination.h"
#include "runtime/win32_runtime.h"
#include "runtime/win32_text.h"
#include "text/call_frame.h"
#include "text/dialogs.h"

namespace quillet::forms::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"_QF_Window";
constexpr wchar_t kHiddenOwnerClass[] = L"_QF_HideOwner";
constexpr int kFirstChildId = 1000;
constexpr std::uint32_t kTakesFocus = 4;

// The program's directory becomes the current directory, as documents and scripts are
// looked up from there.
void enter_program_directory() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, length);
  const std::size_t slash = directory.find_last_of(L'\\');
  directory.resize(slash == std::wstring::npos ? 0 : slash);
  if (!directory.empty()) SetCurrentDirectoryW(directory.c_str());
}

bool is_input_message(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// Units whose type has no window raise no events.
bool raises_events(std::uint32_t type) {
  namespace code = text::type_code;
  return type != code::kCommonDlg && type != code::kPrinter && type != code::kBalloonTip;
}

std::uintptr_t window_handle_of(std::uint32_t form_id, std::uint32_t unit_id) {
  const Control* control = FormRuntime::instance().control(form_id, unit_id);
  return control != nullptr ? reinterpret_cast<std::uintptr_t>(control->window()) : 0;
}

}  // namespace

FormWindow* FormRuntime::OpenForm::window_unit() const {
  return controls.empty() ? nullptr : static_cast<FormWindow*>(controls.front().get());
}

FormRuntime::FormRuntime() {
  OleInitialize(nullptr);
  enter_program_directory();
  register_window_class(kFormClass, form_procedure);
  register_window_class(kHiddenOwnerClass, hidden_procedure);
  hidden_owner_ = CreateWindowExW(0, kHiddenOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  runtime::win32::set_runtime_window(hidden_owner_);
  text::set_window_handle_resolver(window_handle_of);
  std::optional<FormBlock> block = read_form_block(stored_form_block());
  if (!block) runtime::raise_error(0, "载入启动窗口失败");
  block_ = std::move(*block);
  runtime::add_shutdown_step(runtime::ShutdownStage::CloseForms, [] { instance().close_all_forms(); });
  runtime::add_shutdown_step(runtime::ShutdownStage::ReleaseResources, [] { OleUninitialize(); });
}

FormRuntime& FormRuntime::initialise() { return instance(); }

FormRuntime& FormRuntime::instance() {
  static FormRuntime* runtime = new FormRuntime;  // lives until the process ends
  return *runtime;
}

void FormRuntime::register_handler(std::uint32_t reference, EventHandler handler) {
  if (handler) {
    handlers_[reference] = std::move(handler);
  } else {
    handlers_.erase(reference);  // an empty handler means none
  }
}

FormRecord* FormRuntime::mutable_form(std::uint32_t form_id) {
  for (FormRecord& record : block_.forms) {
    if (record.id == form_id) return &record;
  }
  return nullptr;
}

FormRuntime::OpenForm* FormRuntime::open_form(std::uint32_t form_id) const {
  for (const auto& form : open_) {
    if (form->form_id == form_id) return form.get();
  }
  return nullptr;
}

FormRuntime::OpenForm* FormRuntime::open_form(HWND window) const {
  for (const auto& form : open_) {
    if (form->window == window) return form.get();
  }
  return nullptr;
}

HWND FormRuntime::window_of(std::uint32_t form_id) const {
  const OpenForm* form = open_form(form_id);
  return form != nullptr ? form->window : nullptr;
}

bool FormRuntime::building(std::uint32_t form_id) const {
  const OpenForm* form = open_form(form_id);
  return form != nullptr && form->building;
}

Control* FormRuntime::control(std::uint32_t form_id, std::uint32_t unit_id) const {
  const OpenForm* form = open_form(form_id);
  if (form == nullptr || form->controls.empty()) return nullptr;
  if (unit_id == 0) return form->controls.front().get();
  for (const auto& control : form->controls) {
    if (control->unit_id() == unit_id) return control.get();
  }
  return nullptr;
}

std::vector<Control*> FormRuntime::controls_of(std::uint32_t form_id) const {
  std::vector<Control*> controls;
  if (const OpenForm* form = open_form(form_id)) {
    for (const auto& control : form->controls) controls.push_back(control.get());
  }
  return controls;
}

Control* FormRuntime::control_of(const OpenForm& form, HWND window) const {
  for (const auto& control : form.controls) {
    if (control->window() == window) return control.get();
  }
  return nullptr;
}

bool FormRuntime::load_form(std::uint32_t form_id, HWND owner, bool modal) {
  if (OpenForm* open = open_form(form_id)) {
    if (!open->closing) {
      if (IsIconic(open->window)) {
        ShowWindow(open->window, SW_RESTORE);
      } else {
        SetForegroundWindow(open->window);
      }
      return true;
    }
    if (IsWindow(open->window)) DestroyWindow(open->window);  // finish the close under way
  }
  FormRecord* record = mutable_form(form_id);
  if (record == nullptr || record->units.empty() || record->units[0].control() == nullptr) return false;
  if (modal) owner = nullptr;
  if (owner != nullptr && !IsWindow(owner)) return false;
  const ControlRecord& window_record = *record->units[0].control();
  const std::optional<WindowProperties> properties = decode_properties<WindowProperties>(window_record.properties);
  if (!properties) return false;

  auto open = std::make_unique<OpenForm>();
  open->form_id = form_id;
  open->menu = walk_menu(*record);
  open->accelerators = build_accelerators(open->menu);
  MenuBar menu_bar = build_menu_bar(open->menu);

  const Rect& stored = window_record.rect;
  Rect rect{to_device(stored.left), to_device(stored.top), to_device(stored.width), to_device(stored.height)};
  if (properties->start_position == 1) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    rect.left = work.left + (work.right - work.left - rect.width) / 2;
    rect.top = work.top + (work.bottom - work.top - rect.height) / 2;
  }
  OpenForm* form = open.get();
  open_.push_back(std::move(open));
  const std::wstring title = runtime::win32::widen(properties->title);
  const HWND window = CreateWindowExW(FormWindow::extended_style_of(*properties), kFormClass, title.c_str(),
                                      FormWindow::style_of(*properties), rect.left, rect.top, rect.width,
                                      rect.height, owner, menu_bar.get(), GetModuleHandleW(nullptr), form);
  if (window == nullptr) {
    // A window that failed after it was first created has already been forgotten when it was
    // destroyed; only the one that never came to be is still listed.
    std::erase_if(open_, [form](const auto& f) { return f.get() == form; });
    return false;
  }
  menu_bar.release();  // the window owns its menu now
  if (!properties->icon.empty()) {
    form->big_icon = icon_from_file(properties->icon, 32);
    form->small_icon = icon_from_file(properties->icon, 16);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(form->big_icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(form->small_icon));
  }
  if (!create_controls(*form, *record)) {
    DestroyWindow(window);
    return false;
  }
  focus_first_control(*form);
  form->building = false;

  // Created (before the user sees the form, so its handler can retitle it), then shown and
  // resized, each only while the window still exists.
  raise_event(form_id, 0, kEventCreated);
  if (!IsWindow(window)) return true;
  ShowWindow(window, properties->start_position == 2 ? SW_SHOWMINIMIZED
                     : properties->start_position == 3 ? SW_SHOWMAXIMIZED
                                                       : SW_SHOW);
  UpdateWindow(window);
  if (IsWindow(window)) raise_event(form_id, 0, kEventShown);
  if (IsWindow(window)) raise_event(form_id, 0, kEventResized);
  form = open_form(window);
  if (form == nullptr) return true;
  if (modal) enter_modal(*form);
  form->created = true;
  if (modal) {
    while (IsWindow(window)) {
      if (!pump_message(true)) break;
    }
  }
  return true;
}

bool FormRuntime::create_controls(OpenForm& form, FormRecord& record) {
  ControlSite window_site{form.form_id, &record.units[0], form.window, {0, 0}, true, 0};
  const std::optional<WindowProperties> properties =
      decode_properties<WindowProperties>(record.units[0].control()->properties);
  form.controls.push_back(std::make_unique<FormWindow>(window_site, *properties));
  form.controls.front()->create();
  int child_id = kFirstChildId;
  for (std::size_t i = 1; i < record.units.size(); ++i) {
    UnitRecord& unit = record.units[i];
    if (unit.control() == nullptr) continue;  // menu items live in the menu bar
    ControlSite site{form.form_id, &unit, form.window, {0, 0}, true, child_id++};
    std::unique_ptr<Control> control = make_control(site);
    if (control == nullptr) continue;  // a type this runtime does not show
    Control* created = control.get();
    form.controls.push_back(std::move(control));
    place_in_container(*created);  // its container's origin, before its window exists
    if (!created->create()) form.controls.pop_back();
  }
  // Stacking, top to bottom: pictures, then the controls that take the focus (in stored order,
  // which is the tab order), then labels, then group boxes. So the picture stays visible over
  // the document, a check box set into the gap of a label's text shows, and a label over a
  // group box's edge is drawn over the frame.
  auto band = [](const Control& control) {
    if (control.type() == text::type_code::kPicBox) return 0;
    if (control.is_container()) return 3;
    return (control.record().flags & kTakesFocus) != 0 ? 1 : 2;
  };
  for (int level = 0; level < 4; ++level) {
    for (const auto& control : form.controls) {
      if (control->window() == nullptr || control->window() == form.window || band(*control) != level) continue;
      SetWindowPos(control->window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  lay_out(form.form_id);
  return true;
}

void FormRuntime::place_in_container(Control& control) const {
  POINT origin{0, 0};
  bool shown = true;
  for (std::uint32_t parent = control.record().parent; parent != 0;) {
    const Control* container = this->control(control.form_id(), parent);
    if (container == nullptr) break;
    origin.x += container->record().rect.left;
    origin.y += container->record().rect.top;
    shown = shown && container->record().visible();
    parent = container->record().parent;
  }
  control.set_origin(origin);
  control.set_shown(shown);
  if (control.window() == nullptr) return;
  const Rect& rect = control.record().rect;
  SetWindowPos(control.window(), nullptr, to_device(origin.x + rect.left), to_device(origin.y + rect.top),
               to_device(rect.width), to_device(rect.height), SWP_NOZORDER | SWP_NOACTIVATE);
  control.apply_state();
}

void FormRuntime::lay_out(std::uint32_t form_id) {
  if (const OpenForm* form = open_form(form_id)) {
    for (std::size_t i = 1; i < form->controls.size(); ++i) place_in_container(*form->controls[i]);
  }
}

void FormRuntime::focus_first_control(OpenForm& form) {
  Control* first = nullptr;
  for (const auto& control : form.controls) {
    const ControlRecord& record = control->record();
    if (control->window() == nullptr || control->window() == form.window || (record.flags & kTakesFocus) == 0 ||
        (GetWindowLongPtrW(control->window(), GWL_STYLE) & WS_VISIBLE) == 0 || !IsWindowEnabled(control->window())) {
      continue;
    }
    if (first == nullptr || record.focus_order < first->record().focus_order) first = control.get();
  }
  if (first != nullptr) {
    form.last_focus = first->window();
    SetFocus(first->window());
  }
}

void FormRuntime::enter_modal(OpenForm& form) {
  for (const auto& other : open_) {
    if (other.get() != &form && IsWindowEnabled(other->window)) {
      EnableWindow(other->window, FALSE);
      form.disabled_while_modal.push_back(other->window);
    }
  }
}

void FormRuntime::close_form(std::uint32_t form_id, bool forced) {
  OpenForm* form = open_form(form_id);
  if (form == nullptr || form->closing) return;
  const HWND window = form->window;
  if (!forced && (!may_close(form_id) || open_form(window) == nullptr)) return;
  form = open_form(window);
  form->closing = true;
  raise_event(form_id, 0, kEventDestroying);
  if (OpenForm* still = open_form(window)) {
    // Give the forms a modal form disabled back before it goes, so one of them is activated.
    for (HWND other : still->disabled_while_modal) {
      if (IsWindow(other)) EnableWindow(other, TRUE);
    }
    still->disabled_while_modal.clear();
  }
  if (IsWindow(window)) DestroyWindow(window);
}

bool FormRuntime::may_close(std::uint32_t form_id) {
  const OpenForm* form = open_form(form_id);
  if (form == nullptr) return true;
  const HWND window = form->window;
  for (std::int32_t question : {kEventBeforeCloseQuery, kEventCloseQuery}) {
    const EventNotice answer = raise_event(form_id, 0, question);
    if (open_form(window) == nullptr) return true;  // the handler closed it already
    if (answer.handled && answer.result == 0) return false;
  }
  return true;
}

void FormRuntime::close_all_forms() {
  while (!open_.empty()) {
    const std::size_t before = open_.size();
    close_form(open_.back()->form_id, true);
    if (open_.size() == before) forget(open_.back()->window);  // a window that would not go
  }
}

void FormRuntime::forget(HWND window) {
  const auto found = std::find_if(open_.begin(), open_.end(), [window](const auto& form) { return form->window == window; });
  if (found == open_.end()) return;
  std::unique_ptr<OpenForm> form = std::move(*found);
  open_.erase(found);
  for (HWND other : form->disabled_while_modal) {
    if (IsWindow(other)) EnableWindow(other, TRUE);
  }
  if (form->big_icon != nullptr) DestroyIcon(form->big_icon);
  if (form->small_icon != nullptr) DestroyIcon(form->small_icon);
  form.reset();  // the controls and the accelerator table
  if (open_.empty() && running_) PostQuitMessage(0);
}

void FormRuntime::rebuild_menu(std::uint32_t form_id) {
  OpenForm* form = open_form(form_id);
  const FormRecord* record = this->form(form_id);
  if (form == nullptr || record == nullptr) return;
  form->menu = walk_menu(*record);
  form->accelerators = build_accelerators(form->menu);
  MenuBar menu_bar = build_menu_bar(form->menu);
  const HMENU old = GetMenu(form->window);
  SetMenu(form->window, menu_bar.release());
  if (old != nullptr) DestroyMenu(old);
  DrawMenuBar(form->window);
}

void FormRuntime::link_events(std::uint32_t form_id, std::uint32_t unit_id, std::uint32_t target_id) {
  FormRecord* record = mutable_form(form_id);
  if (record == nullptr) return;
  if (target_id == 0 && unit_id == record->units[0].id) {
    for (UnitRecord& unit : record->units) unit.shared_events = 0;
    return;
  }
  const UnitRecord* target = target_id != 0 ? record->find_unit(target_id) : nullptr;
  for (UnitRecord& unit : record->units) {
    if (unit.id != unit_id) continue;
    if (target_id == 0) {
      unit.shared_events = 0;
    } else if (target != nullptr && target->type == unit.type) {
      unit.shared_events = target_id;
    }
  }
}

EventNotice FormRuntime::raise_event(std::uint32_t form_id, std::uint32_t unit_id, std::int32_t event,
                                     std::vector<std::int64_t> arguments) {
  EventNotice notice{form_id, unit_id, event, std::move(arguments)};
  if (runtime::reporting_error() || runtime::error_count() != 0) return notice;
  const FormRecord* record = form(form_id);
  if (record == nullptr) runtime::raise_error(0, "未找到引发事件的窗口");
  const std::uint32_t raised_by = unit_id != 0 ? unit_id : record->units[0].id;
  const UnitRecord* unit = record->find_unit(raised_by);
  if (unit == nullptr) runtime::raise_error(0, "未找到引发事件的窗口组件");
  const UnitRecord* bound = record->event_target(raised_by);
  if (!raises_events(bound->type)) runtime::raise_error(0, "引发事件的窗口组件无效");
  const Handler reference = record->event_handler(raised_by, event);
  if (!reference) return notice;
  const auto handler = handlers_.find(*reference);
  if (handler == handlers_.end()) return notice;
  // The sender and depth are the handler's for as long as it runs, however it ends.
  struct Running {
    FormRuntime& runtime;
    std::pair<std::uint32_t, std::uint32_t> previous_sender;
    ~Running() {
      --runtime.handler_depth_;
      runtime.sender_ = previous_sender;
    }
  } running{*this, sender_};
  sender_ = {form_id, raised_by};
  ++handler_depth_;
  try {
    notice.result = handler->second(notice);
  } catch (const std::bad_alloc&) {
    report_failed_handler("内存不足");
  } catch (const std::exception& failure) {
    report_failed_handler(std::string("程序内部出错（") + failure.what() + "）");
  } catch (...) {
    report_failed_handler("程序内部出错");
  }
  notice.handled = true;
  return notice;
}

// An exception that a handler lets out ends that handler, never the program: unwinding through
// the window procedures that called it would take the user's unsaved text with it. Handlers
// compute before they change anything, so what it was doing is simply not done.
void FormRuntime::report_failed_handler(const std::string& reason) {
  const std::string message = reason + "，这项操作没有完成。文档仍是操作之前的内容，可以继续编辑和保存。";
  text::call::message_box(message.c_str(), runtime::kBoxIconError, "错误");
}

void FormRuntime::add_idle_callback(HWND window, IdleCallback callback, void* datum) {
  for (const IdleEntry& entry : idle_) {
    if (entry.window == window) return;
  }
  idle_.push_back({window, callback, datum});
}

void FormRuntime::run_idle_callbacks() {
  std::erase_if(idle_, [](const IdleEntry& entry) { return !IsWindow(entry.window); });
  const std::vector<IdleEntry> entries = idle_;  // a callback may add another
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (IsWindow(entry->window)) entry->callback(entry->datum);
  }
}

bool FormRuntime::pre_translate(MSG& message) {
  if (message.hwnd == nullptr) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  const OpenForm* form = open_form(root);
  if (form == nullptr) return false;
  if (form->accelerators && TranslateAcceleratorW(root, form->accelerators.get(), &message) != 0) return true;
  // Forms without a menu bar are dialogs: Tab, Shift+Tab, Enter, Escape and Alt+mnemonic move
  // between their controls as in any dialog box.
  return GetMenu(root) == nullptr && IsDialogMessageW(root, &message) != 0;
}

bool FormRuntime::pump_message(bool nested) {
  MSG message;
  while (idle_due_ && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    run_idle_callbacks();
    idle_due_ = false;
  }
  if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
    // A modal form's loop passes the quit message on to the loop it runs in.
    if (nested && message.message == WM_QUIT) PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  if (is_input_message(message.message)) idle_due_ = true;
  if (!pre_translate(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

void FormRuntime::run() {
  running_ = true;
  if (open_.empty()) return;
  while (pump_message(false)) {
  }
  running_ = false;
}

void FormRuntime::process_pending_messages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that is waiting for it
      return;
    }
    if (!pre_translate(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

LRESULT FormRuntime::on_command(OpenForm& form, WPARAM wparam, LPARAM lparam) {
  if (lparam == 0) {  // a menu item or an accelerator
    if (const std::uint32_t unit = form.menu.unit_for(LOWORD(wparam))) raise_event(form.form_id, unit, 0);
    return 0;
  }
  Control* control = control_of(form, reinterpret_cast<HWND>(lparam));
  if (control == nullptr || form.building) return 0;
  if (const std::optional<std::int32_t> event = control->command_event(HIWORD(wparam))) {
    raise_event(form.form_id, control->unit_id(), *event);
  }
  return 0;
}

LRESULT FormRuntime::on_form_message(OpenForm& form, UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = form.window;
  if (input_event_number(message) && !form.building) {
    const bool swallowed = raise_input_event(form.form_id, 0, message, &wparam, lparam);
    if (!IsWindow(window)) return 0;
    if (swallowed) return 0;
  }
  switch (message) {
    case WM_COMMAND:
      return on_command(form, wparam, lparam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      if (Control* control = control_of(form, reinterpret_cast<HWND>(lparam))) {
        if (HBRUSH brush = control->colour_brush(reinterpret_cast<HDC>(wparam))) return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case DM_GETDEFID:
      for (const auto& control : form.controls) {
        if (control->is_default_button() && control->window() != nullptr) {
          return MAKELRESULT(GetDlgCtrlID(control->window()), DC_HASDEFID);
        }
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) form.last_focus = focus;
      } else if (form.last_focus != nullptr && IsWindow(form.last_focus) && IsChild(window, form.last_focus)) {
        SetFocus(form.last_focus);
      }
      return 0;
    case WM_SETFOCUS:
      if (form.last_focus != nullptr && IsWindow(form.last_focus) && IsChild(window, form.last_focus)) {
        SetFocus(form.last_focus);
      }
      return 0;
    case WM_SIZE:
      if (form.created) raise_event(form.form_id, 0, kEventResized);
      return 0;
    case WM_CLOSE:
      close_form(form.form_id, false);
      return 0;
    // Logging off or shutting down is closing the window: the same questions first, and a form
    // that will not close refuses the end of the session. The closing itself comes once the
    // session really ends, without a second question.
    case WM_QUERYENDSESSION:
      return may_close(form.form_id) ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wparam != FALSE) close_form(form.form_id, true);
      return 0;
    case WM_ERASEBKGND:
      if (const FormWindow* unit = form.window_unit()) {
        unit->erase(reinterpret_cast<HDC>(wparam));
        return 1;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK FormRuntime::form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<OpenForm*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<OpenForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    instance().forget(window);
    return DefWindowProcW(window, message, wparam, lparam);
  }
  if (form == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return instance().on_form_message(*form, message, wparam, lparam);
}

LRESULT CALLBACK FormRuntime::hidden_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (runtime::win32::handle_runtime_message(message, wparam, lparam)) return 0;
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace quillet::forms::win32
