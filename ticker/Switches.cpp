#include "ticker/Switches.h"

#include "app/Globals.h"
#include "ticker/MainWindow.h"
#include "ticker/Registry.h"

const TSwitch Switches[] = {
    // Registry failures leave the box and the file as they are.
    // Not offered, autostart is off (and a value left from before goes).
    {u"startup", true, 104, [](TMainWindow&, bool on) { SetAutoStart(on && AutoStartOffered); }, true, false},
    {u"alwaystop", true, 105, [](TMainWindow& ticker, bool on) { ticker.SetAlwaysTop(on); }, false, true},
    {u"showtray", true, 106, [](TMainWindow& ticker, bool on) { ticker.ShowTrayIcon(on); }, false, true},
    {u"autoscale", true, 107, [](TMainWindow& ticker, bool on) { ticker.AutoScaleOn = on; }, false, true},
    {u"notify", true, 111, [](TMainWindow& ticker, bool on) { ticker.NotifyOn = on; }, false, true},
};

const std::size_t SwitchCount = sizeof(Switches) / sizeof(Switches[0]);

const TSwitch* FindSwitch(std::u16string_view key) {
  for (std::size_t i = 0; i < SwitchCount; ++i)
    if (key == Switches[i].Key) return &Switches[i];
  return nullptr;
}
