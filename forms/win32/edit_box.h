// EditBox: a Win32 "EDIT" window configured from the stored properties (Part of the form
// runtime's control types).
//
// Texts cross into the window through the codec, so any bytes without NUL come back
// unchanged. Selections are byte offsets of the code page 936 text to the application, in
// both directions, whatever unit the window counts in. A byte offset that falls inside a
// double-byte character stands for the start of that character: a selection never splits a
// character.
//
// Properties (k = number - 8): 0 content, 1 border 0-5, 2 text and 3 background colour, 4 font,
// 5 hide selection, 6 maximum length, 7 multi-line, 8 scroll bars 0-3, 9 alignment 0-2,
// 10 input mode 0-11, 11 password character, 12 case conversion, 13 adjuster, 14 and 15 its
// range, 16 selection start, 17 selection length, 18 selected text, 19 and 20 binding names.
// Hide selection, multi-line and scroll bars create the window again in place; text,
// selection, font, limit, colours, focus and the modified flag survive.
//
// Event 0: the content changed, once per change, whether the user or a property write made it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class EditBox : public TableControl<EditBox> {
 public:
  using TableControl::TableControl;
  ~EditBox() override;
  static std::span<const PropertyRow<EditBox>> properties();
  EditBoxProperties& stored() { return stored_; }
  const EditBoxProperties& stored() const { return stored_; }

  bool create() override;
  std::optional<std::int32_t> command_event(WORD code) override;
  HBRUSH colour_brush(HDC dc) override;
  void before_input_event(UINT message) override;
  void recreate() override;

  std::string content() const;
  // Writing the content is a change like any other: it raises the content-changed event once,
  // for single- and multi-line boxes alike (the window reports it itself only for the first),
  // unless the box is quiet.
  void set_content(std::string_view bytes);
  // The selection as byte offsets (start, end) of the content.
  std::pair<std::size_t, std::size_t> selection() const;
  // Selects bytes [start, end) (clamped; offsets inside a character move to its start) and
  // scrolls the caret into view.
  void select(std::size_t start, std::size_t end);
  void select_from(std::int64_t start);   // -1: the end of the text, empty selection
  void select_length(std::int64_t length);  // from the current start; -1: the whole text
  std::string selected_text() const;
  // Replaces the whole text as one edit that the window's undo takes back (the undo record
  // holds only this edit) and leaves the caret at the start (or the end), in view.
  void replace_all_undoably(std::string_view bytes, bool caret_at_end = false);
  // Replaces the selection without recording it for the window's undo.
  void replace_selection(std::string_view bytes);
  // How many times the whole text was read from the window: a reading kept from one message
  // that may change the text to the next serves every read in between.
  std::size_t text_reads() const { return text_reads_; }
  // Caret to the end, scrolled into view, then the text inserted there as a replacement.
  void append(std::string_view bytes);

  void restyle();
  void refont();
  void recolour();
  void apply_limit();
  void apply_input_mode();
  void apply_adjuster_range();
  void rebuild_adjuster();

 protected:
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
  // The window's text as it is now.
  const std::wstring& window_text() const;
  void forget_text() const { text_.reset(); }
  std::pair<std::size_t, std::size_t> selection_in(std::u16string_view units) const;
  void select_in(std::u16string_view units, std::size_t start, std::size_t end);
  DWORD window_style() const;
  DWORD extended_style() const;
  void configure_window();
  void fit_single_line_height();
  int line_height() const;
  void paint_centring_band() const;
  void normalise();
  // Characters the code page has no bytes for never enter the box: typed, composed or pasted,
  // they are kept out and the user is told which. A typed character beyond
  // the basic plane comes as two halves; the first waits in pending_high_ for the second.
  bool keeps_out(char16_t unit);
  bool paste_what_it_holds();
  bool compose_what_it_holds(LPARAM parts);
  bool insert_what_it_holds(std::u16string_view units);
  void refuse(const std::u32string& characters) const;
  // The characters of the box's text that the content would turn into "?" (normally none,
  // since they are kept out), as "U+XXXX" separated by "、"; empty when there are none.
  std::string characters_lost_in_content() const;
  // The content-changed event, outside the building of the form.
  void report_content_changed() const;

  EditBoxProperties stored_;
  UniqueFont font_;
  UniqueBrush background_;
  HWND adjuster_ = nullptr;
  bool quiet_ = false;  // the runtime is filling the box: no content-changed event
  char16_t pending_high_ = 0;
  mutable std::optional<std::wstring> text_;  // the window's text, until a message may change it
  mutable std::size_t text_reads_ = 0;
};

}  // namespace quillet::forms::win32
