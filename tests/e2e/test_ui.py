"""The ticker as a user drives it with the mouse: options panel switches,
the close button, dragging to an edge, and what persists between runs."""
import re
import subprocess
import time

from harness import FeedServer, Ticker, run, wait_for

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def feed(env):
    return (env.source / "tools" / "demo" / "sondakika.rss").read_bytes()


def xdo(env, *args):
    display = re.search(r"DISPLAY='([^']*)'", subprocess.run(
        [str(env.wine_run), str(env.build), "--env"], capture_output=True, text=True).stdout).group(1)
    subprocess.run(["xdotool", *map(str, args)], env={"DISPLAY": display, "PATH": "/usr/bin:/bin"},
                   check=True, timeout=20)


def click(env, x, y):
    xdo(env, "mousemove", x, y)
    time.sleep(0.2)
    xdo(env, "click", 1)
    time.sleep(0.5)


def window(env):
    info = wait_for(env.probe, 20, "the window")
    return int(info["x"]), int(info["y"])


def run_value(env):
    r = env.wine("reg", "query", RUN_KEY, "/v", "Kavrelo")
    return r.stdout if r.returncode == 0 else None


def ini(env):
    path = env.data / "options.ini"
    if not path.exists():
        return {}
    text = path.read_bytes().decode("utf-16")
    return dict(line.split("=", 1) for line in text.split("\r\n") if "=" in line)


def shown(env):
    return wait_for(lambda: (env.probe() or {}).get("visible") == "1", 30, "the window on screen")


def test_first_run_defaults_and_startup_switch(env):
    env.fresh_data_folder()
    env.wine("reg", "delete", RUN_KEY, "/v", "Kavrelo", "/f")
    with FeedServer(env.port, feed(env)), Ticker(env) as ticker:
        shown(env)
        x, y = window(env)
        info = env.probe()
        assert int(info["exstyle"], 16) & 0x8, "always on top by default"
        time.sleep(1.5)  # fade-in
        # Options button, then the startup box (the sheet slides to 35+40, 61+20).
        click(env, x + 401 + 10, y + 25 + 10)
        time.sleep(1)
        click(env, x + 35 + 40 + 10, y + 61 + 20 + 10)
        wait_for(lambda: ini(env).get("startup") == "0", 10, "startup=0 in options.ini")
        assert run_value(env) is None
        keys = ini(env)
        assert set(keys) == {"left", "top", "alwaystop", "autoscale", "showtray", "startup"}, keys
        click(env, x + 35 + 40 + 10, y + 61 + 20 + 10)
        wait_for(lambda: ini(env).get("startup") == "1", 10, "startup=1 in options.ini")
        value = wait_for(lambda: run_value(env), 10, "the Run value")
        assert re.search(r'REG_SZ\s+"[^"]*kavrelo\.exe"', value, re.I), value
        # Always-on-top off, live.
        click(env, x + 35 + 40 + 10, y + 61 + 48 + 10)
        wait_for(lambda: ini(env).get("alwaystop") == "0", 10, "alwaystop=0")
        assert not int(env.probe()["exstyle"], 16) & 0x8
        # The close button fades out and ends the process.
        click(env, x + 426 + 10, y + 25 + 10)
        assert ticker.exit_code(20) == 0
    env.wine("reg", "delete", RUN_KEY, "/v", "Kavrelo", "/f")


def test_dragged_position_snaps_and_persists(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)), Ticker(env) as ticker:
        shown(env)
        x, y = window(env)
        time.sleep(1.5)
        # Drag by the header, ending 5 pixels from the screen's left edge.
        xdo(env, "mousemove", x + 200, y + 40)
        xdo(env, "mousedown", 1)
        for step in range(1, 11):
            xdo(env, "mousemove", x + 200 - (x - 5) * step // 10, y + 40 - 100 * step // 10)
            time.sleep(0.05)
        xdo(env, "mouseup", 1)
        time.sleep(1)
        nx, ny = window(env)
        assert nx == 0, f"not snapped to the left edge: {nx}"
        assert ny == y - 100
        assert env.post(37683)
        assert ticker.exit_code(20) == 0
    saved = ini(env)
    assert saved.get("left") == "0" and saved.get("top") == str(y - 100), saved
    with FeedServer(env.port, feed(env)), Ticker(env):
        shown(env)
        assert window(env) == (0, y - 100)


if __name__ == "__main__":
    run([test_first_run_defaults_and_startup_switch, test_dragged_position_snaps_and_persists])
