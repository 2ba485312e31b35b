"""The ticker as a user drives it with the mouse: options panel switches,
the close button, dragging to an edge, and what persists between runs."""
import re
import threading
import time

from harness import FeedServer, Ticker, click, feed, full_face, ini, open_options, point_at, run, wait_for, window_at, xdo

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def window(env):
    info = wait_for(env.probe, 20, "the window")
    return int(info["x"]), int(info["y"])


def run_value(env):
    r = env.wine("reg", "query", RUN_KEY, "/v", "Kavrelo")
    return r.stdout if r.returncode == 0 else None


def tray_host(env):
    r = env.wine(env.probe_exe, "tray")
    if r.returncode != 0 or not r.stdout.startswith("tray=1"):
        return None
    return r.stdout.split("host=")[1].strip()


def brightness(rgb):
    return sum(rgb) / max(len(rgb), 1)


def watch_fade(env, ticker, x, y, frames):
    """Brightness of the list while the window closes, until it is gone."""
    tries = 0
    while ticker.proc.poll() is None and tries < 200:
        tries += 1
        try:
            frames.append(brightness(env.screen_region(x + 30, y + 75, 390, 213)))
        except Exception:  # noqa: BLE001 - a grab can fail while the window goes; try again while it lives
            continue


def shown(env):
    return wait_for(lambda: (env.probe() or {}).get("visible") == "1", 30, "the window on screen")


def test_first_run_defaults_and_startup_switch(env):
    env.fresh_data_folder()
    # An older copy elsewhere left its own path in the Run value.
    env.wine("reg", "add", RUN_KEY, "/v", "Kavrelo", "/t", "REG_SZ", "/d", r'"C:\old\kavrelo.exe"', "/f")
    with FeedServer(env.port, feed(env)), Ticker(env) as ticker:
        shown(env)
        x, y = window(env)
        info = env.probe()
        assert int(info["exstyle"], 16) & 0x8, "always on top by default"
        # The box is ticked on a first run, so the Run value names this copy.
        value = wait_for(lambda: (lambda v: v if v and "old" not in v else None)(run_value(env)), 10,
                         "the Run value of this copy")
        assert re.search(r'REG_SZ\s+"[^"]*\\bin\\kavrelo\.exe"', value, re.I), value
        full_face(env)
        # Options button, then the startup box (the sheet slides to 35+40, 61+20).
        open_options(env, x, y)
        click(env, x + 35 + 40 + 10, y + 61 + 20 + 10)
        wait_for(lambda: ini(env).get("startup") == "0", 10, "startup=0 in options.ini")
        assert run_value(env) is None
        keys = ini(env)
        assert set(keys) == {"left", "top", "alwaystop", "autoscale", "notify", "showtray", "startup"}, keys
        click(env, x + 35 + 40 + 10, y + 61 + 20 + 10)
        wait_for(lambda: ini(env).get("startup") == "1", 10, "startup=1 in options.ini")
        value = wait_for(lambda: run_value(env), 10, "the Run value")
        assert re.search(r'REG_SZ\s+"[^"]*kavrelo\.exe"', value, re.I), value
        # Always-on-top off, live.
        click(env, x + 35 + 40 + 10, y + 61 + 48 + 10)
        wait_for(lambda: ini(env).get("alwaystop") == "0", 10, "alwaystop=0")
        assert not int(env.probe()["exstyle"], 16) & 0x8
        # The close button fades out and ends the process, taking its tray
        # icon along and leaving the switches saved.
        host = wait_for(lambda: tray_host(env), 30, "the tray icon")
        bright = brightness(env.screen_region(x + 30, y + 75, 390, 213))
        point_at(env, x + 426 + 10, y + 25 + 10)
        # Watching before the click: the fade is over in well under a second.
        frames = []
        watcher = threading.Thread(target=lambda: watch_fade(env, ticker, x, y, frames), daemon=True)
        watcher.start()
        xdo(env, "click", 1)
        assert ticker.exit_code(20) == 0
        watcher.join(20)
        assert any(0.05 * bright < f < 0.9 * bright for f in frames), \
            f"no frame between shown and gone: {[round(f / bright, 2) for f in frames]}"
        r = env.wine(env.probe_exe, "tray", host)
        assert r.stdout.startswith("tray=0"), f"the icon outlived the window: {r.stdout}"
    saved = ini(env)
    assert (saved.get("startup"), saved.get("alwaystop"), saved.get("showtray")) == ("1", "0", "1"), saved
    env.wine("reg", "delete", RUN_KEY, "/v", "Kavrelo", "/f")


def test_dragged_position_snaps_and_persists(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)), Ticker(env) as ticker:
        x, y = full_face(env)
        # Drag by the header, ending 5 pixels from the screen's left edge.
        xdo(env, "mousemove", x + 200, y + 40)
        xdo(env, "mousedown", 1)
        for step in range(1, 11):
            xdo(env, "mousemove", x + 200 - (x - 5) * step // 10, y + 40 - 100 * step // 10)
            time.sleep(0.05)  # the pace of a hand, not a wait
        xdo(env, "mouseup", 1)
        # Snapped to the left edge, 100 pixels up.
        window_at(env, 0, y - 100)
        assert env.post(37683)
        assert ticker.exit_code(20) == 0
    saved = ini(env)
    assert saved.get("left") == "0" and saved.get("top") == str(y - 100), saved
    with FeedServer(env.port, feed(env)), Ticker(env):
        shown(env)
        assert window(env) == (0, y - 100)


if __name__ == "__main__":
    run([test_first_run_defaults_and_startup_switch, test_dragged_position_snaps_and_persists])
