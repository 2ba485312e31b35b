#include "ticker/Options.h"

#include "app/Globals.h"
#include "settings/windows/WindowsFileAccess.h"

namespace {

constexpr int WindowWidth = 475;
constexpr int WindowHeight = 350;

constexpr char16_t General[] = u"general";
constexpr char16_t OptionsSection[] = u"options";

}  // namespace

RECT CurrentWorkArea() {
  RECT area{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    area.right = ::GetSystemMetrics(SM_CXSCREEN);
    area.bottom = ::GetSystemMetrics(SM_CYSCREEN);
  }
  return area;
}

TOptions::TOptions(const std::wstring& fileName) : TOptions(fileName, CurrentWorkArea(), WindowsFiles()) {}

TOptions::TOptions(const std::wstring& fileName, const RECT& workArea, const TWFileAccess& files)
    : TWMemIniFile(FromWide(fileName), files),
      // Integer division truncates toward zero, also for a work area smaller
      // than the window.
      DefaultTop((workArea.bottom - workArea.top - WindowHeight) / 2),
      DefaultLeft((workArea.right - workArea.left - WindowWidth) / 2) {}

std::int32_t TOptions::Left() const { return ReadInteger(General, u"left", DefaultLeft); }
void TOptions::WriteLeft(std::int32_t value) { WriteInteger(General, u"left", value); }
std::int32_t TOptions::Top() const { return ReadInteger(General, u"top", DefaultTop); }
void TOptions::WriteTop(std::int32_t value) { WriteInteger(General, u"top", value); }

int TOptions::TextSize() const {
  const std::int32_t percent = ReadInteger(OptionsSection, u"textsize", 100);
  return percent >= 100 && percent <= 200 && percent % 25 == 0 ? percent : 100;
}
void TOptions::WriteTextSize(int percent) {
  // The usual size is not written into a file that never had another.
  constexpr std::u16string_view Absent = u"\u0001";
  if (percent == 100 && ReadString(OptionsSection, u"textsize", Absent) == Absent) return;
  WriteInteger(OptionsSection, u"textsize", percent);
}

bool TOptions::Switch(const TSwitch& option) const {
  return ReadBool(OptionsSection, option.Key, PortableCopy ? option.PortableDefault : option.Default);
}
void TOptions::WriteSwitch(const TSwitch& option, bool value) { WriteBool(OptionsSection, option.Key, value); }
