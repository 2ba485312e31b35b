"""A feed of hundreds of items in the real ticker: the end of the list is
painted, and a reload to a short feed while scrolled to the end shows the
short list with nothing blank above or below it."""

from harness import FeedServer, Ticker, click, run, steady, wait_for, xdo


def rss(count, tag="Haber"):
    items = "".join(
        f"<item><title>{tag} {i}: Kadıköy'de çarşı pazar yoğunluğu sürüyor</title>"
        f"<link>http://news.example/haber/{i}</link>"
        f"<description>&lt;p&gt;Esnaf, hafta sonu öncesi &lt;b&gt;alışverişin&lt;/b&gt; arttığını "
        f"söyledi; belediye ek otobüs seferleri koydu. Haber {i}.&lt;/p&gt;</description></item>"
        for i in range(count))
    return ('<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"><channel>'
            f"<title>Son Dakika</title><link>http://news.example/</link>{items}</channel></rss>").encode()



def headline_rows(pixels, width=390):
    """Rows of the list that carry dark-blue headline ink, as runs
    [(first, last), ...] from the top."""
    rows = []
    for y in range(len(pixels) // (3 * width)):
        line = pixels[y * 3 * width:(y + 1) * 3 * width]
        ink = sum(1 for x in range(0, len(line), 3)
                  if line[x + 2] > line[x] + 60 and line[x + 2] > line[x + 1] + 60)
        if ink >= 3:
            rows.append(y)
    runs = []
    for y in rows:
        if runs and y <= runs[-1][1] + 2:
            runs[-1][1] = y
        else:
            runs.append([y, y])
    return [tuple(r) for r in runs if r[1] - r[0] >= 4]


def press_end(env, before):
    """Gives the thumb the focus with a click (a headline would open the
    browser) and presses End until the list moves from `before`: a key
    pressed before the click is handled goes elsewhere, a second End is
    harmless."""
    info = wait_for(env.probe, 20, "the window")
    x, y = int(info["x"]), int(info["y"])
    click(env, x + 30 + 395 + 10, y + 75 + 30)

    def scrolled():
        xdo(env, "key", "End")
        return env.news_list_pixels() not in (None, before)
    wait_for(scrolled, 20, "the list to scroll")


def test_end_of_a_500_item_list_is_painted_and_a_short_reload_fills_the_view(env):
    env.fresh_data_folder()
    with FeedServer(env.port, rss(500)) as server, Ticker(env):
        first = wait_for(lambda: headline_rows(env.news_list_pixels() or b""), 60, "headlines in the list")
        assert first[0][0] < 20, f"the first headline is not at the top: {first}"
        before = env.news_list_pixels()
        press_end(env, before)
        end = headline_rows(steady(env.news_list_pixels, "the list at rest"))
        assert len(end) >= 2, f"the end of the list is blank: {end}"
        requests = len(server.feed_requests())
        server.feed = rss(3, "Kısa")
        # The next refresh brings the short feed: exactly three headlines,
        # the first at the top of the view.
        wait_for(lambda: len(server.feed_requests()) > requests, env.refresh * 3 + 30, "a refresh")
        short = wait_for(lambda: (lambda r: r if len(r) == 3 else None)(
            headline_rows(env.news_list_pixels() or b"")), 30, "three headlines")
        assert short[0][0] < 20, f"empty space above the short list: {short}"
        ping = env.ping(2)
        assert ping and ping["late"] == 0, ping


if __name__ == "__main__":
    run([test_end_of_a_500_item_list_is_painted_and_a_short_reload_fills_the_view])
