// Test support for the editor under Wine: the real main window started as the program starts
// it, menu commands chosen by their captions, message boxes answered through the runtime's
// presenter, file dialogs through a WH_CBT hook, files in a temporary folder, the registry
// under a test root.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "editor/app_state.h"
#include "editor/application.h"
#include "editor/document.h"
#include "editor/settings.h"
#include "editor/units.h"
#include "forms/win32/dialog_answers.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/menu_lookup.h"
#include "forms/win32/property_service.h"
#include "runtime/message_box.h"
#include "runtime/win32_text.h"
#include "text/files.h"

namespace quillet::editor {

namespace fs = std::filesystem;
using forms::win32::DialogAnswers;
using forms::win32::FormRuntime;
using forms::win32::press;

constexpr char kTestRoot[] = "QuilletPadTest";
constexpr int kFileNameBox = 0x47C;

struct Box {
  std::string text;
  std::string caption;
  std::uint32_t style;
};

class EditorTest : public testing::Test {
 protected:
  void SetUp() override {
    // A folder of this process's own: the test programs run side by side.
    folder_ = fs::temp_directory_path() / ("quillet-editor-test-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilletPadTest");
    Settings().registry_root = kTestRoot;
    Settings().end_program = [this](int code) { ended_ = code; };
    runtime::set_message_box_presenter([this](std::string_view text, std::string_view caption, std::uint32_t style,
                                              std::uintptr_t) {
      boxes_.push_back({std::string(text), std::string(caption), style});
      if (answers_.empty()) return runtime::kButtonOk;
      const int answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
    start();
  }
  void TearDown() override {
    FormRuntime::instance().close_all_forms();
    runtime::set_message_box_presenter({});
    ReleaseState();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilletPadTest");
    fs::remove_all(folder_);
  }
  void start() {
    FormRuntime::initialise();
    CreateState();
    RegisterHandlers();
    ASSERT_TRUE(FormRuntime::instance().load_form(forms::kMainForm));
  }
  // Closes the main window as the program's end would (its destroy event stores the list)
  // and starts it again.
  void restart() {
    FormRuntime::instance().close_form(forms::kMainForm, true);
    ReleaseState();
    start();
  }
  HWND main_window() const { return FormRuntime::instance().window_of(forms::kMainForm); }
  // The command number of the menu item whose caption starts with the text.
  UINT command(const char* caption) const {
    const UINT found = forms::win32::menu_command(main_window(), caption);
    if (found == 0) ADD_FAILURE() << "no menu item " << caption;
    return found;
  }
  void choose(const char* caption) { SendMessageW(main_window(), WM_COMMAND, command(caption), 0); }
  bool close_window() {
    SendMessageW(main_window(), WM_CLOSE, 0, 0);
    return !IsWindow(main_window()) || main_window() == nullptr;
  }
  std::string file(const char* name) const { return runtime::win32::narrow((folder_ / name).wstring()); }
  void write_file(const char* name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  std::string read_file(const char* name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::string document() const {
    const text::OwnedText text = ReadDocument();
    return text ? std::string(text.get()) : std::string();
  }
  std::string title() const {
    wchar_t text[512] = {};
    GetWindowTextW(main_window(), text, 512);
    return runtime::win32::narrow(text);
  }
  std::string caption_of(int item) const {
    wchar_t text[512] = {};
    GetMenuStringW(GetMenu(main_window()), GetMenuItemID(GetSubMenu(GetMenu(main_window()), 0), 0) + 7 + item, text,
                   512, MF_BYCOMMAND);
    return runtime::win32::narrow(text);
  }
  std::string registry_value(const char* name) const {
    const text::OwnedText value = text::call::read_registry_text(kTestRoot, "常用文件", name, "(none)");
    return value ? value.get() : "";
  }
  // Answers a file dialog with this path, and a question that follows (replace the file?)
  // with Yes.
  static std::function<void(HWND)> answer_with(const std::string& path) {
    return [wide = runtime::win32::widen(path)](HWND dialog) {
      if (GetDlgItem(dialog, kFileNameBox) == nullptr) return press(dialog, IDYES);
      SetDlgItemTextW(dialog, kFileNameBox, wide.c_str());
      press(dialog, IDOK);
    };
  }
  void open(const std::string& path) {
    DialogAnswers answers(answer_with(path));
    choose("&O.打开");
  }
  // The window of a unit of an open form.
  static HWND window_of(const UnitRef& unit) {
    const forms::win32::Control* control = FormRuntime::instance().control(unit.form_id, unit.unit_id);
    return control != nullptr ? control->window() : nullptr;
  }
  static HWND document_box() { return window_of(main_window::kDocument); }
  // Characters typed into a box, the document by default.
  static void type(const std::wstring& characters, const UnitRef& box = main_window::kDocument) {
    for (wchar_t c : characters) SendMessageW(window_of(box), WM_CHAR, c, 0);
  }
  static void click(const UnitRef& button) { SendMessageW(window_of(button), BM_CLICK, 0, 0); }
  // A dialog's units through their properties.
  static void fill(const UnitRef& box, const char* text) {
    forms::win32::call::write_text(box, property::kContent, text);
  }
  static std::string text_of(const UnitRef& unit, std::int32_t number = property::kContent) {
    const text::OwnedText text = forms::win32::call::read_text(unit, number);
    return text ? text.get() : "";
  }
  static bool disabled(const UnitRef& unit) { return forms::win32::call::read_bool(unit, property::kDisabled); }
  static bool visible(const UnitRef& unit) { return forms::win32::call::read_bool(unit, property::kVisible); }
  // One Undo takes the last tool back to the text it started from.
  void undo_gives(const std::string& before) {
    choose("&U.撤消");
    EXPECT_EQ(document(), before);
  }

  fs::path folder_;
  std::deque<int> answers_;
  std::vector<Box> boxes_;
  int ended_ = -1;
};

}  // namespace quillet::editor
