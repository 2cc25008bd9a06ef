// The type-specific property blocks of the stored units. Each block starts with a version
// word; the fields follow in a fixed order, some only from a given version on. A reader
// refuses a version higher than it knows (the unit is then not created), takes an empty block
// as "every property at its default", and ignores bytes after the last field.
//
// Each type lists its fields once, in visit(), which serves both reading and writing. Texts are
// code page 936; a font is a counted blob holding nothing (the default GUI font) or a 60-byte
// Win32 logical font; colours are COLORREF words, 0xFF000000 being the button-face colour.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/byte_io.h"

namespace quillet::forms {

inline constexpr std::uint32_t kButtonFace = 0xFF000000;

struct EditBoxProperties {
  static constexpr std::uint32_t kVersion = 2;
  std::uint32_t border = 1;
  std::uint32_t text_colour = 0x000000;
  std::uint32_t background_colour = 0xFFFFFF;
  std::uint32_t hide_selection = 1;
  std::int32_t maximum_length = 0;
  std::uint32_t multi_line = 0;
  std::uint32_t scroll_bars = 0;
  std::uint32_t alignment = 0;
  std::uint32_t input_mode = 0;
  std::uint16_t password_character = '*';
  std::uint32_t case_conversion = 0;
  std::uint32_t adjuster = 0;
  std::int32_t adjuster_minimum = 0;
  std::int32_t adjuster_maximum = 100;
  std::int32_t selection_start = 0;
  std::int32_t selection_length = 0;
  std::string font;
  std::string content;
  std::string binding_names[2];

  template <class Io>
  void visit(Io& io, std::uint32_t version) {
    io(border), io(text_colour), io(background_colour), io(hide_selection), io(maximum_length), io(multi_line);
    io(scroll_bars), io(alignment), io(input_mode), io.half(password_character), io(case_conversion), io(adjuster);
    io(adjuster_minimum), io(adjuster_maximum), io(selection_start), io(selection_length), io.counted(font);
    io.counted(content);
    if (version >= 2) io.counted(binding_names[0]), io.counted(binding_names[1]);
  }
};

struct ButtonProperties {
  static constexpr std::uint32_t kVersion = 1;
  std::uint32_t default_button = 0;
  std::uint32_t horizontal_alignment = 1;
  std::uint32_t vertical_alignment = 1;
  std::string picture;
  std::string font;
  std::string caption;

  template <class Io>
  void visit(Io& io, std::uint32_t) {
    io(default_button), io(horizontal_alignment), io(vertical_alignment), io.counted(picture), io.counted(font);
    io.counted(caption);
  }
};

// CheckBox (version 2) and RadioBox (version 1) share one layout.
struct CheckBoxProperties {
  static constexpr std::uint32_t kVersion = 2;
  static constexpr std::uint32_t kRadioVersion = 1;
  std::uint32_t push_like = 0;
  std::uint32_t flat = 0;
  std::uint32_t text_on_left = 0;
  std::uint32_t horizontal_alignment = 0;
  std::uint32_t vertical_alignment = 1;
  std::uint32_t text_colour = 0x000000;
  std::uint32_t background_colour = kButtonFace;
  std::uint32_t checked = 0;
  std::string picture;
  std::string font;
  std::string caption;
  std::string binding_names[2];

  template <class Io>
  void visit(Io& io, std::uint32_t version) {
    io(push_like), io(flat), io(text_on_left), io(horizontal_alignment), io(vertical_alignment), io(text_colour);
    io(background_colour), io(checked), io.counted(picture), io.counted(font), io.counted(caption);
    if (version >= 2) io.counted(binding_names[0]), io.counted(binding_names[1]);
  }
};

struct GroupBoxProperties {
  static constexpr std::uint32_t kVersion = 1;
  std::uint32_t alignment = 0;
  std::uint32_t text_colour = 0x000000;
  std::uint32_t background_colour = kButtonFace;
  std::string font;
  std::string caption;

  template <class Io>
  void visit(Io& io, std::uint32_t) {
    io(alignment), io(text_colour), io(background_colour), io.counted(font), io.counted(caption);
  }
};

// The label's drawing options are kept as the words they are stored as.
struct LabelProperties {
  static constexpr std::uint32_t kVersion = 2;
  std::uint32_t drawing_words[16] = {};
  std::string font;
  std::string second_blob;
  std::string caption;
  std::string binding_names[2];

  template <class Io>
  void visit(Io& io, std::uint32_t version) {
    for (std::uint32_t& word : drawing_words) io(word);
    io.counted(font), io.counted(second_blob), io.counted(caption);
    if (version >= 2) io.counted(binding_names[0]), io.counted(binding_names[1]);
  }
};

struct PicBoxProperties {
  static constexpr std::uint32_t kVersion = 2;
  std::uint32_t words[4] = {0, kButtonFace, 0, 0};  // the second is the background colour
  std::string picture;
  std::string binding_names[2];

