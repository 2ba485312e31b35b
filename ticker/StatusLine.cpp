// How fresh the list is, told where the user looks: the status line under
// the list ("Güncelleniyor..." while a refresh runs, the failure with the
// time of the last update after one failed, the list's age once it is
// older than half an hour) and the tray icon's tip.
#include <windows.h>
#include <oleacc.h>

#include "app/Globals.h"
#include "ticker/FeedStamp.h"
#include "ticker/Freshness.h"
#include "ticker/MainWindow.h"

namespace {

constexpr UINT BusyText = 301, FailedText = 302, AgeText = 303, MinutesText = 304, HoursText = 305, DaysText = 306,
               YesterdayText = 307, TipText = 308, TickerName = 108;

// The template with %1, %2 put in their places.
std::wstring FillIn(std::wstring text, const std::wstring& first, const std::wstring& second = {}) {
  for (std::size_t at = 0; (at = text.find(L'%', at)) != std::wstring::npos && at + 1 < text.size();) {
    const wchar_t which = text[at + 1];
    if (which != L'1' && which != L'2') {
      ++at;
      continue;
    }
    const std::wstring& value = which == L'1' ? first : second;
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

TClock ClockOf(const SYSTEMTIME& t) { return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute}; }

std::wstring LocaleTime(const SYSTEMTIME& t) {
  wchar_t text[64] = {};
  if (::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, text, 64) == 0) return {};
  return text;
}

std::wstring LocaleDate(const SYSTEMTIME& t) {
  wchar_t text[64] = {};
  if (::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text, 64, nullptr) == 0) return {};
  return text;
}

}  // namespace

std::wstring TMainWindow::WhenText(std::uint64_t utcTicks) {
  FILETIME utc{static_cast<DWORD>(utcTicks), static_cast<DWORD>(utcTicks >> 32)};
  SYSTEMTIME utcTime, then, now;
  if (!::FileTimeToSystemTime(&utc, &utcTime) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &then))
    return {};
  ::GetLocalTime(&now);
  const std::wstring time = LocaleTime(then);
  switch (DayOf(ClockOf(then), ClockOf(now))) {
    case TDayOf::Today: return time;
    case TDayOf::Yesterday: return FillIn(LoadResString(YesterdayText), time);
    case TDayOf::Earlier: break;
  }
  return LocaleDate(then) + L" " + time;
}

std::wstring TMainWindow::StatusLineText() {
  if (busy_) return LoadResString(BusyText);
  if (lastUpdate_ == 0) return {};
  if (updateFailed_) return FillIn(LoadResString(FailedText), WhenText(lastUpdate_));
  const std::uint64_t now = UtcTicksNow();
  const std::uint64_t seconds = now > lastUpdate_ ? (now - lastUpdate_) / TicksPerSecond : 0;
  if (seconds <= StaleAfterSeconds) return {};
  const TAge age = AgeOf(seconds);
  const UINT unit = age.In == TAge::Minutes ? MinutesText : age.In == TAge::Hours ? HoursText : DaysText;
  return FillIn(LoadResString(AgeText), FillIn(LoadResString(unit), std::to_wstring(age.Count)));
}

void TMainWindow::UpdateStatusLine() {
  if (!StatusText) return;
  const std::wstring text = StatusLineText();
  const bool shown = !text.empty();
  const bool appears = shown && !StatusText->Visible();
  const bool renamed = shown && text != StatusText->Data();
  if (renamed) StatusText->SetData(text);
  if (StatusText->Visible() != shown) {
    StatusText->SetVisible(shown);
    NotifyReaders(shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, AccessibleStatusId);
  }
  // A reader speaks a status line that appears or changes.
  if (appears || renamed) NotifyReaders(EVENT_OBJECT_NAMECHANGE, AccessibleStatusId);
  if (TrayIcon) {
    const std::wstring name = LoadResString(TickerName);
    TrayIcon->SetHintText(lastUpdate_ == 0 ? name : FillIn(LoadResString(TipText), name, WhenText(lastUpdate_)));
  }
}
