"""The once-per-run update offer and the visitor counter."""
import time

from harness import FeedServer, Ticker, feed, run, wait_for

IDNO = 7


def test_newer_version_is_offered_once(env):
    manifest = b'<?xml version="1.0"?><data><version>2.1</version></data>'
    with FeedServer(env.port, feed(env), manifest=manifest) as server, Ticker(env) as ticker:
        ticker.wait_window()
        text = wait_for(env.message_box, 20, "the update offer")
        assert text == '"Kavrelo" için yeni sürüm hazır. İndirmek ister misiniz?', text
        # Timers go on while the box is open.
        wait_for(lambda: len(server.feed_requests()) >= 2, env.refresh * 2 + 10, "a refresh behind the box")
        assert env.answer_message_box(IDNO)
        wait_for(lambda: env.message_box() is None, 10, "the box to close")
        time.sleep(env.refresh + 1)  # a refresh later, no second offer
        assert env.message_box() is None
        manifests = server.paths("/kavrelo.xml")
        assert len(manifests) == 1, manifests
        assert manifests[0].startswith("/kavrelo.xml?rand=")


def test_same_older_or_textually_smaller_version_is_silent(env):
    for version in (b"2.0", b"1.9", b"10.0", b""):
        manifest = b"<data><version>" + version + b"</version></data>"
        with FeedServer(env.port, feed(env), manifest=manifest) as server, Ticker(env):
            wait_for(lambda: server.paths("/kavrelo.xml"), 20, "the manifest request")
            time.sleep(2)  # an offer would be up by now
            assert env.message_box() is None, version
    with FeedServer(env.port, feed(env), manifest=b"<html>404</html>") as server, Ticker(env):
        wait_for(lambda: server.paths("/kavrelo.xml"), 20, "the manifest request")
        time.sleep(2)  # an offer would be up by now
        assert env.message_box() is None


def laughs(levels):
    entities = ['<!ENTITY l0 "lol">'] + [
        f'<!ENTITY l{i} "{("&l%d;" % (i - 1)) * 10}">' for i in range(1, levels + 1)]
    return (b'<?xml version="1.0"?><!DOCTYPE data [' + "".join(entities).encode() +
            f"]><data><version>&l{levels};</version></data>".encode())


def test_hostile_manifests_offer_nothing_and_never_hold_the_window(env):
    external = (b'<?xml version="1.0"?><!DOCTYPE data [<!ENTITY v SYSTEM "file:///C:/windows/win.ini">]>'
                b"<data><version>9&v;</version></data>")
    for manifest in (laughs(9), external):
        with FeedServer(env.port, feed(env), manifest=manifest) as server, Ticker(env) as ticker:
            ticker.wait_window()
            pings = env.ping(4)
            assert server.paths("/kavrelo.xml"), "no manifest request"
            assert pings and pings["late"] == 0 and not pings["gone"], pings
            assert env.message_box() is None


def test_counter_requested_at_start_and_on_every_tick(env):
    with FeedServer(env.port, feed(env)) as server, Ticker(env) as ticker:
        ticker.wait_window()
        wait_for(lambda: len(server.paths("/swidget/kavrelo.gif")) >= 2, env.refresh * 2 + 10, "two counter hits")
        assert set(server.paths("/swidget/")) == {"/swidget/kavrelo.gif"}


def test_hanging_counter_request_absorbs_ticks(env):
    with FeedServer(env.port, feed(env), counter_mode="stall") as server, Ticker(env) as ticker:
        ticker.wait_window()
        wait_for(lambda: server.paths("/swidget/"), 20, "the counter request")
        # The time-out ends the hung request; until then no tick adds one.
        time.sleep(min(env.refresh * 1.5, env.http_timeout - 1))  # past a tick, inside the time-out
        assert len(server.paths("/swidget/")) == 1


if __name__ == "__main__":
    run([
        test_newer_version_is_offered_once,
        test_same_older_or_textually_smaller_version_is_silent,
        test_hostile_manifests_offer_nothing_and_never_hold_the_window,
        test_counter_requested_at_start_and_on_every_tick,
        test_hanging_counter_request_absorbs_ticks,
    ])
