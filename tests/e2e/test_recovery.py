"""An ill-formed feed in the real ticker: the headlines a careful reader
would take from it are listed (as a screen reader finds them), the saved
feed is the bytes as downloaded, and the next start reads that file again
with the server gone."""

from harness import FeedServer, Ticker, access_tree, news_items, run, wait_for

# A PHP warning before the document, a prefix never declared, a bare "&",
# "&nbsp;", raw HTML in a description, a windows-1254 letter in UTF-8, and
# a download cut inside the fourth item.
ILL = (b"<br />\n<b>Warning</b>:  Cannot modify header information in <b>/var/www/rss.php</b><br />\n"
       b'<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"><channel><title>Son dakika</title>'
       b"<item><title>Haber 1: AT&T ve T\xc3\xbcrk Telekom anla\xc5\x9ft\xc4\xb1</title>"
       b"<dc:creator>Muhabir</dc:creator><link>http://news.example/1</link>"
       b"<description>Birinci<br>ikinci sat\xc4\xb1r <img src=a.png></description></item>"
       b"<item><title>Haber 2: Caf&eacute;&nbsp;k\xc3\xbclt\xc3\xbcr\xc3\xbc</title><link>http://news.example/2</link></item>"
       b"<item><title>Haber 3: \xddzmir'de ya\xc4\x9fmur</title><link>http://news.example/3</link></item>"
       b"<item><title>Haber 4: yar\xc4\xb1m kal")
HEADLINES = ["Haber 1: AT&T ve Türk Telekom anlaştı", "Haber 2: Café\u00a0kültürü", "Haber 3: İzmir'de yağmur"]


def headlines(env):
    items = news_items(access_tree(env))
    return [n.name for n in items] if items else None


def test_an_ill_formed_feed_is_listed_and_kept_as_downloaded(env):
    env.fresh_data_folder()
    with FeedServer(env.port, ILL), Ticker(env):
        shown = wait_for(lambda: (lambda h: h if h and len(h) == 3 else None)(headlines(env)), 60,
                         "three headlines in the accessible tree")
        assert shown == HEADLINES, shown
        cache = env.data / "news.xml"
        wait_for(cache.exists, 20, "the saved feed")
        assert cache.read_bytes() == ILL, "news.xml is not the bytes as downloaded"
    # No server now: the start reads the saved file, repaired again.
    with Ticker(env):
        shown = wait_for(lambda: (lambda h: h if h and len(h) == 3 else None)(headlines(env)), 60,
                         "the saved headlines at start-up")
        assert shown == HEADLINES, shown


if __name__ == "__main__":
    run([test_an_ill_formed_feed_is_listed_and_kept_as_downloaded])
