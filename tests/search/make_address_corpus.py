#!/usr/bin/env python3
"""Writes tests/search/address_corpus.tsv: addresses written the ways people
write them, each with the postal code of the list row it was written from.

Every address starts from one row of the bundled nationwide list
(data/ken_all.zip) and is then written in one of the forms below; the expected
code is that row's. A town area whose name has several codes in its city is
written only to expect no code at all: this list has lost the notes that tell
such rows apart, so any code would be a guess. An address that, as written,
would name another town area of the list (a longer name it starts with) or a
city other than its own is not written: its answer would not be the row it
came from. The output is the same on every run (fixed seed).

    python3 tests/search/make_address_corpus.py
"""

import collections
import csv
import io
import pathlib
import random
import re
import unicodedata
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
OUT = ROOT / "tests" / "search" / "address_corpus.tsv"

KANJI_DIGITS = "〇一二三四五六七八九"
UNITS = {"十": 10, "百": 100, "千": 1000}
VARIANTS = {"髙": "高", "﨑": "崎", "嵜": "崎", "邊": "辺", "邉": "辺", "澤": "沢", "櫻": "桜", "檜": "桧",
            "舟": "船", "嶋": "島", "嶌": "島", "濱": "浜", "國": "国", "廣": "広", "瀧": "滝", "德": "徳",
            "龍": "竜", "條": "条", "齋": "斎", "齊": "斎", "曾": "曽", "槇": "槙", "舘": "館", "冨": "富",
            "峯": "峰", "淵": "渕", "ヶ": "ケ", "が": "ケ", "ガ": "ケ", "ヵ": "ケ", "ノ": "の", "之": "の", "つ": "ツ"}
OLD_FORMS = {"高": "髙", "崎": "﨑", "辺": "邊", "沢": "澤", "桜": "櫻", "桧": "檜", "島": "嶋", "浜": "濱",
             "国": "國", "広": "廣", "滝": "瀧"}


def kanji_number(run):
    run = run.replace("廿", "二十").replace("卅", "三十")
    if not any(c in UNITS for c in run):
        return "".join(str(KANJI_DIGITS.index(c)) for c in run)
    total, pending = 0, None
    for c in run:
        if c in KANJI_DIGITS:
            pending = KANJI_DIGITS.index(c)
        else:
            total += (1 if pending is None else pending) * UNITS[c]
            pending = None
    return str(total + (pending or 0))


def fold(text):
    """A rough fold, only to tell which names an address could be read as."""
    out = []
    for c in unicodedata.normalize("NFKC", text):
        if "\uff01" <= c <= "\uff5e":
            c = chr(ord(c) - 0xFEE0)
        if c in "－ー‐−":
            c = "-"
        if c in " \u3000":
            continue
        out.append(VARIANTS.get(c, c))
    return re.sub("[〇一二三四五六七八九十百千廿卅]+", lambda m: kanji_number(m.group()), "".join(out))


def to_kanji(n):
    if n < 10:
        return KANJI_DIGITS[n]
    tens, ones = divmod(n, 10)
    return ("" if tens == 1 else KANJI_DIGITS[tens]) + "十" + (KANJI_DIGITS[ones] if ones else "")


def full_width(text):
    return "".join(chr(ord(c) + 0xFEE0) if "!" <= c <= "~" else c for c in text)


def load_rows():
    with zipfile.ZipFile(ROOT / "data" / "ken_all.zip") as archive:
        name = next(n for n in archive.namelist() if n.lower().endswith(".csv"))
        text = archive.read(name).decode("cp932")
    return [(r[2], r[6], r[7], r[8]) for r in csv.reader(io.StringIO(text))]


