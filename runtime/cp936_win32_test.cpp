// The codec against the system's own code page 936 under a real Windows API.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/cp936.h"
#include "runtime/win32_text.h"

namespace quillet::runtime {
namespace {

const Cp936Codec& codec() { return Cp936Codec::system(); }

std::wstring system_decode(const std::string& bytes) {
  std::wstring wide(bytes.size() + 1, L'\0');
  const int made = MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                                       static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(made));
  return wide;
}

std::string system_encode(const std::wstring& wide) {
  std::string bytes(wide.size() * 2 + 1, '\0');
  const int made = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                                       static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(made));
  return bytes;
}

TEST(Cp936Codec, EveryValidPairMapsAsTheSystemMapsIt) {
  int valid = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t unit = 0;
      if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, pair, 2, &unit, 1) != 1) continue;
      ++valid;
      const std::string bytes(pair, 2);
      ASSERT_EQ(win32::widen(bytes), std::wstring(1, unit)) << std::hex << lead << " " << trail;
      ASSERT_EQ(win32::narrow(std::wstring(1, unit)), system_encode(std::wstring(1, unit)))
          << std::hex << lead << " " << trail;
    }
  }
  EXPECT_GE(valid, 21886);  // GBK's characters, whatever the user-defined areas add
  EXPECT_TRUE(codec().reserved_range_is_free());
}

TEST(Cp936Codec, TextsAgreeWithTheSystemWhereTheSystemIsLossless) {
  const std::string text = "a\xD6\xD0\xCE\xC4\r\n\xA3\xC1\xA1\xA1~";  // a中文 CRLF Ａ　~
  EXPECT_EQ(win32::widen(text), system_decode(text));
  EXPECT_EQ(win32::narrow(system_decode(text)), text);
}

TEST(Cp936Codec, InvalidBytesSurviveTheRoundTrip) {
  const std::string cases[] = {
      std::string("\x61\xB0\x0D\x0A\x62"),  // a lead byte before CR
      std::string("\x80"),                  // alone
      std::string("\xFF\x41"),
      std::string("ab\xB0"),                // a lead byte at the end
      std::string("\x81\x7F\xFE\xFF\xA1"),
  };
  for (const std::string& bytes : cases) {
    const std::wstring wide = win32::widen(bytes);
    EXPECT_EQ(win32::narrow(wide), bytes);
  }
  // The CR after the stray lead byte stays a CR (the system's ANSI path would eat it).
  EXPECT_EQ(win32::widen("\x61\xB0\x0D\x0A\x62")[2], L'\r');
}

TEST(Cp936Codec, EveryByteStringOfTwoOrThreeBytesRoundTrips) {
  for (unsigned a = 1; a < 256; ++a) {
    for (unsigned b = 1; b < 256; b += (b < 0x7F ? 13 : 1)) {
      const std::string bytes = {static_cast<char>(a), static_cast<char>(b), static_cast<char>(a ^ 0x80 ? a ^ 0x80 : 1)};
      ASSERT_EQ(win32::narrow(win32::widen(bytes)), bytes) << std::hex << a << " " << b;
    }
  }
}

TEST(Cp936Codec, UnitsWithoutACharacterBecomeQuestionMarks) {
  EXPECT_EQ(win32::narrow(L"x\U0001F600y"), "x??y");  // a surrogate pair: two units, no character
}

}  // namespace
}  // namespace quillet::runtime
