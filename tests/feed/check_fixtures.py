"""Runs tools/feedcheck.exe under Wine over every feed in fixtures/ and
compares what it prints with the golden NAME.json beside each feed.

    check_fixtures.py --build BUILD_DIR --source SOURCE_DIR [--update]

--update rewrites the golden files from the current output (read the diff
before committing it)."""
import argparse
import difflib
import subprocess
import sys
from pathlib import Path

# Fixed here, not the build's, so the golden files hold for every build.
BASE = "http://haber.example/sondakika.rss"
REFERRAL = "kavrelo"


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--build", required=True)
    p.add_argument("--source", required=True)
    p.add_argument("--update", action="store_true")
    args = p.parse_args()
    source = Path(args.source).resolve()
    build = str(Path(args.build).resolve())
    fixtures = source / "tests" / "feed" / "fixtures"
    feeds = sorted(f.name for f in fixtures.iterdir() if f.suffix != ".json")
    if not feeds:
        print("no fixtures found")
        return 1
    # One Wine process for all files; relative names keep the output free of
    # where the checkout lies.
    r = subprocess.run([str(source / "scripts" / "wine-run.sh"), build,
                        str(Path(build) / "tools" / "feedcheck.exe"),
                        "--base", BASE, "--referral", REFERRAL, *feeds],
                       cwd=fixtures, capture_output=True, timeout=120)
    if r.returncode != 0:
        print(f"feedcheck exited with {r.returncode}: {r.stderr.decode(errors='replace')}")
        return 1
    out = {}
    current = None
    for line in r.stdout.decode("utf-8").splitlines(keepends=True):
        if line.startswith('{"file":'):
            current = line[len('{"file":"'):line.index('",')]
            out[current] = []
        out[current].append(line)
    failed = 0
    for name in feeds:
        got = "".join(out.get(name, []))
        golden = fixtures / (Path(name).stem + ".json")
        if args.update:
            golden.write_bytes(got.encode("utf-8"))
            continue
        want = golden.read_bytes().decode("utf-8") if golden.exists() else ""
        if got == want:
            print(f"PASS {name}")
        else:
            failed += 1
            print(f"FAIL {name}")
            sys.stdout.writelines(difflib.unified_diff(want.splitlines(True), got.splitlines(True),
                                                       golden.name, "feedcheck"))
    if not args.update:
        print(f"{len(feeds) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
