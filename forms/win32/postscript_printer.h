// Test support: Wine has no printer. This makes a print-to-file PostScript printer (Wine's
// PostScript driver with winspool's built-in fallback PPD) the default printer, once per test
// program, and counts the pages of a job's output. Only under Wine: on Windows it would change the
// user's default printer, so the print tests skip themselves there.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/win32/wine_only.h"

namespace quillet::forms::win32 {

inline bool make_postscript_printer() {
  static const bool made = [] {
    if (!running_under_wine()) return false;
    HMODULE spooler = LoadLibraryW(L"winspool.drv");
    HRSRC resource = FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE");
    if (resource == nullptr) return false;
    const auto* ppd = static_cast<const char*>(LockResource(LoadResource(spooler, resource)));
    const DWORD ppd_size = SizeofResource(spooler, resource);
    char folder[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed);
    std::ofstream(std::string(folder) + "\\generic.ppd", std::ios::binary).write(ppd, ppd_size);
    char driver_name[] = "Wine PostScript Driver", driver_path[] = "wineps.drv", data_file[] = "generic.ppd";
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = driver_name;
    driver.pDriverPath = driver_path;
    driver.pDataFile = data_file;
    driver.pConfigFile = driver_path;
    AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES);
    char printer_name[] = "Quillet Test PS", port[] = "FILE:", processor[] = "WinPrint", data_type[] = "RAW";
    PRINTER_INFO_2A printer{};
    printer.pDatatype = data_type;
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    printer.pPrinterName = printer_name;
    printer.pPortName = port;
    printer.pDriverName = driver_name;
    printer.pPrintProcessor = processor;
    if (HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer))) ClosePrinter(added);
    return SetDefaultPrinterA(printer_name) != FALSE;
  }();
  return made;
}

// The pages of a PostScript file: its "%%Page:" comments.
inline int postscript_pages(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int count = 0;
  for (std::size_t at = output.find("%%Page:"); at != std::string::npos; at = output.find("%%Page:", at + 1)) ++count;
  return count;
}

}  // namespace quillet::forms::win32
