#!/usr/bin/env python3
"""Writes the HTML-to-text benchmark corpus: feed-sized fragments (1-20 KB of
typical news markup with entities and Turkish text, about 5 MB in all), as
one file of records "<byte count>\\n<fragment bytes>". The same seed always
gives the same corpus.

usage: make_html_corpus.py OUTPUT [--megabytes N] [--seed S]
"""
import argparse
import random

WORDS = (
    "İstanbul Ankara İzmir Bursa Antalya Erzurum Kars Iğdır Muğla Çanakkale "
    "hükümet meclis bakanlık açıklama toplantı seçim ekonomi borsa dolar euro "
    "faiz enflasyon ihracat yağış kar fırtına sıcaklık derece uyarı meteoroloji "
    "trafik kaza yaralı sürücü otoyol köprü deprem büyüklüğünde sarsıntı "
    "öğrenci öğretmen üniversite sınav sonuç başvuru maç gol şampiyonluk "
    "takım teknik direktör transfer sezon lig kupa haftası ve ile için "
    "bir bu da de çok daha göre sonra önce yüzde milyon lira büyük yeni "
    "açıkladı belirtti söyledi bildirdi yaşandı gerçekleşti başladı sürüyor "
    "Çarşamba Perşembe Cumartesi Pazartesi şubat mart ağustos eylül"
).split()

ENTITIES = ["&amp;", "&quot;", "&nbsp;", "&#8230;", "&ouml;", "&uuml;", "&ccedil;",
            "&rsquo;", "&ldquo;", "&rdquo;", "&laquo;", "&raquo;", "&#252;", "&#x131;",
            "&deg;", "&euro;", "&ndash;", "&hellip;", "&lt;", "&gt;"]


def sentence(rng):
    words = [rng.choice(WORDS) for _ in range(rng.randint(6, 18))]
    out = []
    for w in words:
        r = rng.random()
        if r < 0.05:
            w = "<b>%s</b>" % w
        elif r < 0.08:
            w = "<i>%s</i>" % w
        elif r < 0.11:
            w = '<a href="http://haber.example/%s?id=%d&amp;ref=rss">%s</a>' % (
                rng.choice(["gundem", "spor", "ekonomi"]), rng.randint(1, 10**6), w)
        elif r < 0.15:
            w = w + rng.choice(ENTITIES)
        out.append(w)
    s = " ".join(out)
    return s[0].upper() + s[1:] + rng.choice([".", ".", ".", "!", "?", "&#8230;"])


def block(rng):
    r = rng.random()
    if r < 0.45:
        p = " ".join(sentence(rng) for _ in range(rng.randint(1, 5)))
        return "<p>%s</p>\n" % p if rng.random() < 0.8 else "<p>%s\n" % p  # unclosed too
    if r < 0.55:
        return '<img src="http://img.example/%d.jpg" width="120" height="90" alt="%s" />' % (
            rng.randint(1, 99999), rng.choice(WORDS))
    if r < 0.65:
        items = "".join("<li>%s%s" % (sentence(rng), "</li>" if rng.random() < 0.7 else "")
                        for _ in range(rng.randint(2, 6)))
        return "<ul>%s</ul>\n" % items
    if r < 0.72:
        rows = "".join("<tr><td>%s</td><td>%d&deg;C</td></tr>" % (rng.choice(WORDS), rng.randint(-20, 40))
                       for _ in range(rng.randint(2, 8)))
        return "<table><tbody>%s</tbody></table>\n" % rows
    if r < 0.80:
        return "<div class=\"ozet\"><strong>%s (AA)</strong> - %s<br />%s</div>\n" % (
            rng.choice(WORDS).upper(), sentence(rng), sentence(rng))
    if r < 0.84:
        return "<!-- reklam %d -->" % rng.randint(1, 999)
    if r < 0.88:
        return "<script type=\"text/javascript\">var id = %d; if (id < 5 && id > 1) {}</script>" % rng.randint(1, 9)
    if r < 0.92:
        return "<blockquote><p>%s</p></blockquote>" % sentence(rng)
    return "%s<br>\n" % sentence(rng)


def fragment(rng):
    target = rng.randint(1024, 20 * 1024)
    parts, size = [], 0
    while size < target:
        b = block(rng)
        parts.append(b)
        size += len(b.encode("utf-8"))
    return "".join(parts).encode("utf-8")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("output")
    ap.add_argument("--megabytes", type=float, default=5.0)
    ap.add_argument("--seed", type=int, default=20260101)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    total, limit = 0, int(args.megabytes * 1024 * 1024)
    with open(args.output, "wb") as f:
        while total < limit:
            data = fragment(rng)
            f.write(b"%d\n" % len(data))
            f.write(data)
            total += len(data)


if __name__ == "__main__":
    main()
