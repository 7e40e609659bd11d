// Conversion between UTF-16 and 8-bit code pages, code page support, locale
// comparison. Code page 0 is the system code page.
#pragma once

#include <cstdint>
#include <string>

namespace sv {

// UTF-16 to 8-bit text in codePage. Embedded U+0000 pass through one for one.
std::string WideToAnsi(const std::u16string& text, int codePage);
// 8-bit text in codePage to UTF-16. Embedded 0 bytes pass through one for one.
std::u16string AnsiToWide(const std::string& text, int codePage);

// Fills the support flags of the code page table. Run once at program start.
void InitCodePageSupport();
// Closes the converters and collators at program end.
void FinishCodePageSupport();
bool IsCodePageInstalled(int codePage);
int DefaultAnsiCodePageOfLocale(std::uint32_t locale);

// -1, 0 or +1; CompareAnsiText answers -2 on failure, CompareWideText raises.
int CompareAnsiText(const std::string& s1, const std::string& s2, std::uint32_t locale,
                    bool ignoreCase);
int CompareWideText(const std::u16string& s1, const std::u16string& s2, std::uint32_t locale,
                    bool ignoreCase);

// This platform is of the Unicode-capable family.
bool IsWindowsNT();

// The program's own path, from the process command line.
std::string ProgramPath();

} // namespace sv
