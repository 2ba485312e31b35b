"""The whole face as a user drives it: headlines, the options and about
panels, the miniature and its way back, the popup menu from the face, the
list and the tray icon, and the Update command. Screenshots of the window
itself go to out/face-*.png."""
import time

from harness import FeedServer, Shot, Ticker, feed, full_face, run, wait_for, xdo

WM_ACTIVATE = 6
WM_COMMAND = 273
WM_RBUTTONUP = 0x0205
CMD_ABOUT, CMD_OPTIONS, CMD_UPDATE = 40000, 40003, 40007


def menu_open(env):
    return env.wine(env.probe_exe, "menu").stdout.strip() == "menu=1"


def close_menu(env):
    xdo(env, "key", "Escape")
    wait_for(lambda: not menu_open(env), 10, "the menu to close")


def settled(env, name):
    """A shot once two in a row agree (animations done)."""
    def same():
        a = Shot(env, name)
        time.sleep(0.3)  # the gap between two looks, not a wait for anything
        b = Shot(env, name)
        return b if a.rgb == b.rgb else None
    return wait_for(same, 20, f"the {name} face at rest")


def headline_blue(shot):
    """Whether the first headline's dark blue shows where it is drawn."""
    for y in range(75, 75 + 22):
        for x in range(30, 30 + 300):
            r, g, b = shot.pixel(x, y)
            if b > 100 and r < 60 and g < 60:
                return True
    return False


def changed_box(a, b):
    """Bounding box (x0, y0, x1, y1) of the pixels that differ between two shots."""
    if (a.w, a.h) != (b.w, b.h):
        return f"size {a.w}x{a.h} against {b.w}x{b.h}"
    xs, ys = [], []
    for i in range(0, len(a.rgb), 3):
        if a.rgb[i:i + 3] != b.rgb[i:i + 3]:
            xs.append(i // 3 % a.w)
            ys.append(i // 3 // a.w)
    return (min(xs), min(ys), max(xs), max(ys)) if xs else None


def list_area(shot):
    return shot.region(30, 75, 390, 213)


def test_full_face_panels_and_menu(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)) as server, Ticker(env):
        x, y = full_face(env)
        wait_for(lambda: (env.data / "news.xml").exists(), 20, "the feed")
        face = settled(env, "full")
        assert (face.w, face.h) == (475, 350)
        assert headline_blue(face), "no headline colour where the first headline is drawn"

        # Options, then About: the about panel takes the options panel's place.
        assert env.post(WM_COMMAND, CMD_OPTIONS)
        options = settled(env, "options")
        assert list_area(options) != list_area(face), "the options panel did not open"
        assert env.post(WM_COMMAND, CMD_ABOUT)
        about = settled(env, "about")
        assert list_area(about) != list_area(face) and list_area(about) != list_area(options)
        assert env.post(WM_COMMAND, CMD_OPTIONS)
        assert list_area(settled(env, "options-again")) == list_area(options), "About then Options did not swap"
        assert env.post(WM_COMMAND, CMD_OPTIONS)  # and closed again
        assert list_area(settled(env, "closed")) == list_area(face)

        # The popup menu: right-click on the face, on the list, on the tray icon.
        for where in ((x + 200, y + 310), (x + 200, y + 150)):
            xdo(env, "mousemove", *where)
            xdo(env, "click", 3)
            wait_for(lambda: menu_open(env), 10, f"the menu at {where}")
            close_menu(env)
        wait_for(lambda: env.wine(env.probe_exe, "tray").stdout.startswith("tray=1"), 30, "the tray icon")
        assert env.wine(env.probe_exe, "tray-click", WM_RBUTTONUP).returncode == 0
        wait_for(lambda: menu_open(env), 10, "the menu from the tray icon")
        close_menu(env)

        # Update: exactly one request. Update is ignored while a refresh is
        # under way, and the test build refreshes every few seconds: start
        # right after a timer refresh, which the local server answers at
        # once, well before the next one is due.
        count = len(server.feed_requests())
        wait_for(lambda: len(server.feed_requests()) > count, 20, "a timer refresh")
        time.sleep(0.5)  # its exchange with the local server ends within this
        before = len(server.feed_requests())
        assert env.post(WM_COMMAND, CMD_UPDATE)
        wait_for(lambda: len(server.feed_requests()) == before + 1, 5, "the update request")
        time.sleep(1)  # a second request would come at once
        assert len(server.feed_requests()) == before + 1, server.feed_requests()


def test_miniature_and_back(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)), Ticker(env):
        full_face(env)
        face = settled(env, "before-miniature")
        # Another window becomes active.
        assert env.post(WM_ACTIVATE, 0)
        mini = settled(env, "miniature")
        box = mini.lit_box()
        assert box is not None and box[2:] == (119, 87), f"miniature {box}"
        assert env.post(WM_ACTIVATE, 1)
        back = settled(env, "restored")
        assert back.rgb == face.rgb, "the face did not come back whole"


def test_without_auto_size_deactivation_changes_nothing(env):
    env.fresh_data_folder()
    env.data.mkdir(parents=True)
    (env.data / "options.ini").write_bytes(
        b"\xff\xfe" + "[options]\r\nautoscale=0\r\n\r\n".encode("utf-16-le"))
    with FeedServer(env.port, feed(env)), Ticker(env):
        x, y = full_face(env)
        # The pointer, where the first test left it, would rest on the list:
        # a hover or a tooltip is not what this test is about.
        xdo(env, "mousemove", x + 475 + 40 if x + 475 + 40 < 1280 else max(x - 40, 0), y + 175)
        face = settled(env, "no-autosize")
        assert env.post(WM_ACTIVATE, 0)
        # The window stays where it was, shown, all the while.
        before = env.probe()
        end = time.monotonic() + 2
        while time.monotonic() < end:
            info = env.probe()
            assert info == before, f"the window changed from {before} to {info}"
            time.sleep(0.1)
        # And its face stays what it was. The test build refreshes the feed
        # every few seconds, and for the length of each refresh the busy
        # indicator and "Güncelleniyor..." show: a single shot may catch one,
        # so the face must come back between refreshes.
        last = []

        def unchanged():
            last[:] = [Shot(env, "no-autosize-inactive")]
            return last[0].rgb == face.rgb
        try:
            wait_for(unchanged, 3 * env.refresh, "the inactive face to equal the active one")
        except AssertionError:
            raise AssertionError(f"deactivation changed the face (differs in {changed_box(face, last[0])})")


if __name__ == "__main__":
    run([test_full_face_panels_and_menu, test_miniature_and_back, test_without_auto_size_deactivation_changes_nothing])
