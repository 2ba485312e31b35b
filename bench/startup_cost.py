"""Start-up of the real ticker: the time from the start of its process to its
window on screen (tools/startrace first-frame), with the last feed saved and
without, and its memory a few seconds later. Each case five times, in one
run; the saved feed is shown from the first frame, so the 500-item case is
start-up with a full list to lay out. The server never answers, so the
saved list is all the ticker has. Runs against a test build:
  python3 bench/startup_cost.py --build build/win64 --source . --port 18473 \
      --refresh-ms 4000 --timeout-ms 5000
"""
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import Env, FeedServer, parse_args, wait_for, win_path  # noqa: E402
from list_memory import process_kb  # noqa: E402
from test_long_list import rss  # noqa: E402

RUNS = 5


def one_start(env, saved):
    env.kill_all()
    env.fresh_data_folder()
    if saved is not None:
        env.data.mkdir(parents=True, exist_ok=True)
        (env.data / "news.xml").write_bytes(saved)
        stamp = int((time.time() + 11644473600) * 10_000_000)
        (env.data / "news.xml.updated").write_text(f"{stamp}\r\n")
    r = env.wine(env.build / "tools" / "startrace.exe", "first-frame", win_path(env.exe), timeout=90)
    value = r.stdout.strip().split("=")[-1]
    if not value.isdigit():
        raise RuntimeError(f"no first frame: {r.stdout} {r.stderr}")
    time.sleep(3)  # the list is laid out, the first refresh waits on the server
    memory = process_kb()
    env.kill_all()  # start-up is measured here, not shutdown
    wait_for(lambda: env.window_count() == 0, 30, "the ticker gone")
    return int(value), memory


def main():
    env = Env(parse_args())
    long_feed = rss(500)
    rows = []
    # The server never answers: what shows, and what memory holds, is the
    # saved list alone.
    with FeedServer(env.port, long_feed, mode="stall"):
        for name, saved in (("nothing saved", None), ("20 items saved", rss(20)), ("500 items saved", long_feed)):
            one_start(env, saved)  # once to warm Wine's caches; not counted
            runs = [one_start(env, saved) for _ in range(RUNS)]
            times = [ms for ms, _ in runs]
            rows.append((name, statistics.median(times), min(times), max(times),
                         statistics.median(m[0] for _, m in runs) / 1024, statistics.median(m[1] for _, m in runs) / 1024))
    env.kill_all()
    print("| saved feed      | first frame, median ms | min | max | resident MB | anonymous MB |")
    print("|-----------------|------------------------|-----|-----|-------------|--------------|")
    for name, median, low, high, resident, anon in rows:
        print(f"| {name:15} | {median:22.0f} | {low:3.0f} | {high:3.0f} | {resident:11.1f} | {anon:12.1f} |")
    print(f"(process start to visible window, {RUNS} runs each after one not counted; memory 3 s later,"
          " medians, of the Wine process)")


if __name__ == "__main__":
    main()
