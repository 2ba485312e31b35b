"""Servers that misbehave, as hotel Wi-Fi, captive portals and broken
servers do: whatever comes back, the last good feed stays on disk and on
screen, the window keeps answering, and the next good reply is taken."""
import os
import threading
import time

from harness import FeedServer, Ticker, feed, run, steady, wait_for

OLD = ("<?xml version='1.0' encoding='utf-8'?><rss version='2.0'><channel><title>Eski</title>"
       "<item><title>Eski haber: köprü trafiğe kapandı</title><description>Dünkü özet.</description>"
       "<link>http://127.0.0.1/eski/1</link></item>"
       "<item><title>Eski haber: yağmur uyarısı</title><description>İkinci özet.</description></item>"
       "</channel></rss>").encode("utf-8")


class Pinger:
    """Pings the ticker's window thread from another process while a fault
    goes on."""

    def __init__(self, env, seconds):
        self.result = None
        self.thread = threading.Thread(target=lambda: setattr(self, "result", env.ping(seconds)), daemon=True)
        self.thread.start()

    def check(self):
        self.thread.join(120)
        r = self.result
        assert r is not None, "no window to ping"
        assert r["gone"] == 0, r
        assert r["pings"] >= 10, r
        assert r["late"] == 0 and r["max_ms"] <= 500, f"the window stopped answering: {r}"


def start_with_old_feed(env):
    env.fresh_data_folder()
    env.data.mkdir(parents=True)
    cache = env.data / "news.xml"
    cache.write_bytes(OLD)
    stamp = time.time() - 3600
    os.utime(cache, (stamp, stamp))
    return cache, stamp


def stable_list_pixels(env):
    """The list once the window is on screen at full size and done fading."""
    return steady(env.news_list_pixels, "the list on screen")


def assert_old_feed_kept(env, cache, stamp, before):
    assert cache.read_bytes() == OLD, "news.xml lost its last good bytes"
    assert abs(cache.stat().st_mtime - stamp) < 2, "news.xml was rewritten"
    # No check file or other leftovers beside it.
    assert sorted(p.name for p in env.data.iterdir()) == ["news.xml"], list(env.data.iterdir())
    wait_for(lambda: env.news_list_pixels() == before, 10, "the old headlines on screen")


def assert_recovers(env, server, cache, before):
    fresh = feed(env)
    server.mode = "ok"
    wait_for(lambda: cache.read_bytes() == fresh, env.refresh * 2 + env.http_timeout + 15, "the good feed saved")
    wait_for(lambda: (env.news_list_pixels() or before) != before, 10, "the new headlines on screen")


def fault(mode, attempts=2, **server_options):
    def test(env):
        cache, stamp = start_with_old_feed(env)
        with FeedServer(env.port, feed(env), mode=mode) as server, Ticker(env) as ticker:
            for k, v in server_options.items():
                setattr(server, k, v)
            ticker.wait_window()
            before = stable_list_pixels(env)
            # Long enough for the attempts, a fault's own time-outs included.
            pinger = Pinger(env, env.refresh * attempts + 4)
            wait_for(lambda: len(server.feed_requests()) >= attempts, env.refresh * attempts + 30,
                     f"{attempts} attempts")
            pinger.check()
            assert_old_feed_kept(env, cache, stamp, before)
            assert ticker.proc.poll() is None
            assert_recovers(env, server, cache, before)
    test.__name__ = f"test_{mode}_keeps_the_last_good_feed"
    return test


def test_redirects_are_counted_per_refresh(env):
    cache, stamp = start_with_old_feed(env)
    with FeedServer(env.port, feed(env), mode="chain") as server, Ticker(env) as ticker:
        ticker.wait_window()
        before = stable_list_pixels(env)
        pinger = Pinger(env, env.refresh * 2 + 2)
        wait_for(lambda: len(server.feed_requests()) >= 7, env.refresh * 2 + 20, "a second refresh")
        pinger.check()
        time.sleep(1)  # the rest of this refresh's requests follow at once, the next not for a period
        times = server.feed_times()
        # Requests of one refresh follow each other at once; refreshes are a
        # period apart.
        groups = [[times[0]]]
        for a, b in zip(times, times[1:]):
            if b - a > env.refresh / 2:
                groups.append([])
            groups[-1].append(b)
        assert [len(g) for g in groups[:-1]] == [6] * (len(groups) - 1), [len(g) for g in groups]
        assert len(groups[-1]) <= 6
        server.mode = "loop"
        count = len(server.feed_requests())
        wait_for(lambda: len(server.feed_requests()) > count, env.refresh + 20, "a refresh into a loop")
        time.sleep(1.5)  # a followed loop would ask again within this
        assert len(server.feed_requests()) == count + 1, "a loop to itself is one request"
        assert_old_feed_kept(env, cache, stamp, before)
        assert_recovers(env, server, cache, before)


