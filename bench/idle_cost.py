"""What the ticker costs while nothing happens: the CPU time and the wake-ups
(voluntary context switches) of its Wine process, sampled every half second
for --minutes, counted apart for the seconds around each refresh and for the
rest. Needs a build with the real timer periods and the local test hosts:
  python3 bench/idle_cost.py --build build/idle --source . --port 18473 \
      --refresh-ms 300000 --timeout-ms 5000 [--minutes 12] [--label after]
GetProcessTimes of another process reads zero under Wine, so the times are
the Linux process's own (/proc/PID/stat), Wine's work for it included. The
pointer is parked off the window first (see below).
"""
import argparse
import os
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import Env, FeedServer, Ticker, feed, wait_for, xdo  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")


def ticker_pids():
    out = subprocess.run(["pgrep", "-f", r"kavrelo\.exe"], capture_output=True, text=True).stdout.split()
    return [int(p) for p in out]


def sample(pid):
    """(CPU seconds, voluntary context switches, page faults) of pid, its
    threads summed."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    cpu = (int(fields[11]) + int(fields[12])) / TICK  # utime, stime
    faults = int(fields[7]) + int(fields[9])  # minflt, majflt
    switches = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            for line in (task / "status").read_text().splitlines():
                if line.startswith("voluntary_ctxt_switches:"):
                    switches += int(line.split()[1])
        except OSError:
            pass  # a thread that ended between the listing and the read
    return cpu, switches, faults


def main():
    p = argparse.ArgumentParser()
    for name in ("--build", "--source"):
        p.add_argument(name, required=True)
    p.add_argument("--port", type=int, required=True)
    p.add_argument("--refresh-ms", type=int, required=True)
    p.add_argument("--timeout-ms", type=int, required=True)
    p.add_argument("--minutes", type=float, default=12)
    p.add_argument("--label", default="")
    args = p.parse_args()
    env = Env(args)
    env.kill_all()
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)) as server, Ticker(env):
        wait_for(lambda: server.feed_times(), 60, "the first request")
        # The pointer goes where an idle user's may be, off the window: Wine
        # follows a pointer over a window that asked for leave tracking ten
        # times a second (WM_NCHITTEST), where Windows waits for the pointer
        # to move; that would be Wine's cost, not the ticker's.
        info = wait_for(lambda: env.probe(), 30, "the window")
        x, y, w, h = (int(info[k]) for k in ("x", "y", "w", "h"))
        corner = (0, 0) if x > 2 or y > 2 else (x + w + 50, y + h + 50)
        xdo(env, "mousemove", *corner)
        time.sleep(15)  # start-up and the first refresh settle
        pid = max(ticker_pids(), key=lambda p: sample(p)[0])
        samples = []
        end = time.monotonic() + args.minutes * 60
        while time.monotonic() < end:
            samples.append((time.monotonic(), *sample(pid)))
            time.sleep(0.5)
        requests = server.feed_times()
    # An interval counts as busy when it lies within 2 s before to 10 s after
    # a feed request: the exchange, the parse, the new list on screen.
    def busy(t0, t1):
        return any(r - 2 <= t1 and t0 <= r + 10 for r in requests)

    quiet_s = quiet_cpu = quiet_wakes = busy_cpu = busy_faults = 0.0
    refreshes = sum(1 for r in requests if samples[0][0] <= r <= samples[-1][0])
    for (t0, c0, w0, f0), (t1, c1, w1, f1) in zip(samples, samples[1:]):
        if busy(t0, t1):
            busy_cpu += c1 - c0
            busy_faults += f1 - f0
        else:
            quiet_s += t1 - t0
            quiet_cpu += c1 - c0
            quiet_wakes += w1 - w0
    span = samples[-1][0] - samples[0][0]
    hour = 3600.0
    print("| run | minutes | refreshes | CPU s/h between refreshes | wake-ups/h between refreshes |"
          " CPU s per refresh | page faults per refresh | CPU s/h in all |")
    print("|-----|---------|-----------|---------------------------|------------------------------|"
          "-------------------|-------------------------|---------------|")
    per_refresh = busy_cpu / refreshes if refreshes else float("nan")
    faults_per_refresh = busy_faults / refreshes if refreshes else float("nan")
    print(f"| {args.label or '-'} | {span / 60:.1f} | {refreshes} | {quiet_cpu * hour / quiet_s:.2f} |"
          f" {quiet_wakes * hour / quiet_s:.0f} | {per_refresh:.3f} | {faults_per_refresh:.0f} |"
          f" {(samples[-1][1] - samples[0][1]) * hour / span:.2f} |")
    print(f"(quiet time {quiet_s:.0f} s of {span:.0f} s; CPU clock ticks of {1 / TICK:.2f} s)")


if __name__ == "__main__":
    main()
