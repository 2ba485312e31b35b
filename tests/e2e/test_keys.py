"""The ticker from the keyboard alone, on the real window: the arrows, Home,
End and the page keys move the selected headline, Enter and Space open it as
a click does, Tab walks the buttons and the options panel, Shift+F10 and the
Apps key open the popup menu, and a refresh keeps or resets the selection.
What is selected is read as a screen reader reads it (tools/accprobe.exe)."""
from harness import (CHECKED, FOCUSED, OFFSCREEN, ROLE_CHECKBUTTON, ROLE_PUSHBUTTON, SELECTED, Accessible, FeedServer,
                     Ticker, access_tree, accprobe, activate, feed, full_face, ini, news_feed, news_items, run,
                     selected_headline, steady, wait_for, wait_selected, xdo)
from test_links import Traps, referral

LIST_AREA = (30, 75, 390, 213)  # the news list inside the window: x, y, width, height
# The scroll thumb is red; this column of the window crosses its track,
# which runs from about y=78 to y=285.
THUMB_X, TRACK = 434, (70, 295)


def stories(env, count, tag="Haber"):
    base = f"http://127.0.0.1:{env.port}/haber"
    return [(f"{tag} {i}: Kadıköy'de çarşı pazar yoğunluğu sürüyor", f"{base}/{tag.lower()}-{i}",
             f"Esnaf, hafta sonu öncesi alışverişin arttığını söyledi. {tag} {i}.") for i in range(1, count + 1)]


def opened_as(env, link):
    """The address the browser gets for a headline's link."""
    return f"{link}?ref={referral(env)}"


def key(env, name):
    xdo(env, "key", name)


def menu_open(env):
    return env.wine(env.probe_exe, "menu").stdout.strip() == "menu=1"


def headlines_shown(env, count, timeout=60):
    """Waits until a reader finds `count` headlines; the tree."""
    return wait_for(lambda: (lambda t: t if len(news_items(t) or []) == count else None)(access_tree(env)),
                    timeout, f"{count} headlines in the accessible tree")


def focused(env, role, name=None):
    """The object of that role (and name) holding the keyboard focus, or None."""
    tree = access_tree(env) or []
    hits = [n for n in tree if n.role == role and n.has(FOCUSED) and (name is None or n.name == name)]
    return hits[0] if hits else None


def wait_focused(env, role, name=None, what=None):
    what = what or f"the focus on {name or role}"
    try:
        return wait_for(lambda: focused(env, role, name), 20, what)
    except AssertionError as e:
        now = [n for n in access_tree(env) or [] if n.has(FOCUSED)]
        raise AssertionError(f"{e}; focused now: {now}") from None


