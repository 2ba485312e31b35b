"""Closing the ticker while its server stalls or trickles: every way of
closing ends the process within a couple of seconds, whatever the server
does, and Alt+F4's close takes the window off the screen at once."""
import time

from harness import FeedServer, Ticker, feed, run, wait_for

WM_CLOSE = 16
WM_QUERYENDSESSION = 17
WM_ENDSESSION = 22
REMOTE_CLOSE = 37683
# The close itself may take this long; the Close command fades out first.
BOUND = 2.0
FADE = 1.5
# Starting the probe that posts, and Wine taking the process down, are not
# the ticker's time.
SLACK = 1.0


def closing(mode, how):
    def test(env):
        with FeedServer(env.port, feed(env) * 20, mode=mode) as server, Ticker(env) as ticker:
            wait_for(lambda: (env.probe() or {}).get("visible") == "1", 30, "the window on screen")
            wait_for(lambda: server.feed_requests(), 20, "the download under way")
            time.sleep(1)  # well inside the stall or the trickle
            if how == "close":
                assert env.post(REMOTE_CLOSE)
                bound = BOUND + FADE
            elif how == "wm_close":
                assert env.post(WM_CLOSE)
                bound = BOUND
                info = env.probe()
                assert info is None or info["visible"] == "0", f"still on screen after WM_CLOSE: {info}"
            else:
                # The session ends: the system asks, then tells, and the
                # ticker cleans up and goes by itself; the clean-up must not
                # wait for the server either. (Nothing more is posted: the
                # window may be gone by then.)
                assert env.post(WM_QUERYENDSESSION)
                assert env.post(WM_ENDSESSION, 1)
                bound = BOUND + FADE
            posted = time.monotonic()
            code = ticker.exit_code(60)
            took = time.monotonic() - posted
            assert code == 0, f"exit code {code}"
            assert took < bound + SLACK, f"{how} while the server {mode}s took {took:.1f} s"
            assert env.window_count() == 0
    test.__name__ = f"test_{how}_while_the_server_{mode}s"
    return test


if __name__ == "__main__":
    run([closing(mode, how) for mode in ("stall", "trickle") for how in ("close", "wm_close", "session_end")])
