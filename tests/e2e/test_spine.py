"""Start, download, cache, refresh, single instance and shut-down of the
real program."""
import time

from harness import FEED_PATH, FeedServer, Ticker, feed, run, wait_for


def test_first_run_creates_data_folder_and_caches_feed(env):
    env.fresh_data_folder()
    demo = feed(env)
    with FeedServer(env.port, demo) as server, Ticker(env) as ticker:
        ticker.wait_window()
        assert env.data.is_dir(), "data folder missing"
        cache = env.data / "news.xml"
        wait_for(lambda: cache.exists(), 20, "news.xml")
        wait_for(lambda: cache.read_bytes() == demo, 10, "the cache to hold the feed")
        assert len(server.feed_requests()) >= 1
        # No temporary files are left beside the cache.
        assert sorted(p.name for p in env.data.iterdir()) == ["news.xml", "news.xml.updated"], list(env.data.iterdir())


def test_every_request_has_a_fresh_random_value(env):
    with FeedServer(env.port, feed(env)) as server, Ticker(env) as ticker:
        ticker.wait_window()
        wait_for(lambda: len(server.feed_requests()) >= 3, env.refresh * 4 + 20, "three feed requests")
        paths = server.feed_requests()
        for p in paths:
            assert FEED_PATH.match(p), p
        assert len(set(paths)) == len(paths), paths
        # The next refresh comes a full period after the previous completion.
        times = [t for t, p in server.requests if p.startswith("/sondakika.rss")]
        gaps = [b - a for a, b in zip(times, times[1:])]
        assert all(g >= env.refresh * 0.9 for g in gaps), gaps


def test_no_server_leaves_cache_untouched(env):
    env.fresh_data_folder()
    env.data.mkdir(parents=True)
    cache = env.data / "news.xml"
    cache.write_bytes(b"old")
    with Ticker(env) as ticker:
        ticker.wait_window()
        time.sleep(env.refresh + 2)  # a refresh has failed by now: the cache must still be there
        assert cache.read_bytes() == b"old"
        assert ticker.proc.poll() is None


def test_second_instance_exits_at_once(env):
    with FeedServer(env.port, feed(env)), Ticker(env) as first:
        first.wait_window()
        second = Ticker(env)
        code = second.exit_code(15)
        assert code == 0, f"second instance exit code {code}"
        assert first.proc.poll() is None, f"the first instance ended ({first.crash() or first.proc.returncode})"
        count = env.window_count()
        assert count == 1, f"{count} ticker windows"


def test_remote_close_ends_the_process(env):
    with FeedServer(env.port, feed(env)), Ticker(env) as ticker:
        ticker.wait_window()
        assert env.post(37683)
        code = ticker.exit_code(15)
        assert code == 0, f"exit code {code}"
        assert env.window_count() == 0


def test_close_while_server_stalls(env):
    with FeedServer(env.port, feed(env), mode="stall") as server, Ticker(env) as ticker:
        ticker.wait_window()
        wait_for(lambda: server.feed_requests(), 20, "the stalled request")
        start = time.monotonic()
        assert env.post(37683)
        code = ticker.exit_code(env.http_timeout + 15)
        assert code == 0, f"exit code {code}"
        assert time.monotonic() - start < env.http_timeout + 15


WM_COMMAND = 273
CMD_UPDATE = 40007


def test_update_command_refreshes_once(env):
    with FeedServer(env.port, feed(env), mode="stall") as server, Ticker(env) as ticker:
        ticker.wait_window()
        wait_for(lambda: server.feed_requests(), 20, "the first request")
        # Update while a download runs: no second download.
        for _ in range(3):
            assert env.wine(env.probe_exe, "post", WM_COMMAND, CMD_UPDATE).returncode == 0
        time.sleep(1.5)  # a second download would start at once
        assert len(server.feed_requests()) == 1
        # Once it has failed, Update starts the next download at once rather
        # than a full period later.
        server.mode = "ok"
        wait_for(lambda: len(server.feed_requests()) == 2, env.http_timeout + env.refresh + 10, "the retry")
        # The retry's exchange ends without a sign when the feed is what the
        # cache holds already; Update is ignored until it has.
        time.sleep(0.5)
        posted = time.monotonic()
        assert env.wine(env.probe_exe, "post", WM_COMMAND, CMD_UPDATE).returncode == 0
        wait_for(lambda: len(server.feed_requests()) == 3, 5, "the update request")
        assert server.feed_times()[-1] - posted < env.refresh * 0.75


if __name__ == "__main__":
    run([
        test_first_run_creates_data_folder_and_caches_feed,
        test_every_request_has_a_fresh_random_value,
        test_no_server_leaves_cache_untouched,
        test_second_instance_exits_at_once,
        test_remote_close_ends_the_process,
        test_close_while_server_stalls,
        test_update_command_refreshes_once,
    ])
