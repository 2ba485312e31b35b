"""One ticker per session: copies started at the same moment (a double-click
racing the autostart, the installer's restart) never both run, and a copy
that cannot prove it is alone does not start."""
import re

from harness import FeedServer, feed, run, win_path

ROUNDS = 10


def race(env):
    return env.build / "tools" / "startrace.exe"


def test_copies_started_together_make_exactly_one_window(env):
    with FeedServer(env.port, feed(env)):
        r = env.wine(race(env), win_path(env.exe), ROUNDS, timeout=ROUNDS * 70 + 30)
    rounds = re.findall(r"round=(\d+) windows=(\d+) exits=(\d+)", r.stdout)
    assert len(rounds) == ROUNDS, r.stdout + r.stderr
    bad = [(n, w, e) for n, w, e in rounds if (w, e) != ("1", "1")]
    assert not bad, f"rounds without exactly one window (round, windows, exits): {bad}"
    assert "stuck=" not in r.stdout, r.stdout
    assert r.returncode == 0, r.stdout


def test_a_name_taken_by_an_event_keeps_the_ticker_from_starting(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)) as server:
        r = env.wine(race(env), "event", "kavrelomutex", win_path(env.exe), timeout=60)
        assert "exit=0 windows=0" in r.stdout, r.stdout + r.stderr
        # It did nothing a running ticker does: no request, no data folder.
        assert server.paths("/") == []
    assert not env.data.exists()


if __name__ == "__main__":
    run([
        test_copies_started_together_make_exactly_one_window,
        test_a_name_taken_by_an_event_keeps_the_ticker_from_starting,
    ])