  template <class Io>
  void visit(Io& io, std::uint32_t version) {
    for (std::uint32_t& word : words) io(word);
    io.counted(picture);
    if (version >= 2) io.counted(binding_names[0]), io.counted(binding_names[1]);
  }
};

struct WindowProperties {
  static constexpr std::uint32_t kVersion = 6;
  std::uint32_t border = 2;
  std::uint32_t picture_layout = 0;
  std::uint32_t background_colour = kButtonFace;
  std::uint32_t maximise_box = 1;
  std::uint32_t minimise_box = 1;
  std::uint32_t third_word = 0;
  std::uint32_t start_position = 0;  // 1 centred, 2 minimised, 3 maximised
  std::uint32_t fifth_word = 0;
  std::uint32_t further_words[5] = {};
  std::uint32_t version_words[5] = {};  // one from version 2, two from 3, one from 4, one from 5
  std::string version6_text;
  std::string background_picture;
  std::string icon;
  std::string third_blob;
  std::string title;
  std::string last_text;

  template <class Io>
  void visit(Io& io, std::uint32_t version) {
    io(border), io(picture_layout), io(background_colour), io(maximise_box), io(minimise_box), io(third_word);
    io(start_position), io(fifth_word);
    for (std::uint32_t& word : further_words) io(word);
    if (version >= 2) io(version_words[0]);
    if (version >= 3) io(version_words[1]), io(version_words[2]);
    if (version >= 4) io(version_words[3]);
    if (version >= 5) io(version_words[4]);
    if (version >= 6) io.counted(version6_text);
    io.counted(background_picture), io.counted(icon), io.counted(third_blob), io.counted(title);
    io.counted(last_text);
  }
};

struct CommonDlgProperties {
  static constexpr std::uint32_t kVersion = 1;
  std::uint32_t kind = 0;  // 0 open, 1 save, 2 font, 3 help
  std::uint32_t filter_index = 0;
  std::uint32_t create_prompt = 0, file_must_exist = 0, overwrite_prompt = 0, path_must_exist = 0;
  std::uint32_t keep_current_folder = 0;
  std::uint32_t colour = 0;
  std::uint32_t bold = 0, italic = 0, underline = 0, strike_out = 0;
  std::uint32_t font_size = 0;
  std::uint32_t word28 = 0, word29 = 0;
  std::string title, file_name, filter, initial_folder, default_extension, font_name, text27;

  template <class Io>
  void visit(Io& io, std::uint32_t) {
    io(kind), io(filter_index), io(create_prompt), io(file_must_exist), io(overwrite_prompt), io(path_must_exist);
    io(keep_current_folder), io(colour), io(bold), io(italic), io(underline), io(strike_out), io(font_size);
    io(word28), io(word29);
    io.counted(title), io.counted(file_name), io.counted(filter), io.counted(initial_folder);
    io.counted(default_extension), io.counted(font_name), io.counted(text27);
  }
};

// The printer's settings; margins in hundredths of a millimetre.
struct PrinterProperties {
  static constexpr std::uint32_t kVersion = 1;
  std::uint32_t paper = 0;
  std::uint32_t orientation = 0;  // 0 portrait, 1 landscape
  std::uint32_t copies = 1;
  std::uint32_t margins[4] = {200, 200, 200, 200};  // left, top, right, bottom
  std::int32_t first_page = -1;
  std::int32_t last_page = -1;
  std::int32_t collate = 0;
  std::int32_t selection = -1;
  std::string document_name;
  std::string font;

  template <class Io>
  void visit(Io& io, std::uint32_t) {
    io(paper), io(orientation), io(copies);
    for (std::uint32_t& margin : margins) io(margin);
    io(first_page), io(last_page), io(collate), io(selection), io.counted(document_name), io.counted(font);
  }
};

namespace detail {

struct PropertyReader {
  ByteReader& in;
  void operator()(std::uint32_t& word) { word = in.word(); }
  void operator()(std::int32_t& word) { word = in.signed_word(); }
  void half(std::uint16_t& value) { value = in.half_word(); }
  void counted(std::string& text) { text = in.counted(); }
};

struct PropertyWriter {
  ByteWriter& out;
  void operator()(std::uint32_t word) { out.word(word); }
  void operator()(std::int32_t word) { out.signed_word(word); }
  void half(std::uint16_t value) { out.half_word(value); }
  void counted(const std::string& text) { out.counted(text); }
};

}  // namespace detail

// Null for a version above max_version or a block that ends inside a field.
template <class Properties>
std::optional<Properties> decode_properties(std::string_view block, std::uint32_t max_version = Properties::kVersion) {
  Properties properties;
  if (block.empty()) return properties;
  ByteReader in(block);
  const std::uint32_t version = in.word();
  if (version > max_version) return std::nullopt;
  detail::PropertyReader reader{in};
  properties.visit(reader, version);
  if (in.failed()) return std::nullopt;
  return properties;  // anything after the last field is ignored
}

template <class Properties>
std::string encode_properties(Properties properties, std::uint32_t version = Properties::kVersion) {
  ByteWriter out;
  out.word(version);
  detail::PropertyWriter writer{out};
  properties.visit(writer, version);
  return out.take();
}

}  // namespace quillet::forms
