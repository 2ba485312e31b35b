"""The ticker as a screen reader finds it, from another process through
Active Accessibility (tools/accprobe.exe): the headlines with their
summaries and addresses, the buttons, the switches of the options panel and
their states, a headline opened by its default action, where the headlines
are, a refresh, and the events a reader gets as the selection moves."""
import subprocess
from pathlib import Path

from harness import (CHECKED, FOCUSABLE, FOCUSED, OFFSCREEN, ROLE_CHECKBUTTON, ROLE_CLIENT, ROLE_LIST,
                     ROLE_LISTITEM, ROLE_PUSHBUTTON, ROLE_STATICTEXT, SELECTABLE, EventWatch, FeedServer, Ticker,
                     access_tree, accprobe, children, click, feed, full_face, ini, news_feed, news_items,
                     open_options, run, wait_for, wait_selected, xdo)
from test_links import Traps, referral

# The switches' captions, as the options panel shows them, top to bottom.
SWITCHES = ["Windows her açıldığında otomatik olarak başlat.", "Pencereyi her zaman en üstte tut.",
            "Sistem Tepsisinde program simgesini göster.", "Otomatik boyutlandırmayı etkinleştir.", "Yeni haberleri bildir"]
SECOND_SWITCH = (35 + 40 + 10, 61 + 48 + 10)  # where a click flips "alwaystop", in the window
LIST_AREA = (30, 75, 390, 213)
WM_RBUTTONUP = 517


def menu_open(env):
    return env.wine(env.probe_exe, "menu").stdout.strip() == "menu=1"


def tree_with(env, count, timeout=60):
    """Waits until a reader finds `count` headlines; the tree."""
    return wait_for(lambda: (lambda t: t if len(news_items(t) or []) == count else None)(access_tree(env)),
                    timeout, f"{count} headlines in the accessible tree")


def top(tree):
    """The root's children: what the face shows, in order."""
    return children(tree, tree[0]) if tree else []


def inside(rect, x, y, w, h):
    rx, ry, rw, rh = rect
    return x <= rx and y <= ry and rx + rw <= x + w and ry + rh <= y + h


def test_headlines_buttons_and_a_headline_opened_by_a_reader(env):
    base = f"http://127.0.0.1:{env.port}"
    items = [("Haber 1: İzmir'de şiddetli yağış", f"{base}/haber/1", "Meteoroloji turuncu uyarı verdi."),
             ("Haber 2: Ankara'da trafik düzenlemesi", f"{base}/haber/2?kaynak=a", "Bazı yollar gece kapalı olacak."),
             ("Haber 3: Göreli bağlantı", "/goreli/3", "Adresi sitenin kendisine göre verilmiş."),
             ("Haber 4: Bağlantısız haber", None, "Bu haberin açılacak bir adresi yok.")]
    ref = referral(env)
    want = [f"{base}/haber/1?ref={ref}", f"{base}/haber/2?kaynak=a&ref={ref}", f"{base}/goreli/3?ref={ref}", ""]
    traps = Traps(env)
    try:
        env.fresh_data_folder()
        with FeedServer(env.port, news_feed(items)), Ticker(env):
            x, y = full_face(env)
            tree = tree_with(env, 4)
            assert tree[0].role == ROLE_CLIENT and tree[0].path == "", tree[0]
            face = top(tree)
            assert [(n.role, n.name) for n in face[:3]] == [
                (ROLE_LIST, "Son dakika haberleri"), (ROLE_PUSHBUTTON, "Seçenekler"), (ROLE_PUSHBUTTON, "Kapat")], face
            assert len(face) == 4 and face[3].role == ROLE_STATICTEXT, face
            assert [n.action for n in face[1:3]] == ["Bas", "Bas"], face
            heads = news_items(tree)
            assert [n.role for n in heads] == [ROLE_LISTITEM] * 4, heads
            assert [n.name for n in heads] == [i[0] for i in items], heads
            assert [n.description for n in heads] == [i[2] for i in items], heads
            assert [n.value for n in heads] == want, heads
            assert all(n.action == "Aç" and n.has(FOCUSABLE) and n.has(SELECTABLE) for n in heads), heads
            # Where the headlines are: in view, inside the window and its list.
            info = env.probe()
            window = (int(info["x"]), int(info["y"]), int(info["w"]), int(info["h"]))
            shown = [n for n in heads if not n.has(OFFSCREEN)]
            assert shown and shown[0] is heads[0], heads
            for n in shown:
                assert n.rect and inside(n.rect, *window), f"{n.rect} not inside the window {window}"
                assert inside(n.rect, x + LIST_AREA[0], y + LIST_AREA[1], *LIST_AREA[2:]), \
                    f"{n.rect} not inside the list at {x + LIST_AREA[0]},{y + LIST_AREA[1]}"
            rows = [n.rect[1] for n in shown]
            assert rows == sorted(set(rows)), f"rows not top to bottom: {rows}"
            # The reader's default action opens the second headline as a click does.
            r = accprobe(env, "do", heads[1].path)
            assert r.returncode == 0 and r.stdout.strip() == "ok", r.stdout + r.stderr
            wait_for(traps.opened, 20, "the browser to get the second headline")
            assert traps.opened() == [want[1]], traps.opened()
    finally:
        traps.close()