def test_big_headers_with_a_new_feed_are_taken(env):
    cache, _ = start_with_old_feed(env)
    fresh = feed(env)
    with FeedServer(env.port, fresh, mode="404") as server, Ticker(env) as ticker:
        ticker.wait_window()
        before = stable_list_pixels(env)
        server.mode = "bigheaders"
        pinger = Pinger(env, env.refresh + 2)
        wait_for(lambda: cache.read_bytes() == fresh, env.refresh * 2 + 10, "the feed behind 12 KB of headers saved")
        wait_for(lambda: (env.news_list_pixels() or before) != before, 10, "the new headlines on screen")
        pinger.check()
        assert server.feed_requests()


def test_not_modified_changes_nothing_and_validators_are_sent(env):
    env.fresh_data_folder()
    fresh = feed(env)
    cache = env.data / "news.xml"
    with FeedServer(env.port, fresh) as server, Ticker(env) as ticker:
        server.etag = '"e1"'
        ticker.wait_window()
        wait_for(lambda: cache.exists() and cache.read_bytes() == fresh, 30, "the first feed saved")
        # The validators and the update time are written just after the feed,
        # each through a temporary file: the three files, and nothing else,
        # once those writes are done.
        expected = ["news.xml", "news.xml.updated", "news.xml.validators"]
        names = lambda: sorted(p.name for p in env.data.iterdir())  # noqa: E731
        wait_for(lambda: names() == expected, 10, f"the saved files {expected}")
        updated = (env.data / "news.xml.updated").read_text()
        stamp = cache.stat().st_mtime
        before = stable_list_pixels(env)
        pinger = Pinger(env, env.refresh * 2)
        count = len(server.feed_requests())
        wait_for(lambda: len(server.feed_requests()) >= count + 2, env.refresh * 2 + 20, "two conditional refreshes")
        pinger.check()
        time.sleep(1)  # the last 304 handled: a cache written over would show by now
        sent = [h for p, h in server.headers if p.startswith("/sondakika.rss")]
        assert "if-none-match" not in sent[0], "the first request had nothing to validate"
        for h in sent[1:]:
            assert h.get("if-none-match") == '"e1"', h
            assert h.get("if-modified-since") == "Tue, 08 Dec 2026 10:00:00 GMT", h
        assert cache.read_bytes() == fresh and cache.stat().st_mtime == stamp
        assert env.news_list_pixels() == before
        # A 304 is a good update all the same: its time is kept.
        assert int((env.data / "news.xml.updated").read_text()) > int(updated)
    # The validators outlive the run, but only for the copy they belong to.
    with FeedServer(env.port, fresh) as server, Ticker(env) as ticker:
        server.etag = '"e1"'
        wait_for(lambda: server.feed_requests(), 30, "the first request of the next run")
        assert server.headers[[p for p, _ in server.headers].index(server.feed_requests()[0])][1].get(
            "if-none-match") == '"e1"'
        assert env.post(37683) and ticker.exit_code(20) == 0
    cache.write_bytes(OLD)
    with FeedServer(env.port, fresh) as server, Ticker(env) as ticker:
        wait_for(lambda: server.feed_requests(), 30, "the first request after news.xml changed")
        first = [h for p, h in server.headers if p.startswith("/sondakika.rss")][0]
        assert "if-none-match" not in first, "validators of another copy were sent"


def test_too_many_requests_backs_off(env):
    cache, stamp = start_with_old_feed(env)
    with FeedServer(env.port, feed(env), mode="busy") as server, Ticker(env) as ticker:
        server.retry_after = "12"
        ticker.wait_window()
        pinger = Pinger(env, 10)
        wait_for(lambda: len(server.feed_requests()) >= 2, 40, "the request after the pause")
        pinger.check()
        t = server.feed_times()
        assert t[1] - t[0] >= 11.5, f"asked again after {t[1] - t[0]:.1f} s"
        # A pause asked for shorter than the normal period changes nothing.
        server.retry_after = "0"
        wait_for(lambda: len(server.feed_requests()) >= 3, 30, "the next request")
        t = server.feed_times()
        assert t[2] - t[1] >= env.refresh * 0.9, t
        assert cache.read_bytes() == OLD and abs(cache.stat().st_mtime - stamp) < 2
        server.mode = "ok"
        wait_for(lambda: cache.read_bytes() == feed(env), env.refresh * 2 + 10, "the feed once the server is back")


if __name__ == "__main__":
    run([
        fault("login"),
        fault("garbage"),
        fault("huge"),
        fault("empty"),
        fault("404"),
        fault("cut"),
        fault("close"),
        fault("stall", attempts=1),
        fault("trickle", attempts=1),
        test_redirects_are_counted_per_refresh,
        test_big_headers_with_a_new_feed_are_taken,
        test_not_modified_changes_nothing_and_validators_are_sent,
        test_too_many_requests_backs_off,
    ])
