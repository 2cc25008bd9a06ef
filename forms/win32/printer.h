// printer: prints text as lines, page by page, on a printer chosen in the system's print
// dialog or on the default printer. It has no window of its own; while a job runs a progress
// window (class _QF_Printer) shows the document, the printer and the page.
//
// Properties (k = number - 8): 0 paper, 1 orientation, 2 copies, 3-6 margins left, top, right,
// bottom (hundredths of a millimetre from the paper's edge), 7 first and 8 last page (-1: no
// page range offered), 9 collate, 10 selection (-1: not offered), 11 document name, 12 font.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

using UniqueDc = runtime::win32::UniqueWin32<HDC, DeleteDC>;

class Printer : public TableControl<Printer> {
 public:
  using TableControl::TableControl;
  ~Printer() override;
  static std::span<const PropertyRow<Printer>> properties();
  PrinterProperties& stored() { return stored_; }
  const PrinterProperties& stored() const { return stored_; }
  bool create() override;

  // Starts a job: the print dialog (or, with use_dialog false, the default printer), the
  // "print to file" question when the user chose it, the progress window unless show_progress
  // is false, the document and its first page. False when cancelled or refused, or when a job
  // of this unit is already running.
  bool start(bool use_dialog, bool show_progress);
  // Each text is cut into lines at CR, LF and CR LF and printed line under line; a line that
  // would pass the printable height starts a new page (unless it is at the top already).
  void print_lines(const std::vector<std::string>& texts);
  void end();

  bool printing() const { return dc_ ? true : false; }
  // While a job runs: the height lines may fill on a page, and how far a line advances the
  // position (its height in the job's font, plus the gap), in device units.
  int printable_height() const { return printable_height_; }
  int line_advance(std::string_view line) const;
  int page() const { return page_; }
  HWND progress_window() const { return progress_; }
  void cancel() { cancelled_ = true; }

 private:
  void print_line(std::wstring_view line);
  int line_height(std::wstring_view line) const;
  void new_page();
  void close_progress();
  void pump_progress();

  PrinterProperties stored_;
  UniqueDc dc_;
  UniqueFont font_;
  HWND progress_ = nullptr;
  std::wstring progress_lines_[2];
  bool page_open_ = false;
  bool cancelled_ = false;
  int page_ = 0;
  int x_ = 0, y_ = 0;
  int left_ = 0, top_ = 0, printable_height_ = 0;

  friend LRESULT CALLBACK progress_procedure(HWND, UINT, WPARAM, LPARAM);
};

// The text lines of a value as printing cuts them: at every CR, LF and CR LF; a final line
// break ends the last line rather than starting an empty one; an empty text is one empty line.
std::vector<std::wstring_view> print_lines_of(std::wstring_view text);

// Every job writes to this file instead of the printer's port while it is set; tests use it
// so that no output leaves the machine. Empty: the port.
void set_print_output_file(std::string file);

}  // namespace quillet::forms::win32