def test_switches_read_and_flipped_by_click_and_by_a_reader(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)), Ticker(env):
        x, y = full_face(env)
        tree = wait_for(lambda: (lambda t: t if news_items(t) else None)(access_tree(env)), 60, "the news list")
        assert not [n for n in tree if n.role == ROLE_CHECKBUTTON], "switches read while the panel is closed"
        open_options(env, x, y)
        tree = wait_for(lambda: (lambda t: t if len(top(t)) == 10 else None)(access_tree(env)), 20,
                        "the panel's switches and close button")
        panel = top(tree)[4:]
        assert [(n.role, n.name) for n in panel] == [(ROLE_CHECKBUTTON, s) for s in SWITCHES] + [
            (ROLE_PUSHBUTTON, "Kapat")], panel
        assert all(n.has(CHECKED) and n.action == "Değiştir" for n in panel[:5]), panel

        def checked(path):
            return next(n for n in access_tree(env) if n.path == path).has(CHECKED)

        # A click on the second switch, and a reader reads it off, then on again.
        second, fourth = panel[1].path, panel[3].path
        for value in ("0", "1"):
            click(env, x + SECOND_SWITCH[0], y + SECOND_SWITCH[1])
            wait_for(lambda: ini(env).get("alwaystop") == value, 10, f"alwaystop={value} in options.ini")
            wait_for(lambda: checked(second) == (value == "1"), 10, f"the switch read as {value}")
        # The reader's default action flips the fourth as a click does.
        for value in ("0", "1"):
            r = accprobe(env, "do", fourth)
            assert r.returncode == 0 and r.stdout.strip() == "ok", r.stdout + r.stderr
            wait_for(lambda: ini(env).get("autoscale") == value, 10, f"autoscale={value} in options.ini")
            wait_for(lambda: checked(fourth) == (value == "1"), 10, f"the fourth switch read as {value}")
        # The panel's close button closes it, and its objects go with it.
        r = accprobe(env, "do", panel[5].path)
        assert r.returncode == 0 and r.stdout.strip() == "ok", r.stdout + r.stderr
        wait_for(lambda: len(top(access_tree(env))) == 4, 20, "the panel's objects gone")


def test_offscreen_headlines_and_a_refresh_recounts_the_list(env):
    base = f"http://127.0.0.1:{env.port}/haber"
    items = [(f"Haber {i}: uzun listede bir başlık", f"{base}/{i}", f"Özet {i}.") for i in range(1, 61)]
    others = [(f"Yeni {i}: başka bir akış", f"{base}/yeni-{i}", f"Yeni özet {i}.") for i in range(1, 8)]
    with FeedServer(env.port, news_feed(items)) as server, Ticker(env):
        full_face(env)
        heads = news_items(tree_with(env, 60))
        assert not heads[0].has(OFFSCREEN), heads[0]
        assert heads[-1].has(OFFSCREEN), f"the 60th headline is not out of view: {heads[-1]}"
        assert all(n.has(OFFSCREEN) for n in heads[20:]), [n for n in heads[20:] if not n.has(OFFSCREEN)]
        list_path = top(access_tree(env))[0].path
        watch = EventWatch(env, env.refresh * 3 + 60)
        try:
            server.feed = news_feed(others)
            wait_for(lambda: accprobe(env, "count", list_path).stdout.strip() == "7", env.refresh * 3 + 30,
                     "the list to count the 7 headlines of the new feed")
            assert [n.name for n in news_items(access_tree(env))] == [o[0] for o in others]
            wait_for(lambda: [e for e in watch.events() if e[0] == "REORDER"], 10, "a REORDER event")
        finally:
            events = watch.stop()
        print("events of the refresh:", *[line for line in watch.lines[1:] if not line.startswith("0x800b")],
              sep="\n  ", flush=True)
        # The status line changed its text over the refresh, and a reader
        # heard of it (what it reads then may already be the next text).
        assert [e for e in events if e[0] == "NAMECHANGE" and e[3] == ROLE_STATICTEXT], events


