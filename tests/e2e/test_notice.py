"""New headlines: a balloon when they come while the ticker is not the
active window, none for the first list of a run, with the switch off or
while the user has the ticker in front; marks on the new headlines.

The balloon is read off the shell's own balloon window (winprobe balloon).
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from harness import *  # noqa: E402,F401,F403
from test_links import Traps, referral  # noqa: E402

NIN_BALLOONUSERCLICK = 0x400 + 5
BASE = "http://127.0.0.1/haber"
OLD = [(f"Eski haber {i}", f"{BASE}/eski/{i}", f"Eski özet {i}") for i in range(3)]
NEW = [("Yeni haber: sel uyarısı", f"{BASE}/yeni/1", "Meteoroloji uyardı."),
       ("Yeni haber: yol çalışması", f"{BASE}/yeni/2", "Köprü gece kapalı.")]


def balloon(env):
    """(title, text) of the balloon the shell shows, or None."""
    out = env.wine(env.probe_exe, "balloon").stdout.split("\n")
    return (out[1], out[2]) if out and out[0] == "balloon=1" and len(out) > 2 else None


def red_marks(env, x, y):
    """How many pixels of the list area have the new-headline mark's red."""
    rgb = env.screen_region(x + 30, y + 75, 390, 213)
    return sum(1 for i in range(0, len(rgb) - 2, 3) if rgb[i] > 170 and rgb[i + 1] < 70 and rgb[i + 2] < 90)


def refreshed_with(server, items, before):
    server.feed = news_feed(items)
    wait_for(lambda: len(server.feed_times()) >= before + 2, 30, "a refresh with the new feed")


def test_a_balloon_for_new_headlines_while_elsewhere_and_its_click(env):
    env.fresh_data_folder()
    traps = Traps(env)
    with FeedServer(env.port, news_feed(OLD)) as server, Ticker(env):
        x, y = full_face(env)
        wait_for(lambda: len(server.feed_times()) >= 2, 30, "two refreshes of the first list")
        assert balloon(env) is None, "a balloon for the first list of the run"
        assert red_marks(env, x, y) == 0
        # Somebody else's window is in front.
        env.wine("cmd", "/c", "start", "notepad")
        wait_for(lambda: (lambda tree: tree and not tree[0].has(FOCUSED))(access_tree(env)), 20,
                 "the ticker in the background")
        refreshed_with(server, NEW + OLD, len(server.feed_times()))
        shown = wait_for(lambda: balloon(env), 20, "the balloon")
        print("balloon:", shown)
        assert shown[1] == "Yeni haber: sel uyarısı ve 1 haber daha", shown
        # Wine's balloon does not always give its title back to another process.
        assert shown[0] in ("Son dakika", ""), shown
        # A click on it opens the newest headline, as a click in the list.
        assert env.wine(env.probe_exe, "tray-click", NIN_BALLOONUSERCLICK).returncode == 0
        wait_for(traps.opened, 20, "the browser to get the newest headline")
        assert traps.opened() == [f"{BASE}/yeni/1?ref={referral(env)}"], traps.opened()
    env.wine("taskkill", "/im", "notepad.exe", "/f")


def test_no_balloon_in_front_or_with_the_switch_off_and_the_marks(env):
    env.fresh_data_folder()
    with FeedServer(env.port, news_feed(OLD)) as server, Ticker(env):
        x, y = full_face(env)
        wait_for(lambda: len(server.feed_times()) >= 2, 30, "two refreshes of the first list")
        activate(env, x, y)
        wait_for(lambda: (lambda tree: tree and tree[0].has(FOCUSED))(access_tree(env)), 20, "the ticker in front")
        refreshed_with(server, NEW + OLD, len(server.feed_times()))
        # The user is looking: no balloon, and the new headlines carry marks.
        wait_for(lambda: red_marks(env, x, y) > 20, 20, "the marks of the two new headlines")
        assert balloon(env) is None
    # The switch off in the user's file; everything else as it was.
    options = env.data / "options.ini"
    text = options.read_bytes().decode("utf-16") if options.exists() else "[options]\r\n"
    text = text.replace("notify=1", "notify=0") if "notify=" in text else text.replace(
        "[options]\r\n", "[options]\r\nnotify=0\r\n")
    options.write_bytes(("\ufeff" + text).encode("utf-16-le"))
    assert ini(env).get("notify") == "0", ini(env)
    with FeedServer(env.port, news_feed(NEW + OLD)) as server, Ticker(env):
        x, y = full_face(env)
        env.wine("cmd", "/c", "start", "notepad")
        before = len(server.feed_times())
        refreshed_with(server, [("Üçüncü yeni", f"{BASE}/yeni/3", "Özet.")] + NEW + OLD, before)
        # Switched off: never a balloon, though the ticker is elsewhere.
        deadline = time.monotonic() + 4
        while time.monotonic() < deadline:
            assert balloon(env) is None, "a balloon with the switch off"
    env.wine("taskkill", "/im", "notepad.exe", "/f")


if __name__ == "__main__":
    run([test_a_balloon_for_new_headlines_while_elsewhere_and_its_click,
         test_no_balloon_in_front_or_with_the_switch_off_and_the_marks])
