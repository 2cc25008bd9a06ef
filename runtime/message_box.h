// The runtime's one message box. Everything that shows a box (the fatal error box, the
// MessageBox command, the editor's questions) goes through here, so a test can answer it by
// replacing the presenter instead of waiting for a human.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace quillet::runtime {

// Win32 box styles and button identifiers, spelled out so portable code needs no system header.
inline constexpr std::uint32_t kBoxOk = 0x00;
inline constexpr std::uint32_t kBoxYesNoCancel = 0x03;
inline constexpr std::uint32_t kBoxYesNo = 0x04;
inline constexpr std::uint32_t kBoxIconError = 0x10;
inline constexpr std::uint32_t kBoxIconQuestion = 0x20;
inline constexpr std::uint32_t kBoxSystemModal = 0x1000;
inline constexpr std::uint32_t kBoxTaskModal = 0x2000;

inline constexpr int kButtonOk = 1;
inline constexpr int kButtonCancel = 2;
inline constexpr int kButtonAbort = 3;
inline constexpr int kButtonRetry = 4;
inline constexpr int kButtonIgnore = 5;
inline constexpr int kButtonYes = 6;
inline constexpr int kButtonNo = 7;

// Texts are code page 936 bytes. Returns the Win32 identifier of the button pressed.
using MessageBoxPresenter =
    std::function<int(std::string_view text, std::string_view caption, std::uint32_t style,
                      std::uintptr_t owner_handle)>;

int message_box(std::string_view text, std::string_view caption, std::uint32_t style,
                std::uintptr_t owner_handle = 0);

// Replaces the presenter (an empty function restores the system's box); returns the previous one.
MessageBoxPresenter set_message_box_presenter(MessageBoxPresenter presenter);

}  // namespace quillet::runtime
