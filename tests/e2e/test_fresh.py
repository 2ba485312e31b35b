"""How fresh the headlines are, told to the user, and how soon the ticker
catches up: the status line after a failed update and for an old saved
list, the back-off after network failures, a wake from sleep.

The test build refreshes every 4 s, so the back-off's 30 s, 60 s, 120 s...
of the real five-minute period are 0.4 s, 0.8 s, 1.6 s... here.
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from harness import *  # noqa: E402,F401,F403

WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC = 0x218, 18
STATUS = (30, 296, 230, 18)  # the status line beside the busy indicator, in the window


def status(env):
    """The status line as a screen reader reads it: (text, shown), or None."""
    tree = access_tree(env)
    if not tree:
        return None
    line = [n for n in children(tree, tree[0]) if n.role == ROLE_STATICTEXT]
    return (line[0].name, not line[0].has(INVISIBLE)) if line else None


def tray_tip(env):
    """The tip the shell shows over the ticker's notification icon, or None."""
    out = env.wine(env.probe_exe, "tips").stdout.split("\n")
    tips = [line[len("tip="):] for line in out if line.startswith("tip=Kavrelo")]
    return tips[0] if tips else None


def status_pixels(env, x, y):
    return env.screen_region(x + STATUS[0], y + STATUS[1], STATUS[2], STATUS[3])


def gaps(times):
    return [round(b - a, 2) for a, b in zip(times, times[1:])]


def exchanges(times):
    """The starts of the ticker's exchanges: WinInet sends a request again
    at once when a kept-alive connection turns out closed, so requests
    closer than 0.15 s are one exchange."""
    starts = []
    for t in times:
        if not starts or t - last > 0.15:
            starts.append(t)
        last = t
    return starts


def test_a_failed_update_is_told_and_retried_soon_then_cleared(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)) as server, Ticker(env):
        x, y = full_face(env)
        wait_for(lambda: (lambda s: s and not s[1])(status(env)), 30, "a good update, the status line quiet")
        quiet = steady(lambda: status_pixels(env, x, y), "the footer at rest")
        # The connection goes down: every request is dropped without a reply.
        server.mode = "close"
        seen = len(server.feed_times())
        failed = wait_for(lambda: (lambda s: s if s and s[1] and s[0].startswith("Güncellenemedi") else None)(
            status(env)), 30, "the failure in the status line")
        text = failed[0]
        assert text.startswith("Güncellenemedi · son güncelleme "), text
        assert any(c.isdigit() for c in text[len("Güncellenemedi · son güncelleme "):]), text  # a time follows
        assert status_pixels(env, x, y) != quiet, "the failure is not drawn"
        # The tray icon's tip tells the same time.
        tip = wait_for(lambda: tray_tip(env), 10, "the tray icon's tip")
        assert tip == "Kavrelo · son güncelleme " + text[len("Güncellenemedi · son güncelleme "):], tip
        # Back soon, then backing off: 0.4 s, 0.8 s, 1.6 s... each within its
        # fifth either way (plus the time Wine takes to connect).
        times = wait_for(lambda: (lambda t: t if len(t) >= 4 else None)(exchanges(server.feed_times()[seen:])), 30,
                         "four tries after the failure")
        g = gaps(times)
        print("gaps after the first failure:", g)
        assert 0.2 <= g[0] <= 0.48 + 0.5, g
        assert 0.5 <= g[1] <= 0.96 + 0.5, g
        assert 1.0 <= g[2] <= 1.92 + 0.5, g
        assert g[0] < g[1] < g[2], g
        # The server comes back: the next success clears the line.
        server.mode = "ok"
        wait_for(lambda: (lambda s: s and not s[1])(status(env)), 30, "the line cleared after a good update")
        # Between refreshes the footer is as it was before the failure.
        wait_for(lambda: status_pixels(env, x, y) == quiet, 20, "the footer as before the failure")


def test_server_errors_keep_the_normal_period(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)) as server, Ticker(env):
        full_face(env)
        wait_for(lambda: server.feed_times(), 30, "a first request")
        server.mode = "404"
        seen = len(server.feed_times())
        times = wait_for(lambda: (lambda t: t if len(t) >= seen + 3 else None)(server.feed_times()), 40,
                         "three requests answered with 404")[seen:]
        g = gaps(times)
        print("gaps after 404s:", g)
        assert all(gap >= 3.5 for gap in g), g  # the 4-second period, not the back-off
        s = status(env)
        assert s[1] and s[0].startswith("Güncellenemedi"), s


def test_waking_from_sleep_refreshes_an_old_list_not_a_fresh_one(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)) as server, Ticker(env):
        full_face(env)
        wait_for(lambda: server.feed_times(), 30, "a first request")
        # A fresh list: a wake asks for nothing before the period is up.
        last = server.feed_times()[-1]
        assert env.post(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC)
        if time.monotonic() - last < 3.0:  # else this machine was too slow to tell
            time.sleep(max(0.0, last + 3.5 - time.monotonic()))
            early = [round(t - last, 2) for t in server.feed_times() if last < t < last + 3.5]
            assert not early, f"requests {early} s after a fresh list"
        # The server asks for a minute's pause; the list grows old.
        seen = len(server.feed_times())
        server.mode = "busy"
        server.retry_after = "60"
        wait_for(lambda: len(server.feed_times()) > seen, 30, "the request answered with 429")
        busy = server.feed_times()[-1]
        time.sleep(max(0.0, busy + 3.5 - time.monotonic()))
        count = len(server.feed_times())
        server.mode = "ok"
        assert env.post(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC)
        posted = time.monotonic()
        wait_for(lambda: len(server.feed_times()) > count, 5, "a request within 5 s of the wake")
        print(f"wake to request: {server.feed_times()[count] - posted:.2f} s")
        # Without the wake the next request would have come a minute after the 429.
        assert server.feed_times()[count] - busy < 30


def test_a_restart_with_an_old_saved_list_shows_its_age(env):
    env.fresh_data_folder()
    env.data.mkdir(parents=True, exist_ok=True)
    (env.data / "news.xml").write_bytes(feed(env))
    # Saved a day ago, to the second.
    day_ago = int((time.time() - 86400 + 11644473600) * 10_000_000)
    (env.data / "news.xml.updated").write_text(f"{day_ago}\r\n")
    with FeedServer(env.port, feed(env), mode="404") as server, Ticker(env):
        x, y = full_face(env)
        wait_for(lambda: server.feed_times(), 30, "a first request")
        s = wait_for(lambda: (lambda s: s if s and s[1] and s[0].startswith("Güncellenemedi") else None)(status(env)),
                     30, "the failure in the status line")
        assert s[0].startswith("Güncellenemedi · son güncelleme dün "), s
        assert (tray_tip(env) or "").startswith("Kavrelo · son güncelleme dün "), tray_tip(env)
        # The saved list is still what the user reads.
        assert lit(env.screen_region(x + 30, y + 75, 390, 213))


if __name__ == "__main__":
    run([test_a_failed_update_is_told_and_retried_soon_then_cleared, test_server_errors_keep_the_normal_period,
         test_waking_from_sleep_refreshes_an_old_list_not_a_fresh_one, test_a_restart_with_an_old_saved_list_shows_its_age])
