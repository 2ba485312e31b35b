"""Drives the real kavrelo.exe under Wine for the end-to-end tests.

A test starts a FeedServer on 127.0.0.1 (the port the test build talks to),
starts the ticker with Ticker, and checks what a user would see or keep: the
window (through tools/winprobe.exe), files in the data folder and the
requests the server saw.
"""
import argparse
import http.server
import os
import re
import shutil
import subprocess
import sys
import threading
import time
from pathlib import Path
from xml.sax.saxutils import escape


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--build", required=True)
    p.add_argument("--source", required=True)
    p.add_argument("--port", type=int, required=True)
    p.add_argument("--refresh-ms", type=int, required=True)
    p.add_argument("--timeout-ms", type=int, required=True)
    return p.parse_args()


class Env:
    """Paths and the Wine environment of one build folder."""

    def __init__(self, args):
        self.build = Path(args.build)
        self.source = Path(args.source)
        self.port = args.port
        self.refresh = args.refresh_ms / 1000.0
        self.http_timeout = args.timeout_ms / 1000.0
        self.wine_run = self.source / "scripts" / "wine-run.sh"
        self.exe = self.build / "bin" / "kavrelo.exe"
        self.probe_exe = self.build / "tools" / "winprobe.exe"
        self.acc_exe = self.build / "tools" / "accprobe.exe"
        env = subprocess.run([str(self.wine_run), str(self.build), "--env"],
                             check=True, capture_output=True, text=True).stdout
        m = re.search(r"WINEPREFIX='([^']*)'", env)
        self.prefix = Path(m.group(1))
        # Files of this test's own: two end-to-end tests may run at once,
        # each with its own prefix, so nothing shared goes in the build folder.
        self.scratch = self.prefix.parent / "scratch"
        self.scratch.mkdir(exist_ok=True)
        user = os.environ.get("USER") or subprocess.run(
            ["id", "-un"], capture_output=True, text=True).stdout.strip()
        self.roaming = self.prefix / "drive_c" / "users" / user / "AppData" / "Roaming"
        self.data = self.roaming / "Valdomer" / "Kavrelo"
        for k in ("http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "no_proxy", "NO_PROXY"):
            os.environ.pop(k, None)

    def wine(self, *args, timeout=30):
        return subprocess.run([str(self.wine_run), str(self.build), *map(str, args)],
                              capture_output=True, text=True, errors="replace", timeout=timeout)

    def probe(self):
        """The ticker window as another process sees it, or None."""
        r = self.wine(self.probe_exe, "info")
        info = dict(kv.split("=") for kv in r.stdout.split())
        return info if r.returncode == 0 else None

    def window_count(self):
        r = self.wine(self.probe_exe, "info")
        m = re.search(r"count=(\d+)", r.stdout)
        return int(m.group(1)) if m else 0

    def post(self, message, wparam=0):
        return self.wine(self.probe_exe, "post", message, wparam).returncode == 0

    def ping(self, seconds, every_ms=100):
        """Pings the window thread from another process for `seconds`:
        {"pings", "late", "max_ms", "gone"}, or None when there is no window."""
        r = self.wine(self.probe_exe, "ping", int(seconds * 1000), every_ms, timeout=seconds + 30)
        if r.returncode != 0:
            return None
        return {k: int(v) for k, v in (kv.split("=") for kv in r.stdout.split())}

    def display(self):
        # Asked once: the answer comes from a script run, too slow to ask
        # between the frames of a fade.
        if not getattr(self, "_display", None):
            self._display = re.search(r"DISPLAY='([^']*)'", self.wine_env()).group(1)
        return self._display

    def wine_env(self):
        return subprocess.run([str(self.wine_run), str(self.build), "--env"],
                              capture_output=True, text=True).stdout

    def screen_region(self, x, y, w, h):
        """Raw RGB bytes of a screen rectangle, from a root-window shot."""
        shot = subprocess.run(["xwd", "-root", "-silent", "-display", self.display()],
                              capture_output=True, check=True, timeout=30).stdout
        return subprocess.run(["/usr/bin/convert", "xwd:-", "-crop", f"{w}x{h}+{x}+{y}", "+repage", "rgb:-"],
                              input=shot, capture_output=True, check=True, timeout=30).stdout

    def news_list_pixels(self):
        """The news list's part of the full face (not the busy indicator or
        the status text), or None while the window is not at full size."""
        info = self.probe()
        if not info or info.get("visible") != "1" or (info["w"], info["h"]) != ("475", "350"):
            return None
        return self.screen_region(int(info["x"]) + 30, int(info["y"]) + 75, 390, 213)

    def message_box(self):
        """Text of an open message box of the ticker, or None."""
        r = self.wine(self.probe_exe, "msgbox")
        return r.stdout.strip() if r.returncode == 0 else None

    def answer_message_box(self, button):
        return self.wine(self.probe_exe, "msgbox", button).returncode == 0

    def fresh_data_folder(self):
        shutil.rmtree(self.roaming / "Valdomer", ignore_errors=True)

    def kill_all(self):
        self.wine("taskkill", "/f", "/im", "kavrelo.exe")


class FeedServer:
    """HTTP server on loopback. `mode` picks the reply to a feed request:
    "ok" the feed bytes, "404" an error page, "cut" half a body, "stall" no
    reply at all, "close" a closed connection, "login" a captive portal's
    200 login page, "garbage" bytes that are not HTTP, "huge" a 64 MB body,
    "empty" a 200 with no body, "loop" a redirect to itself, "chain"
    redirects to ever new addresses, "bigheaders"
    the feed behind 12 KB of headers, "trickle" one byte a second,
    "busy" a 429 with Retry-After (`retry_after`), "redirect" a 302 to
    `location`. With `etag` set, feed replies carry it and a request that
    sends it back gets a 304. With `tls` (folder, certificate name of
    tls.make_certs) it speaks https."""

    def __init__(self, port, feed=b"", mode="ok", manifest=None, counter_mode="ok", tls=None, location=None):
        self.feed = feed
        # Where "redirect" (the feed's mode or the counter's) sends a client.
        self.location = location
        # TLS connections begun, a refused handshake included.
        self.connections = 0
        self.mode = mode
        self.etag = None
        self.retry_after = "30"
        self.hops = 0
        # The maker's manifest; by default it names the running version.
        self.manifest = manifest if manifest is not None else b"<data><version>2.0</version></data>"
        self.counter_mode = counter_mode
        self.requests = []  # (time, path)
        self.headers = []   # (path, {name.lower(): value}) of every request
        self._stop = threading.Event()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *a):
                pass

            def reply(self, status, body, kind, extra=()):
                self.send_response(status)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                for name, value in extra:
                    self.send_header(name, value)
                self.end_headers()
                self.wfile.write(body)

            def do_GET(self):
                server.requests.append((time.monotonic(), self.path))
                server.headers.append((self.path, {k.lower(): v for k, v in self.headers.items()}))
                if self.path.startswith("/kavrelo.xml"):
                    return self.reply(200, server.manifest, "text/xml")
                if self.path == "/swidget/kavrelo.gif":
                    if server.counter_mode == "redirect":
                        return self.reply(302, b"", "text/plain", [("Location", server.location)])
                    if server.counter_mode == "stall":
                        server._stop.wait(120)
                        return
                    return self.reply(200, b"GIF89a\x01\x00\x01\x00\x00\x00\x00;", "image/gif")
                if not self.path.startswith("/sondakika.rss"):
                    return self.reply(404, b"not here", "text/plain")
                try:
                    self.feed_reply(server.mode)
                except (BrokenPipeError, ConnectionResetError):
                    self.close_connection = True

            def feed_reply(self, mode):
                rss = "application/rss+xml"
                if mode == "stall":
                    server._stop.wait(120)
                    return
                if mode == "close":
                    self.close_connection = True
                    return
                if mode == "404":
                    return self.reply(404, "<html><body>Bulunamadı</body></html>".encode("utf-8"), "text/html")
                if mode == "login":
                    page = ("<!DOCTYPE html><html><head><title>Giriş</title></head><body>"
                            "<form action='/login'>Otel Wi-Fi: oda numaranız <input name=oda></form>"
                            "</body></html>").encode("utf-8")
                    return self.reply(200, page, "text/html")
                if mode == "garbage":
                    self.close_connection = True
                    self.wfile.write(b"\x00\x17garbage that is not HTTP at all\r\n\xff\xfe" * 50)
                    return
                if mode == "empty":
                    return self.reply(200, b"", rss)
                if mode == "huge":
                    # 64 MB announced and sent, until the client gives up.
                    self.send_response(200)
                    self.send_header("Content-Type", rss)
                    self.send_header("Content-Length", str(64 << 20))
                    self.end_headers()
                    chunk = b"<rss>" + b"x" * 65531
                    for _ in range(1024):
                        if server._stop.is_set():
                            break
                        self.wfile.write(chunk)
                    self.close_connection = True
                    return
                if mode == "redirect":
                    return self.reply(302, b"", "text/plain", [("Location", server.location)])
                if mode == "loop":
                    return self.reply(302, b"", "text/plain", [("Location", self.path)])
                if mode == "chain":
                    # Always somewhere new: only counting stops it.
                    server.hops += 1
                    return self.reply(302, b"", "text/plain", [("Location", f"/sondakika.rss?hop={server.hops}")])
                if mode == "busy":
                    return self.reply(429, b"slow down", "text/plain", [("Retry-After", server.retry_after)])
                if mode == "trickle":
                    self.send_response(200)
                    self.send_header("Content-Type", rss)
                    self.send_header("Content-Length", str(len(server.feed)))
                    self.end_headers()
                    for i in range(len(server.feed)):
                        if server._stop.wait(1):
                            break
                        self.wfile.write(server.feed[i:i + 1])
                        self.wfile.flush()
                    self.close_connection = True
                    return
                if mode == "cut":
                    body = server.feed
                    self.send_response(200)
                    self.send_header("Content-Length", str(len(body) * 2))
                    self.end_headers()
                    self.wfile.write(body)
                    self.close_connection = True
                    return
                extra = []
                if mode == "bigheaders":
                    extra = [("Set-Cookie", f"c{i}=" + "v" * 1000) for i in range(10)]
                    extra.append(("Content-Security-Policy", "default-src 'self' " + "https://cdn.example " * 100))
                if server.etag:
                    if self.headers.get("If-None-Match") == server.etag:
                        self.send_response(304)
                        self.send_header("ETag", server.etag)
                        self.send_header("Content-Length", "0")
                        self.end_headers()
                        return
                    extra.append(("ETag", server.etag))
                    extra.append(("Last-Modified", "Tue, 08 Dec 2026 10:00:00 GMT"))
                return self.reply(200, server.feed, rss, extra)

        http.server.ThreadingHTTPServer.allow_reuse_address = True
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
        self.httpd.daemon_threads = True
        if tls:
            # tls: (folder, certificate name) of tls.make_certs.
            import tls as tls_support
            tls_support.serve_tls(self.httpd, *tls)
            accept = self.httpd.get_request

            def counted():
                self.connections += 1
                return accept()
            self.httpd.get_request = counted
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def feed_requests(self):
        return [p for _, p in self.requests if p.startswith("/sondakika.rss")]

    def feed_times(self):
        return [t for t, p in self.requests if p.startswith("/sondakika.rss")]

    def paths(self, prefix):
        return [p for _, p in self.requests if p.startswith(prefix)]

    def close(self):
        self._stop.set()
        self.httpd.shutdown()
        self.httpd.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


