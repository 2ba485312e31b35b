"""The ticker on a desktop that changes under it: log-offs that are
cancelled or go through, an options file locked by another program, a
monitor that is gone, Explorer restarting, and dragging by the logo."""
import subprocess
import time

from harness import FeedServer, Ticker, click, feed, full_face, ini, open_options, run, wait_for, window_at, xdo

WM_QUERYENDSESSION = 17
WM_ENDSESSION = 22
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def write_ini(env, general, options):
    env.data.mkdir(parents=True, exist_ok=True)
    lines = ["[general]"] + [f"{k}={v}" for k, v in general.items()] + [""]
    lines += ["[options]"] + [f"{k}={v}" for k, v in options.items()] + [""]
    (env.data / "options.ini").write_bytes(b"\xff\xfe" + "\r\n".join(lines + [""]).encode("utf-16-le"))


def tray(env):
    r = env.wine(env.probe_exe, "tray")
    return r.stdout.split()[0] if r.returncode == 0 else None


def box(x, y, index):
    """Screen point of option switch `index` (startup, on top, tray, auto-size)."""
    return x + 35 + 40 + 10, y + 61 + 20 + 28 * index + 10


def test_cancelled_log_off_keeps_the_ticker_working(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)) as server, Ticker(env) as ticker:
        x, y = full_face(env)
        wait_for(lambda: tray(env) == "tray=1", 30, "the tray icon")
        assert env.post(WM_QUERYENDSESSION)
        # The options are on disk in case the system ends us without a word.
        wait_for(lambda: ini(env).get("showtray") == "1", 10, "options saved at the question")
        assert env.post(WM_ENDSESSION, 0)  # the user cancelled
        count = len(server.feed_requests())
        wait_for(lambda: len(server.feed_requests()) > count, env.refresh * 2 + 10, "a refresh after the cancel")
        assert tray(env) == "tray=1"
        open_options(env, x, y)
        click(env, *box(x, y, 3))
        wait_for(lambda: ini(env).get("autoscale") == "0", 10, "a switch saved after the cancel")
        assert ticker.proc.poll() is None


def test_log_off_saves_and_ends_the_process(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)), Ticker(env) as ticker:
        x, y = full_face(env)
        open_options(env, x, y)
        click(env, *box(x, y, 1))  # always on top off
        wait_for(lambda: ini(env).get("alwaystop") == "0", 10, "the switch saved")
        (env.data / "options.ini").unlink()
        assert env.post(WM_QUERYENDSESSION)
        assert env.post(WM_ENDSESSION, 1)
        assert ticker.exit_code(15) == 0
    saved = ini(env)
    assert saved.get("alwaystop") == "0" and saved.get("showtray") == "1", saved


def test_locked_options_file_is_not_written_over(env):
    env.fresh_data_folder()
    write_ini(env, {"left": 100, "top": 120},
              {"alwaystop": 0, "autoscale": 0, "notify": 0, "showtray": 1, "startup": 0})
    before = ini(env)
    path = env.data / "options.ini"
    marker = env.data / "options.ini.held"
    holder = subprocess.Popen([str(env.wine_run), str(env.build), str(env.probe_exe), "hold",
                               "Z:" + str(path).replace("/", "\\"), "8000"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for(marker.exists, 20, "the helper holding options.ini")
        with FeedServer(env.port, feed(env)), Ticker(env) as ticker:
            x, y = full_face(env)
            assert (x, y) != (100, 120), "options.ini was read although it was held"
            open_options(env, x, y)
            wait_for(lambda: not marker.exists(), 20, "the helper letting go")
            holder.wait(10)
            # The tray switch shows the default (on); the click turns it off.
            click(env, *box(x, y, 2))
            wait_for(lambda: ini(env).get("showtray") == "0", 10, "the click saved")
            assert env.post(37683)
            assert ticker.exit_code(20) == 0
        after = ini(env)
        assert after == {**before, "showtray": "0"}, after
    finally:
        if holder.poll() is None:
            holder.kill()


def test_position_off_every_monitor_opens_on_screen(env):
    env.fresh_data_folder()
    write_ini(env, {"left": -5000, "top": 4000}, {"autoscale": 0})
    with FeedServer(env.port, feed(env)), Ticker(env):
        x, y = full_face(env)
        assert (x, y) == (0, 1024 - 350), (x, y)  # the bottom-left corner of the 1280 x 1024 screen


def test_explorer_restart_brings_the_tray_icon_back(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)), Ticker(env):
        full_face(env)
        wait_for(lambda: tray(env) == "tray=1", 30, "the tray icon")
        assert env.wine(env.probe_exe, "tray-drop").returncode == 0
        wait_for(lambda: tray(env) == "tray=0", 10, "the icon gone with Explorer")
        assert env.wine(env.probe_exe, "taskbar-created").returncode == 0
        wait_for(lambda: tray(env) == "tray=1", 10, "the icon back")


def test_dragging_by_the_logo_moves_the_window(env):
    env.fresh_data_folder()
    write_ini(env, {"left": 300, "top": 300}, {"autoscale": 0})
    with FeedServer(env.port, feed(env)), Ticker(env):
        x, y = full_face(env)
        xdo(env, "mousemove", x + 20 + 10, y + 22 + 10)
        xdo(env, "mousedown", 1)
        for step in range(1, 11):
            xdo(env, "mousemove", x + 30 + 10 * step, y + 32 + 8 * step)
            time.sleep(0.05)  # the pace of a hand, not a wait
        xdo(env, "mouseup", 1)
        window_at(env, x + 100, y + 80)


if __name__ == "__main__":
    run([
        test_cancelled_log_off_keeps_the_ticker_working,
        test_log_off_saves_and_ends_the_process,
        test_locked_options_file_is_not_written_over,
        test_position_off_every_monitor_opens_on_screen,
        test_explorer_restart_brings_the_tray_icon_back,
        test_dragging_by_the_logo_moves_the_window,
    ])
