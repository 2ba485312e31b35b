"""The ticker over https, against a TLS server on loopback: a certificate
from the test CA (trusted by the test prefix alone) is taken, any other is
refused and the saved feed stays as it was, a redirect never leads from
https to http, and every exchange says who it is and nothing more.

The program under test is the https build of the test build (tls/kavrelo.exe):
news and web host localhost on the port after the test port, the counter
plain http on the test port."""
import time

import tls
from harness import FeedServer, Ticker, feed, run, wait_for

IDNO = 7


def tls_port(env):
    return env.port + 1


def certs(env):
    return tls.make_certs(env.build / "tls-certs")


def program(env):
    return env.build / "tls" / "kavrelo.exe"


def saved_feed(env):
    path = env.data / "news.xml"
    return path.read_bytes() if path.exists() else None


def trusted_with_cache(env):
    """The test CA trusted, and a saved feed of its own in a fresh data
    folder: (the certificates' folder, the saved bytes)."""
    folder = certs(env)
    tls.trust_ca(env.wine, folder / "ca.pem")
    cached = feed(env).replace(b"<title>", b"<title>Eski ", 1)
    env.fresh_data_folder()
    env.data.mkdir(parents=True)
    (env.data / "news.xml").write_bytes(cached)
    return folder, cached


def test_a_good_certificate_brings_the_feed_and_the_update_offer(env):
    folder = certs(env)
    tls.trust_ca(env.wine, folder / "ca.pem")
    env.fresh_data_folder()
    manifest = b"<data><version>2.1</version></data>"
    counter_at = f"https://localhost:{tls_port(env)}/swidget/kavrelo.gif"
    with FeedServer(tls_port(env), feed(env), manifest=manifest, tls=(folder, "valid")) as secure, \
            FeedServer(env.port, counter_mode="redirect", location=counter_at) as plain, \
            Ticker(env, program(env)) as ticker:
        ticker.wait_window()
        wait_for(lambda: saved_feed(env) == feed(env), 30, "the feed over https")
        text = wait_for(env.message_box, 20, "the update offer over https")
        assert "yeni sürüm" in text, text
        assert env.answer_message_box(IDNO)
        # The counter's plain http redirect to https is followed.
        wait_for(lambda: secure.paths("/swidget/kavrelo.gif"), 20, "the counter, redirected to https")
        assert plain.paths("/swidget/kavrelo.gif")
        assert not plain.paths("/sondakika.rss") and not plain.paths("/kavrelo.xml")
        for path, headers in secure.headers + plain.headers:
            assert headers.get("user-agent", "").startswith("Kavrelo/2.0 (Windows NT "), (path, headers)
            assert "cookie" not in headers and "referer" not in headers, (path, headers)


def refused(name):
    def test(env):
        folder, cached = trusted_with_cache(env)
        manifest = b"<data><version>2.1</version></data>"
        with FeedServer(tls_port(env), feed(env), manifest=manifest, tls=(folder, name)) as server, \
                FeedServer(env.port), Ticker(env, program(env)) as ticker:
            ticker.wait_window()
            # The feed and the manifest both tried.
            wait_for(lambda: server.connections >= 2, 30, "two TLS connections")
            time.sleep(1)  # a request after the handshake would have come by now
            assert server.requests == [], f"a request went over a {name} certificate: {server.requests}"
            assert saved_feed(env) == cached
            assert env.message_box() is None
            assert ticker.proc.poll() is None
    test.__name__ = f"test_a_{name}_certificate_is_refused_and_the_saved_feed_kept"
    return test


def test_a_redirect_from_https_to_http_is_refused(env):
    folder, cached = trusted_with_cache(env)
    plain_feed = f"http://127.0.0.1:{env.port}/sondakika.rss?rand=1"
    with FeedServer(tls_port(env), mode="redirect", location=plain_feed, tls=(folder, "valid")) as secure, \
            FeedServer(env.port, feed(env)) as plain, Ticker(env, program(env)) as ticker:
        ticker.wait_window()
        wait_for(lambda: len(secure.feed_requests()) >= 2, env.refresh * 2 + 20, "two feed requests")
        time.sleep(1)  # a followed redirect would have reached the plain server by now
        assert plain.feed_requests() == [], "the redirect to http was followed"
        assert saved_feed(env) == cached


if __name__ == "__main__":
    run([
        test_a_good_certificate_brings_the_feed_and_the_update_offer,
        refused("selfsigned"),
        refused("expired"),
        refused("wronghost"),
        test_a_redirect_from_https_to_http_is_refused,
    ])