# Tickers of the running test: a wait that outlives its ticker's crash
# says so at once instead of running into its timeout.
_tickers = []


class Ticker:
    """One run of kavrelo.exe under Wine."""

    def __init__(self, env, exe=None):
        self.env = env
        self.proc = subprocess.Popen([str(env.wine_run), str(env.build), str(exe or env.exe)],
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        # scripts/wine-run.sh hands the output over when the program ends.
        self.output = []
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        _tickers.append(self)

    def _read(self):
        for line in self.proc.stdout:
            self.output.append(line.decode("utf-8", "replace").rstrip("\n"))

    def crash(self):
        """"crashed (c0000005 at 0040123A)" once the program has ended in an
        unhandled exception, else None."""
        if self.proc.poll() is None:
            return None
        self._reader.join(5)
        found = [m.group(0) for m in map(CRASHED.search, self.output) if m]
        return found[0] if found else None

    def wait_window(self, timeout=30):
        def window():
            if self.proc.poll() is not None:
                raise AssertionError(f"the ticker {self.crash() or f'ended (exit status {self.proc.returncode})'}"
                                     " before its window appeared")
            return self.env.probe()
        return wait_for(window, timeout, "the ticker window")

    def exit_code(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self in _tickers:
            _tickers.remove(self)
        if self.proc.poll() is None:
            self.env.post(37683)
            if self.exit_code(20) is None:
                self.env.kill_all()
                self.proc.wait(30)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


# What scripts/wine-run.sh says of a program that died of an exception.
CRASHED = re.compile(r"crashed \([0-9a-f]+ at [0-9A-Fa-f?]+\)")


def feed(env):
    """The demo feed: a real one, several headlines with their summaries."""
    return (env.source / "tools" / "demo" / "sondakika.rss").read_bytes()


def ini(env):
    """options.ini as {key: value} (sections folded together), {} when absent."""
    path = env.data / "options.ini"
    if not path.exists():
        return {}
    text = path.read_bytes().decode("utf-16")
    return dict(line.split("=", 1) for line in text.split("\r\n") if "=" in line)


def xdo(env, *args):
    """Runs xdotool on the test's display: the mouse and keyboard of a user.
    Returns what it prints."""
    return subprocess.run(["xdotool", *map(str, args)], env={"DISPLAY": env.display(), "PATH": "/usr/bin:/bin"},
                          check=True, timeout=20, capture_output=True, text=True).stdout


def pointer(env):
    """Where the pointer is on the screen: (x, y)."""
    where = dict(kv.split(":") for kv in xdo(env, "getmouselocation").split())
    return int(where["x"]), int(where["y"])


def point_at(env, x, y):
    """Moves the pointer to a screen point; returns once the X server has it
    there, so a click that follows lands on that point. (xdotool's own
    --sync waits 15 s for a move to where the pointer already is.)"""
    xdo(env, "mousemove", x, y)
    wait_for(lambda: pointer(env) == (x, y), 10, f"the pointer at ({x}, {y})")


# A second click this soon and this close to the one before is a double
# click (the system's default time and square), which is not two clicks.
DOUBLE_CLICK_TIME = 0.5
DOUBLE_CLICK_SQUARE = 4
_last_click = [float("-inf"), None]


def click(env, x, y):
    """A left click at a screen point. Whoever needs its effect waits for
    that effect: the click itself promises nothing about when it is handled."""
    point_at(env, x, y)
    then, where = _last_click
    if where and abs(where[0] - x) <= DOUBLE_CLICK_SQUARE and abs(where[1] - y) <= DOUBLE_CLICK_SQUARE:
        # Nothing to wait for but the clock: a click on the same spot must
        # come after the double-click time to be a click of its own.
        time.sleep(max(0.0, then + DOUBLE_CLICK_TIME + 0.1 - time.monotonic()))
    xdo(env, "click", 1)
    _last_click[:] = [time.monotonic(), (x, y)]


def lit(pixels):
    """The pixels when anything in them shows (a window at alpha 0 is black
    on Xvfb's black root), else None."""
    return pixels if pixels and any(pixels) else None


def steady(grab, what, timeout=30, unlike=None):
    """Waits until two grabs a moment apart agree (no fade, slide or scroll
    is moving them) and differ from `unlike`; returns the pixels."""
    def same():
        first = grab()
        if first is None or first == unlike:
            return None
        time.sleep(0.3)  # the gap between two looks, not a wait for anything
        return first if grab() == first else None
    return wait_for(same, timeout, what)


def full_face(env):
    """Waits for the window at full size, shown and faded in; its (x, y)."""
    info = wait_for(lambda: (lambda i: i if i and i["visible"] == "1" and (i["w"], i["h"]) == ("475", "350")
                             else None)(env.probe()), 30, "the full face on screen")
    x, y = int(info["x"]), int(info["y"])
    steady(lambda: lit(env.screen_region(x + 30, y + 75, 390, 213)), "the face faded in")
    return x, y


# A spot of the header: a click there only gives the window the keyboard
# (a drag from there would move the window).
HEADER = (200, 40)


def activate(env, x, y):
    """Activates the ticker at (x, y) as a user does before using keys: a
    click on its header."""
    click(env, x + HEADER[0], y + HEADER[1])


OPTIONS_BUTTON = (401 + 10, 25 + 10)
SWITCHES = (35 + 40, 61 + 20, 300, 4 * 28)  # where the options sheet's switches come to rest


def open_options(env, x, y):
    """Opens the options panel with its button; returns once it has slid in."""
    def switches():
        return env.screen_region(x + SWITCHES[0], y + SWITCHES[1], *SWITCHES[2:])
    before = switches()
    click(env, x + OPTIONS_BUTTON[0], y + OPTIONS_BUTTON[1])
    steady(switches, "the options panel open", unlike=before)


def window_at(env, x, y, timeout=10):
    """Waits for the window's top-left corner to be at (x, y)."""
    try:
        return wait_for(lambda: (lambda i: i if i and (int(i["x"]), int(i["y"])) == (x, y) else None)(env.probe()),
                        timeout, f"the window at ({x}, {y})")
    except AssertionError as e:
        raise AssertionError(f"{e}; it is at {env.probe()}") from None


class Shot:
    """The pixels of the ticker's own X window (not the root's, so nothing
    drawn over it gets in)."""

    def __init__(self, env, name):
        xid = wait_for(lambda: window_id(env), 10, "the window's X id")
        xwd = subprocess.run(["xwd", "-id", xid, "-silent", "-display", env.display()],
                             capture_output=True, check=True, timeout=30).stdout
        out = env.source / "out"
        out.mkdir(exist_ok=True)
        subprocess.run(["/usr/bin/convert", "xwd:-", str(out / f"face-{name}.png")], input=xwd, check=True, timeout=30)
        size = subprocess.run(["/usr/bin/identify", "-format", "%w %h", "xwd:-"], input=xwd,
                              capture_output=True, check=True, timeout=30).stdout.split()
        self.w, self.h = int(size[0]), int(size[1])
        self.rgb = subprocess.run(["/usr/bin/convert", "xwd:-", "rgb:-"], input=xwd,
                                  capture_output=True, check=True, timeout=30).stdout

    def pixel(self, x, y):
        i = 3 * (y * self.w + x)
        return tuple(self.rgb[i:i + 3])

    def region(self, x, y, w, h):
        return b"".join(self.rgb[3 * ((y + r) * self.w + x):3 * ((y + r) * self.w + x + w)] for r in range(h))

    def lit_box(self):
        """Bounding box (x, y, w, h) of the pixels that are not black."""
        xs, ys = [], []
        for y in range(self.h):
            row = self.rgb[3 * y * self.w:3 * (y + 1) * self.w]
            lit = [x for x in range(self.w) if any(row[3 * x:3 * x + 3])]
            if lit:
                xs += [lit[0], lit[-1]]
                ys.append(y)
        return (min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1) if xs else None


def window_id(env):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^kavrelo$"],
                       env={"DISPLAY": env.display(), "PATH": "/usr/bin:/bin"}, capture_output=True, text=True)
    ids = r.stdout.split()
    return ids[-1] if ids else None



# Roles and states of Active Accessibility objects (oleacc.h).
ROLE_CLIENT, ROLE_LINK, ROLE_LIST, ROLE_LISTITEM = 10, 30, 33, 34
ROLE_STATICTEXT, ROLE_PUSHBUTTON, ROLE_CHECKBUTTON = 41, 43, 44
SELECTED, FOCUSED, CHECKED, INVISIBLE, OFFSCREEN = 0x2, 0x4, 0x10, 0x8000, 0x10000
FOCUSABLE, SELECTABLE = 0x100000, 0x200000


class Accessible:
    """One object of the ticker as a screen reader reads it: a line of
    `accprobe tree` (or focus, hit, nav). `rect` is (x, y, w, h) on the
    screen, or None."""

    def __init__(self, line):
        self.line = line
        path, role, state, self.name, self.description, self.value, self.action, rect = line.split("\t")
        self.path = path
        self.role = int(role) if role.lstrip("-").isdigit() else None
        self.state = int(state, 16) if state else 0
        self.rect = tuple(int(n) for n in rect.split(",")) if rect != "-" else None

    def has(self, state):
        return bool(self.state & state)

    def __repr__(self):
        return repr(self.line)


def accprobe(env, *args, timeout=120):
    """tools/accprobe.exe run on the ticker: the completed process."""
    return env.wine(env.acc_exe, *args, timeout=timeout)


def access_tree(env):
    """The ticker's accessible objects, depth first from the window's client
    object, or None when the probe could not read them."""
    r = accprobe(env, "tree")
    if r.returncode != 0:
        return None
    return [Accessible(line) for line in r.stdout.split("\n") if line]


def children(tree, parent):
    """The direct children of `parent` in a tree, in order."""
    prefix = parent.path + "." if parent.path else ""
    return [n for n in tree if n.path.startswith(prefix) and n.path != parent.path
            and "." not in n.path[len(prefix):]]


def news_items(tree):
    """The headlines of the news list in a tree (the list being the root's
    child with the list role), or None when there is no list."""
    lists = [n for n in children(tree, tree[0]) if n.role == ROLE_LIST] if tree else []
    return children(tree, lists[0]) if lists else None


class EventWatch:
    """`accprobe watch` running beside a test: the events a screen reader
    gets from the ticker, one line each as they come ("EVENT idObject
    idChild role state name"). The probe is started through the loader
    itself, since tools/wine-run.sh hands output over only at the end."""

    def __init__(self, env, seconds):
        exports = dict(re.findall(r"(\w+)='([^']*)'", env.wine_env()))
        loader = exports.pop("WINELOADER", "wine")
        self.proc = subprocess.Popen([loader, str(env.acc_exe), "watch", str(int(seconds * 1000))],
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                     encoding="utf-8", errors="replace",
                                     env=dict(os.environ, WINEDEBUG="-all", **exports))
        self.lines = []
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        wait_for(lambda: "ready" in self.lines, 30, "the event hook to be set")

    def _read(self):
        for line in self.proc.stdout:
            self.lines.append(line.rstrip("\n"))

    def events(self):
        """[(event, idObject, idChild, role, state, name)] so far; role and
        state are None when the object could not be read."""
        found = []
        for line in self.lines[self.lines.index("ready") + 1:]:
            f = line.split("\t")
            if len(f) == 6:
                found.append((f[0], int(f[1]), int(f[2]), int(f[3]) if f[3].isdigit() else None,
                               int(f[4], 16) if f[4] else None, f[5]))
            else:
                found.append((f[0], int(f[1]), int(f[2]), None, None, "\t".join(f[3:])))
        return found

    def stop(self):
        """Ends the watch (it is this test's own process) and returns its events."""
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait(30)
        self.thread.join(10)
        return self.events()


def news_feed(items):
    """An RSS feed of (title, link or None, summary) items."""
    def item(title, link, summary):
        link = f"<link>{escape(link)}</link>" if link else ""
        return f"<item><title>{escape(title)}</title>{link}<description>{escape(summary)}</description></item>"
    return ('<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"><channel><title>Son Dakika</title>'
            f"<link>http://news.example/</link>{''.join(item(*i) for i in items)}</channel></rss>").encode("utf-8")


def selected_headline(env):
    """(position from 1, object) of the one selected headline, or None."""
    items = news_items(access_tree(env) or [])
    chosen = [(i + 1, n) for i, n in enumerate(items or []) if n.has(SELECTED)]
    return chosen[0] if len(chosen) == 1 else None


def wait_selected(env, position, timeout=20):
    """Waits until the headline at `position` (from 1) is the selected one;
    its object."""
    def chosen():
        found = selected_headline(env)
        return found[1] if found and found[0] == position else None
    try:
        return wait_for(chosen, timeout, f"headline {position} selected")
    except AssertionError as e:
        raise AssertionError(f"{e}; selected: {selected_headline(env)}") from None


def win_path(path):
    """A host path as a Windows program under Wine names it."""
    return "Z:" + str(path).replace("/", "\\")


def wait_for(condition, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        for ticker in _tickers:
            crash = ticker.crash()
            if crash:
                raise AssertionError(f"the ticker {crash} while waiting for {what}")
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


FEED_PATH = re.compile(r"^/sondakika\.rss\?rand=(0|[1-9][0-9]{0,9})$")


def run(tests):
    """Runs test functions (each takes an Env); prints a summary line."""
    env = Env(parse_args())
    failed = 0
    for test in tests:
        env.kill_all()
        _tickers.clear()
        start = time.monotonic()
        try:
            test(env)
            print(f"PASS {test.__name__} ({time.monotonic() - start:.1f} s)", flush=True)
        except Exception as e:  # noqa: BLE001 - report every failure the same way
            failed += 1
            print(f"FAIL {test.__name__}: {type(e).__name__}: {e}", flush=True)
    print(f"{len(tests) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
