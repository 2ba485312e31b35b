"""Memory of the real ticker with a short and a very long feed: the resident
and the anonymous (private) size of its Wine process once the list shows 20
items, then 5,000 items scrolled to the end. Runs against a test build (the
end-to-end tests' arguments):
  python3 bench/list_memory.py --build build/win32 --source . --port P \
      --refresh-ms 4000 --timeout-ms 5000
"""
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import Env, FeedServer, Ticker, parse_args, wait_for  # noqa: E402
from test_long_list import headline_rows, press_end, rss  # noqa: E402


def process_kb():
    """(resident, anonymous) KB of the kavrelo.exe process."""
    pids = subprocess.run(["pgrep", "-f", r"kavrelo\.exe"], capture_output=True, text=True).stdout.split()
    best = (0, 0)
    for pid in pids:
        try:
            status = dict(line.split(":", 1) for line in Path(f"/proc/{pid}/status").read_text().splitlines()
                          if ":" in line)
        except OSError:
            continue
        rss = int(status.get("VmRSS", "0 kB").split()[0])
        anon = int(status.get("RssAnon", "0 kB").split()[0])
        best = max(best, (rss, anon))
    return best


def settle(env):
    time.sleep(2)
    env.ping(1)
    return process_kb()


def main():
    env = Env(parse_args())
    env.kill_all()
    env.fresh_data_folder()
    with FeedServer(env.port, rss(20)) as server, Ticker(env):
        wait_for(lambda: headline_rows(env.news_list_pixels() or b""), 60, "headlines")
        small = settle(env)
        requests = len(server.feed_requests())
        server.feed = rss(5000)
        wait_for(lambda: len(server.feed_requests()) > requests + 1, env.refresh * 4 + 60, "two refreshes")
        press_end(env)
        wait_for(lambda: headline_rows(env.news_list_pixels() or b""), 30, "headlines at the end")
        large = settle(env)
    print("| feed        | resident MB | anonymous MB |")
    print("|-------------|-------------|--------------|")
    print(f"| 20 items    | {small[0] / 1024:11.1f} | {small[1] / 1024:12.1f} |")
    print(f"| 5,000 items | {large[0] / 1024:11.1f} | {large[1] / 1024:12.1f} |")
    print(f"difference: resident {(large[0] - small[0]) / 1024:.1f} MB, anonymous {(large[1] - small[1]) / 1024:.1f} MB"
          " (goal: at most 5 MB)")


if __name__ == "__main__":
    main()