def test_events_as_the_window_is_activated_and_down_pressed_twice(env):
    base = f"http://127.0.0.1:{env.port}/haber"
    items = [(f"Haber {i}: olay sırası", f"{base}/{i}", f"Özet {i}.") for i in range(1, 6)]
    with FeedServer(env.port, news_feed(items)), Ticker(env):
        full_face(env)
        heads = news_items(tree_with(env, 5))
        # Another program takes the focus first, so that the ticker is
        # activated for real below. Under Wine without a window manager a
        # click on the ticker does not take the focus back from it; a right
        # click on the tray icon brings the ticker to the foreground with
        # its menu, as on Windows.
        other = subprocess.Popen([str(env.wine_run), str(env.build), "notepad.exe"],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_for(lambda: (lambda t: t and not t[0].has(FOCUSED))(access_tree(env)), 30,
                     "the ticker to lose the focus to notepad")
            watch = EventWatch(env, 120)
            try:
                assert env.wine(env.probe_exe, "tray-click", WM_RBUTTONUP).returncode == 0
                wait_for(lambda: menu_open(env), 20, "the tray icon's menu")
                xdo(env, "key", "Escape")
                wait_for(lambda: not menu_open(env), 20, "the menu closed")
                wait_for(lambda: (lambda t: t and t[0].has(FOCUSED))(access_tree(env)), 20,
                         "the ticker to have the focus")
                wait_selected(env, 1)
                xdo(env, "key", "Down")
                wait_selected(env, 2)
                xdo(env, "key", "Down")
                wait_selected(env, 3)
                wait_for(lambda: [e for e in watch.events() if e[0] == "FOCUS" and e[5] == heads[2].name], 10,
                         "the FOCUS event of the third headline")
            finally:
                events = watch.stop()
        finally:
            env.wine("taskkill", "/f", "/im", "notepad.exe")
            other.wait(30)
        # Location changes of the window and the like are left out.
        lines = [line for line in watch.lines[watch.lines.index("ready") + 1:] if not line.startswith("0x800b")]
        print("events of activate, Down, Down:", *lines, sep="\n  ", flush=True)
        out = Path(env.source) / "out"
        out.mkdir(exist_ok=True)
        (out / "access-events.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")
        said = [(e[0], e[5]) for e in events if e[0] in ("FOCUS", "SELECTION") and e[3] == ROLE_LISTITEM]
        assert said and said[0] == ("FOCUS", heads[0].name), f"activation did not announce the first headline: {said}"
        for n in (1, 2):
            assert ("FOCUS", heads[n].name) in said, f"no FOCUS on {heads[n].name!r}: {said}"
            assert ("SELECTION", heads[n].name) in said, f"no SELECTION on {heads[n].name!r}: {said}"
        assert said.index(("FOCUS", heads[1].name)) < said.index(("FOCUS", heads[2].name)), said
        # What the reader spoke last is the headline now selected and focused.
        assert said[-1][1] == heads[2].name, said
        for e in events:
            if e[0] in ("FOCUS", "SELECTION"):
                assert e[1] == -4 and e[3] is not None, f"an event a reader cannot resolve: {e}"


if __name__ == "__main__":
    run([
        test_headlines_buttons_and_a_headline_opened_by_a_reader,
        test_switches_read_and_flipped_by_click_and_by_a_reader,
        test_offscreen_headlines_and_a_refresh_recounts_the_list,
        test_events_as_the_window_is_activated_and_down_pressed_twice,
    ])