def thumb(env, x, y):
    """(first, last) window rows of the red scroll thumb, or None."""
    column = env.screen_region(x + THUMB_X, y + TRACK[0], 1, TRACK[1] - TRACK[0])
    red = [r for r in range(len(column) // 3)
           if column[3 * r] > 150 and column[3 * r + 1] < 90 and column[3 * r + 2] < 90]
    return (TRACK[0] + red[0], TRACK[0] + red[-1]) if red else None


def inside(rect, x, y, w, h):
    rx, ry, rw, rh = rect
    return x <= rx and y <= ry and rx + rw <= x + w and ry + rh <= y + h


def test_arrows_enter_space_and_the_menu_keys(env):
    items = stories(env, 5)
    traps = Traps(env)
    try:
        env.fresh_data_folder()
        with FeedServer(env.port, news_feed(items)), Ticker(env):
            x, y = full_face(env)
            headlines_shown(env, 5)
            activate(env, x, y)
            # The list has the focus, its first headline selected; nothing
            # shows that yet.
            first = wait_for(lambda: (lambda s: s[1] if s and s[0] == 1 and s[1].has(FOCUSED) else None)(
                selected_headline(env)), 20, "the first headline selected and focused")
            plain = steady(env.news_list_pixels, "the list at rest")
            key(env, "Down")
            wait_selected(env, 2)
            key(env, "Up")
            assert wait_selected(env, 1).name == first.name
            marked = steady(env.news_list_pixels, "the list at rest")
            assert marked != plain, "the same headline selected after a key looks as before: no highlight drawn"
            key(env, "Down")
            wait_selected(env, 2)
            key(env, "Down")
            wait_selected(env, 3)
            key(env, "Return")
            wait_for(lambda: traps.opened(), 20, "the browser to get the third headline")
            assert traps.opened() == [opened_as(env, items[2][1])], traps.opened()
            key(env, "Up")
            wait_selected(env, 2)
            key(env, "space")
            wait_for(lambda: len(traps.opened()) >= 2, 20, "the browser to get the second headline")
            assert traps.opened() == [opened_as(env, items[2][1]), opened_as(env, items[1][1])], traps.opened()
            key(env, "End")
            wait_selected(env, 5)
            key(env, "Home")
            wait_selected(env, 1)
            for keys in ("shift+F10", "Menu"):
                key(env, keys)
                wait_for(lambda: menu_open(env), 20, f"the popup menu after {keys}")
                key(env, "Escape")
                wait_for(lambda: not menu_open(env), 20, f"the popup menu closed after {keys}, Escape")
            # Nothing of this opened anything more.
            assert len(traps.opened()) == 2, traps.opened()
    finally:
        traps.close()


def test_tab_walks_the_buttons_and_the_options_panel(env):
    env.fresh_data_folder()
    with FeedServer(env.port, feed(env)), Ticker(env):
        x, y = full_face(env)
        activate(env, x, y)
        wait_for(lambda: (lambda s: s and s[1].has(FOCUSED))(selected_headline(env)), 20,
                 "the list's first headline focused")
        key(env, "Tab")
        wait_focused(env, ROLE_PUSHBUTTON, "Seçenekler")
        key(env, "Return")
        switches = wait_for(lambda: [n for n in access_tree(env) or [] if n.role == ROLE_CHECKBUTTON], 20,
                            "the options panel's switches")
        assert len(switches) == 5, switches
        key(env, "Tab")
        second = wait_focused(env, ROLE_CHECKBUTTON, switches[1].name, "the focus on the second switch")
        assert ini(env).get("alwaystop", "1") == "1"
        key(env, "space")
        wait_for(lambda: ini(env).get("alwaystop") == "0", 10, "alwaystop=0 in options.ini")
        assert not int(env.probe()["exstyle"], 16) & 0x8, "still always on top"
        assert second.has(CHECKED) and not wait_focused(env, ROLE_CHECKBUTTON, second.name).has(CHECKED)
        key(env, "Escape")
        wait_for(lambda: not [n for n in access_tree(env) or [] if n.role == ROLE_CHECKBUTTON], 20,
                 "the options panel closed")
        wait_focused(env, ROLE_PUSHBUTTON, "Seçenekler", "the focus back on the options button")
        # Around the face: the close button, the list, and back.
        key(env, "Tab")
        close = wait_focused(env, ROLE_PUSHBUTTON, "Kapat")
        key(env, "Tab")
        wait_for(lambda: (lambda s: s and s[1].has(FOCUSED))(selected_headline(env)), 20,
                 "the focus back on the list")
        key(env, "shift+Tab")
        assert wait_focused(env, ROLE_PUSHBUTTON, "Kapat").path == close.path
        assert env.probe(), "the window went away"


# A list of hundreds is read a few objects at a time: the whole tree takes
# a round trip per field of every headline.
def reader(env, *args):
    """The object `accprobe --no-path ARGS` names (focus, nav), or None."""
    r = accprobe(env, "--no-path", *args)
    line = r.stdout.split("\n")[0]
    return Accessible(line) if r.returncode == 0 and line not in ("", "none") else None


def headline_count(env):
    r = accprobe(env, "count", "1")  # the news list is the root's first child
    return int(r.stdout) if r.returncode == 0 and r.stdout.strip().isdigit() else None


def wait_count(env, count, timeout):
    try:
        wait_for(lambda: headline_count(env) == count, timeout, f"{count} headlines in the list")
    except AssertionError as e:
        raise AssertionError(f"{e}; it has {headline_count(env)}") from None


def wait_focus_on(env, name, timeout=30):
    """Waits until the headline named `name` is the selected one and has the
    keyboard focus; its object."""
    def there():
        now = reader(env, "focus")
        return now if now and now.name == name and now.has(SELECTED) else None
    try:
        return wait_for(there, timeout, f"{name!r} selected and focused")
    except AssertionError as e:
        raise AssertionError(f"{e}; focused: {reader(env, 'focus')}") from None


def test_end_of_a_long_list_and_the_selection_over_refreshes(env):
    items = stories(env, 500)
    names = [i[0] for i in items]
    env.fresh_data_folder()
    with FeedServer(env.port, news_feed(items)) as server, Ticker(env):
        x, y = full_face(env)
        wait_count(env, 500, 60)
        activate(env, x, y)
        first = wait_focus_on(env, names[0])
        top_view = steady(env.news_list_pixels, "the list at rest")
        top_thumb = thumb(env, x, y)
        assert top_thumb and top_thumb[0] < TRACK[0] + 20, f"the thumb is not at the top: {top_thumb}"
        key(env, "End")
        last = wait_focus_on(env, names[-1])
        assert not last.has(OFFSCREEN), f"the last headline is selected but out of view: {last}"
        lx, ly = x + LIST_AREA[0], y + LIST_AREA[1]
        assert last.rect and inside(last.rect, lx, ly, *LIST_AREA[2:]), f"{last.rect} not in the list's view"
        assert reader(env, "nav", "1", 8).name == names[-1], "the focused headline is not the list's last"
        assert reader(env, "nav", "1", 7).has(OFFSCREEN), "the first headline is still in view"
        end_view = steady(env.news_list_pixels, "the list at its end", unlike=top_view)
        assert end_view != top_view
        end_thumb = thumb(env, x, y)
        assert end_thumb and end_thumb[1] >= TRACK[1] - 15 and end_thumb[0] > top_thumb[1], \
            f"the thumb is not at the bottom of its track: {end_thumb}, at the top it was {top_thumb}"
        # Home, and a page down and up: a page is about as many headlines
        # as the view holds.
        key(env, "Home")
        assert not wait_focus_on(env, names[0]).has(OFFSCREEN)
        assert first.rect, first
        in_view = -(-LIST_AREA[3] // first.rect[3])
        key(env, "Next")
        page = wait_for(lambda: (lambda f: f if f and f.name != names[0] else None)(reader(env, "focus")), 20,
                        "Page Down to move the selection")
        assert page.name in names[1:2 * in_view + 1] and page.has(SELECTED) and not page.has(OFFSCREEN), \
            (page, in_view)
        key(env, "Prior")
        wait_focus_on(env, names[0])
        # A refresh that keeps the selected headline keeps the selection on
        # it, wherever it moves; one that drops it selects the first.
        key(env, "End")
        wait_focus_on(env, names[-1])
        fresh = ("Son dakika: yeni haber", f"http://127.0.0.1:{env.port}/haber/yeni", "Yeni bir gelişme.")
        server.feed = news_feed([fresh] + items)
        wait_count(env, 501, env.refresh * 3 + 30)
        wait_focus_on(env, names[-1])
        assert reader(env, "nav", "1", 8).name == names[-1] and reader(env, "nav", "1", 7).name == fresh[0]
        server.feed = news_feed([fresh] + items[:-2])
        wait_count(env, 499, env.refresh * 3 + 30)
        wait_focus_on(env, fresh[0])


if __name__ == "__main__":
    run([
        test_arrows_enter_space_and_the_menu_keys,
        test_tab_walks_the_buttons_and_the_options_panel,
        test_end_of_a_long_list_and_the_selection_over_refreshes,
    ])