class Corpus:
    def __init__(self, rows):
        self.rows = rows
        codes = collections.defaultdict(set)
        self.towns = collections.defaultdict(list)      # (pref, city) -> town names
        self.no_town = {}                                # (pref, city) -> code of the row without a town
        for code, pref, city, town in rows:
            if town:
                if not codes[(pref, city, town)]:
                    self.towns[(pref, city)].append(town)
                codes[(pref, city, town)].add(code)
            else:
                self.no_town.setdefault((pref, city), code)
        # Town areas with one code in their city, and no other town of the
        # city folding alike.
        folded = collections.Counter((p, c, fold(t)) for (p, c), ts in self.towns.items() for t in ts)
        self.single = [(next(iter(v)), k[0], k[1], k[2]) for k, v in codes.items()
                       if len(v) == 1 and folded[(k[0], k[1], fold(k[2]))] == 1]
        # Town areas whose name has several codes in their city, and no other
        # town of the city folding alike.
        self.several = [("", k[0], k[1], k[2]) for k, v in sorted(codes.items())
                        if len(v) > 1 and folded[(k[0], k[1], fold(k[2]))] == 1]
        self.prefectures = sorted({r[1] for r in rows})
        # A prefecture written without its 都, 府 or 県 (北海道 has none).
        self.stems = {p[:-1]: p for p in self.prefectures if p[-1] in "都府県"}
        # Every way a city can be written and the cities so written.
        self.city_keys = collections.defaultdict(set)
        for pref, city in self.towns.keys() | self.no_town.keys():
            for key in self.city_forms(city):
                self.city_keys[(pref, fold(key))].add((pref, city))
                self.city_keys[("", fold(key))].add((pref, city))
        self.entries = []

    @staticmethod
    def city_forms(city):
        forms = [city]
        if "郡" in city[1:-1] and city[-1] in "町村":
            forms.append(city[city.index("郡") + 1:])
        if city.endswith("区") and "市" in city[1:-1]:
            forms.append(city[:city.rindex("市", 0, len(city) - 1) + 1])
        return forms

    def city_is_clear(self, pref, city, written_city, rest, with_prefecture=True):
        """The city as written, read the longest way, is this one alone."""
        text = fold(written_city + rest)
        scope = pref if with_prefecture else ""
        if not with_prefecture and any(text.startswith(fold(p)) for p in self.prefectures):
            return False
        longest = max((k for (s, k) in self.city_keys if s == scope and text.startswith(k)), key=len, default=None)
        return longest == fold(written_city) and self.city_keys[(scope, longest)] == {(pref, city)}

    def cities_named(self, text):
        """The longest city name, of any prefecture, the text starts with, and its cities."""
        text = fold(text)
        longest = max((k for (s, k) in self.city_keys if s == "" and text.startswith(k)), key=len, default=None)
        return longest, self.city_keys.get(("", longest), set())

    def town_is_clear(self, pref, city, town, written_rest):
        """No longer town name of the city is what the text goes on with."""
        rest = fold(written_rest)
        own = fold(town)
        for other in self.towns[(pref, city)]:
            key = fold(other)
            if other != town and len(key) > len(own) and rest.startswith(key):
                return False
        return True

    def add(self, form, address, code, pref, city, town, rest_for_town):
        if town and not self.town_is_clear(pref, city, town, rest_for_town):
            return False
        self.entries.append((form, address, f"{code[:3]}-{code[3:]}" if code else ""))
        return True


def block(rng, town):
    forms = ["{a}-{b}-{c}", "{a}-{b}", "{a}丁目{b}番{c}号", "{a}丁目{b}-{c}", "{n}番地", "{n}番地{b}", "{n}",
             "{a}-{b}-{c}-{r}"]
    text = rng.choice(forms).format(a=rng.randint(1, 9), b=rng.randint(1, 30), c=rng.randint(1, 40),
                                    n=rng.randint(1, 2500), r=rng.randint(101, 1205))
    # After a name ending in a number the block number is set apart.
    if re.search("[0-9０-９〇一二三四五六七八九十]$", town):
        text = " " + text
    return text


BUILDINGS = ["グランドメゾン", "サンハイツ", "コーポ山田", "ライオンズマンション", "パークハウス", "第一ビル",
             "メゾン・ド・ソレイユ", "ハイム緑", "シティタワー", "ＫＴビル"]
KYOTO_NS = ["寺町", "御幸町", "麩屋町", "富小路", "柳馬場", "堺町", "高倉", "東洞院", "烏丸", "室町", "新町",
            "西洞院", "油小路", "堀川", "大宮", "千本", "河原町", "木屋町", "猪熊", "黒門"]
KYOTO_EW = ["丸太町", "竹屋町", "夷川", "二条", "押小路", "御池", "姉小路", "三条", "六角", "蛸薬師",
            "錦小路", "四条", "綾小路", "仏光寺", "高辻", "松原", "五条", "今出川", "一条", "中立売", "出水",
            "下立売", "椹木町"]


