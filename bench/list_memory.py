"""Memory of the real ticker with a short and a very long feed: the resident
and the anonymous (private) size of its Wine process once the list shows 20
items, then 5,000 items scrolled to the end. The feed is refreshed all the
while; each state is sampled over two refresh periods: between refreshes
(the smallest sample: what the ticker keeps) and during one (the largest:
the download, the document and both lists at once). Runs against a test build (the
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


def private_kb(env, seconds):
    """(smallest, largest) committed private KB of the ticker over `seconds`,
    read from another process (winprobe memory)."""
    r = env.wine(env.probe_exe, "memory", int(seconds * 1000), 250, timeout=seconds + 60)
    info = dict(kv.split("=") for kv in r.stdout.split())
    return int(info["min_kb"]), int(info["max_kb"])


def settle(env):
    """Over two refresh periods: (smallest, largest) of (resident, anonymous)
    sampled here, then (smallest, largest) private bytes."""
    env.ping(1)
    samples = []
    end = time.monotonic() + 2 * env.refresh
    while time.monotonic() < end:
        samples.append(process_kb())
        time.sleep(0.2)
    return min(samples, key=lambda s: s[1]), max(samples, key=lambda s: s[1]), private_kb(env, 2 * env.refresh)


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
    print("| feed        | between refreshes: resident MB | anonymous MB | during one: resident MB | anonymous MB |")
    print("|-------------|--------------------------------|--------------|-------------------------|--------------|")
    for name, (quiet, busy, _) in (("20 items   ", small), ("5,000 items", large)):
        print(f"| {name} | {quiet[0] / 1024:30.1f} | {quiet[1] / 1024:12.1f} | {busy[0] / 1024:23.1f} |"
              f" {busy[1] / 1024:12.1f} |")
    print(f"difference between refreshes: resident {(large[0][0] - small[0][0]) / 1024:.1f} MB, anonymous"
          f" {(large[0][1] - small[0][1]) / 1024:.1f} MB (goal: at most 5 MB); during a refresh: anonymous"
          f" {(large[1][1] - small[1][1]) / 1024:.1f} MB")
    print()
    print("| feed        | private bytes between refreshes MB | during one MB |")
    print("|-------------|------------------------------------|---------------|")
    for name, (_, _, private) in (("20 items   ", small), ("5,000 items", large)):
        print(f"| {name} | {private[0] / 1024:34.1f} | {private[1] / 1024:13.1f} |")
    print(f"difference between refreshes: {(large[2][0] - small[2][0]) / 1024:.1f} MB (goal: at most 5 MB); during a"
          f" refresh: {(large[2][1] - small[2][1]) / 1024:.1f} MB")


if __name__ == "__main__":
    main()