def main():
    rng = random.Random(20251)
    corpus = Corpus(load_rows())
    single = corpus.single

    def take(pool, count, make):
        pool = list(pool)
        rng.shuffle(pool)
        made = 0
        for entry in pool:
            if made >= count:
                break
            if make(*entry):
                made += 1

    plain = [r for r in single if not r[2].startswith("京都市")]

    # Prefecture, city, town area and block number, as the list writes them.
    take(plain, 120, lambda code, p, c, t: (
        lambda b: corpus.add("plain", p + c + t + b, code, p, c, t, t + b))(block(rng, t)))

    # A building name and room after the block number.
    take(plain, 60, lambda code, p, c, t: (
        lambda b: corpus.add("building", p + c + t + b + rng.choice(["", " ", "　"]) + rng.choice(BUILDINGS)
                             + str(rng.randint(101, 905)) + rng.choice(["", "号室"]), code, p, c, t, t + b))(
        block(rng, t)))

    # Full-width block numbers (and hyphens of every kind).
    take(plain, 60, lambda code, p, c, t: (
        lambda b: corpus.add("full-width", p + c + t + full_width(b).replace("－", rng.choice("－ー‐−")),
                             code, p, c, t, t + b))(block(rng, t)))

    # ヶ, ケ and が for one another in the town's or the city's name.
    def kana_variant(code, p, c, t):
        if not re.search("[ヶケが]", t + c):
            return False
        swap = lambda s: re.sub("[ヶケが]", lambda m: rng.choice([x for x in "ヶケが" if x != m.group()]), s)
        wc, wt = swap(c), swap(t)
        b = block(rng, t)
        return corpus.city_is_clear(p, c, wc, wt + b) and corpus.add("ke-variant", p + wc + wt + b, code, p, c, t, t + b)
    take(single, 50, kana_variant)

    # Town names numbered in kanji written in Arabic numerals, and the other way round.
    numbered = re.compile("([一二三四五六七八九十廿]+|[１２３４５６７８９０]+)(条|丁目|丁|線|番町|軒|号|区)")
    def arabic(code, p, c, t):
        m = numbered.search(t)
        if not m:
            return False
        digits = m.group(1)
        if digits[0] in "１２３４５６７８９０":
            written = to_kanji(int(full_width_to_ascii(digits))) if int(full_width_to_ascii(digits)) < 100 else None
        else:
            written = rng.choice([kanji_number(digits), full_width(kanji_number(digits))])
        if written is None:
            return False
        wt = t[:m.start(1)] + written + t[m.end(1):]
        b = rng.choice(["{0}丁目", "{0}-{1}", "{0}丁目{1}番{2}号", "{0}-{1}-{2}", ""]).format(
            rng.randint(1, 15), rng.randint(1, 20), rng.randint(1, 30))
        return corpus.add("numerals", p + c + wt + b, code, p, c, t, wt + b)
    take(single, 90, arabic)

    # 大字 or 字 before the town area, and 字 between its parts (…町字…).
    rural = [r for r in single if "郡" in r[2] or len(corpus.towns[(r[1], r[2])]) < 200]
    def aza(code, p, c, t):
        if "字" in t or t.startswith("大"):
            return False
        if "町" in t[1:-1] and rng.random() < 0.4:
            i = t.index("町") + 1
            wt = t[:i] + "字" + t[i:]
        else:
            wt = rng.choice(["大字", "字"]) + t
        b = block(rng, t)
        return corpus.add("aza", p + c + wt + b, code, p, c, t, t + b)
    take(rural, 70, aza)

    # Kyoto: the streets and a direction before the town.
    kyoto = [r for r in single if r[2].startswith("京都市") and r[2] != "京都市"]
    def kyoto_street(code, p, c, t):
        ns, ew = rng.choice(KYOTO_NS), rng.choice(KYOTO_EW)
        how = rng.randrange(5)
        if how == 0:
            street = f"{ns}通{ew}{rng.choice(['上る', '上ル', '下る', '下ル'])}"
        elif how == 1:
            street = f"{ew}通{ns}{rng.choice(['東入', '東入ル', '西入', '西入る'])}"
        elif how == 2:
            street = f"{ns}{ew}{rng.choice(['上ル', '下ル'])}"
        elif how == 3:
            street = f"{ns}通{ew}{rng.choice(['上る', '下る'])}{rng.choice(['東入', '西入'])}"
        else:
            street = ""
        b = rng.choice(["", str(rng.randint(1, 700)), f"{rng.randint(1, 700)}-{rng.randint(1, 60)}",
                        f"{rng.randint(1, 700)}番地"])
        return corpus.add("kyoto", p + c + street + t + b, code, p, c, t, t + b)
    take(kyoto, 70, kyoto_street)

    # A space between the city and the town area.
    take(plain, 50, lambda code, p, c, t: (
        lambda b: corpus.add("space", p + c + rng.choice([" ", "　", "  "]) + t + b, code, p, c, t, t + b))(
        block(rng, t)))

    # The city alone: its row without a town area.
    cities = [(code, p, c, "") for (p, c), code in corpus.no_town.items()]
    take(cities, 50, lambda code, p, c, t: corpus.add("city-only", p + c, code, p, c, "", ""))

    # No prefecture, where the city's name is the list's only one.
    def no_prefecture(code, p, c, t):
        b = block(rng, t)
        return corpus.city_is_clear(p, c, c, t + b, False) and corpus.add("no-prefecture", c + t + b, code, p, c, t,
                                                                           t + b)
    take(plain, 50, no_prefecture)

    # The county dropped, with and without the prefecture.
    def no_county(code, p, c, t):
        if "郡" not in c[1:-1] or c[-1] not in "町村":
            return False
        short = c[c.index("郡") + 1:]
        b = block(rng, t)
        with_pref = rng.random() < 0.5
        if not corpus.city_is_clear(p, c, short, t + b, with_pref):
            return False
        return corpus.add("no-county", (p if with_pref else "") + short + t + b, code, p, c, t, t + b)
    take(plain, 50, no_county)

    # の, ノ and 之 for one another.
    def no_variant(code, p, c, t):
        if not re.search("[のノ之]", t):
            return False
        wt = re.sub("[のノ之]", lambda m: rng.choice([x for x in "のノ之" if x != m.group()]), t)
        b = block(rng, t)
        return corpus.add("no-variant", p + c + wt + b, code, p, c, t, wt + b)
    take(single, 40, no_variant)

    # Old and variant kanji in the town's or the city's name.
    def old_kanji(code, p, c, t):
        if not re.search("[" + "".join(OLD_FORMS) + "]", t + c):
            return False
        old = lambda s: "".join(OLD_FORMS.get(ch, ch) if rng.random() < 0.7 else ch for ch in s)
        wc, wt = old(c), old(t)
        if (wc, wt) == (c, t):
            return False
        b = block(rng, t)
        return corpus.city_is_clear(p, c, wc, wt + b) and corpus.add("old-kanji", p + wc + wt + b, code, p, c, t, t + b)
    take(single, 40, old_kanji)

    # The postal code pasted before the address.
    take(plain, 15, lambda code, p, c, t: corpus.add(
        "code-first", rng.choice(["〒", ""]) + f"{code[:3]}-{code[3:]}" + rng.choice([" ", "　"]) + p + c + t
        + "1-2-3", code, p, c, t, t + "1-2-3"))

    # The block number in kanji: 二丁目三番四号.
    take([r for r in plain if not re.search("[0-9０-９〇一二三四五六七八九十]$", r[3])], 40, lambda code, p, c, t: (
        lambda b: corpus.add("kanji-block", p + c + t + b, code, p, c, t, t + b))(
        f"{to_kanji(rng.randint(1, 9))}丁目{to_kanji(rng.randint(1, 30))}番{to_kanji(rng.randint(1, 40))}号"))

    # Sapporo's way: 北1西2 for 北1条西2丁目.
    sapporo = re.compile("^(.*?)([一二三四五六七八九十]+)条([東西南北])$")
    def jo_left_out(code, p, c, t):
        m = sapporo.match(t)
        if p != "北海道" or not m:
            return False
        wt = m.group(1) + kanji_number(m.group(2)) + m.group(3)
        b = str(rng.randint(1, 20)) + rng.choice(["", "丁目", "-" + str(rng.randint(1, 30))])
        return corpus.add("jo-left-out", p + c + wt + b, code, p, c, t, wt + b)
    take(single, 30, jo_left_out)

    # A town area whose name begins another one's: the shorter is meant.
    def shorter_name(code, p, c, t):
        own = fold(t)
        if not any(o != t and fold(o).startswith(own) for o in corpus.towns[(p, c)]):
            return False
        b = block(rng, t)
        return corpus.add("shorter-name", p + c + t + b, code, p, c, t, t + b)
    take(plain, 40, shorter_name)

    # A prefecture without its 都, 府 or 県, where the text read without a
    # prefecture names no city.
    def no_suffix(code, p, c, t):
        stem = next((k for k, v in corpus.stems.items() if v == p), None)
        b = block(rng, t)
        if stem is None or corpus.cities_named(stem + c + t + b)[0] is not None:
            return False
        return corpus.city_is_clear(p, c, c, t + b) and corpus.add("no-suffix", stem + c + t + b, code, p, c, t, t + b)
    take(plain, 40, no_suffix)

    # A town area ending in 町 written without it, where no other name of the
    # city fits as well: none that begins alike, none as long that the text
    # goes on with.
    def no_ending(code, p, c, t):
        stem = t[:-1]
        if not t.endswith("町") or len(stem) < 2 or re.search("[0-9]", fold(stem)):
            return False
        b = rng.choice(["{a}-{b}-{c}", "{a}-{b}", "{n}番地", "{n}"]).format(
            a=rng.randint(1, 9), b=rng.randint(1, 30), c=rng.randint(1, 40), n=rng.randint(1, 2500))
        text = fold(stem + b)
        for other in corpus.towns[(p, c)]:
            key = fold(other)
            if other == t:
                continue
            if key.startswith(fold(stem)):
                return False
            if len(key) >= len(fold(stem)) and text.startswith(key):
                return False
        return corpus.add("no-ending", p + c + stem + b, code, p, c, t, stem + b)
    take(plain, 40, no_ending)

    # CJK compatibility ideographs (塚 U+FA10 …) for the everyday ones.
    compat = collections.defaultdict(list)
    for cp in list(range(0xF900, 0xFB00)) + list(range(0x2F800, 0x2FA20)):
        folded_char = unicodedata.normalize("NFKC", chr(cp))
        if folded_char != chr(cp) and len(folded_char) == 1:
            compat[folded_char].append(chr(cp))
    def compatibility(code, p, c, t):
        if not any(ch in compat for ch in c + t):
            return False
        written = lambda s: "".join(rng.choice(compat[ch]) if ch in compat else ch for ch in s)
        wc, wt = written(c), written(t)
        b = block(rng, t)
        return corpus.city_is_clear(p, c, wc, wt + b) and corpus.add("compatibility", p + wc + wt + b, code, p, c, t,
                                                                     t + b)
    take(single, 40, compatibility)

    # No prefecture, and a city name several prefectures have, but a town
    # area only one of them has: the other cities have no town name that
    # even starts alike.
    def shared_city(code, p, c, t):
        b = block(rng, t)
        for form in corpus.city_forms(c)[:2]:
            if form != c and "郡" not in c:
                continue
            key, cities = corpus.cities_named(form + t + b)
            if key != fold(form) or len(cities) < 2 or (p, c) not in cities:
                continue
            if any(fold(form + t).startswith(fold(stem)) for stem in corpus.stems) \
                    or any(fold(form + t).startswith(fold(q)) for q in corpus.prefectures):
                continue
            if any(not fold(other_city).endswith(key) for _, other_city in cities):
                continue  # a designated city read without its ward
            first = fold(t)[:1]
            if any(fold(o)[:1] == first for q, oc in cities if (q, oc) != (p, c) for o in corpus.towns[(q, oc)]):
                continue
            return corpus.add("shared-city", form + t + b, code, p, c, t, t + b)
        return False
    take(plain, 40, shared_city)

    # A town name with several codes in its city: no code, whatever follows.
    take(corpus.several, 40, lambda code, p, c, t: (
        lambda b: corpus.add("several-codes", p + c + t + b, "", p, c, t, t + b))(block(rng, t)))

    # Addresses once answered wrongly or not at all, with their rows' codes,
    # or none where the list cannot tell the rows of the name apart.
    for address, code in [("北海道札幌市中央区北1条西2丁目", ""),
                          ("北海道札幌市中央区大通西20丁目", ""),
                          ("東京都千代田区一ツ橋2-1-2", ""),
                          ("沖縄県八重山郡与那国町字与那国", "907-1801"),
                          ("京都府京都市中京区河原町通二条下る一之船入町537-50", "604-0924"),
                          ("石川県輪島市 門前町黒岩5-20-10", "927-2335"),
                          ("千葉県鎌ヶ谷市新鎌ヶ谷1-1", "273-0107"),
                          ("東京都千代田区", "100-0000"),
                          ("横浜市中区山下町", "231-0023"),
                          ("東京千代田区丸の内1-9-1", "100-0005"),
                          ("岩手花巻市", "025-0000"),
                          ("東京都江戸川区西小松川12-345", "132-0032"),
                          ("和歌山県和歌山市7番町", "640-8156"),
                          ("府中市府川町", "726-0004"),
                          ("大阪府大阪市淀川区\ufa10本1-2", "532-0026")]:
        corpus.entries.append(("example", address, code))

    with open(OUT, "w", encoding="utf-8", newline="\n") as out:
        out.write("# Addresses as people write them, each with the code of the list row it was\n"
                  "# written from, or none where the list cannot tell the rows of its town\n"
                  "# name apart. Made by make_address_corpus.py; form<TAB>address<TAB>code.\n")
        for form, address, code in corpus.entries:
            out.write(f"{form}\t{address}\t{code}\n")
    print(f"{len(corpus.entries)} addresses in {OUT.relative_to(ROOT)}")


def full_width_to_ascii(text):
    return "".join(chr(ord(c) - 0xFEE0) if "０" <= c <= "９" else c for c in text)


if __name__ == "__main__":
    main()
