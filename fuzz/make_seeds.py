#!/usr/bin/env python3
"""Rebuilds fuzz/address_table.csv and the seeds under fuzz/corpus/ from the
bundled nationwide list (data/ken_all.zip) and tests/fixtures/.

The output is byte-for-byte reproducible (fixed zip timestamps), so running it
again only shows up in a diff when the inputs changed. Seeds it does not make
(inputs that once made a target fail) are left alone. Run from anywhere:
    python3 fuzz/make_seeds.py
"""

import io
import pathlib
import unicodedata
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
FUZZ = ROOT / "fuzz"
CORPUS = FUZZ / "corpus"
FIXTURES = ROOT / "tests" / "fixtures"
STAMP = (2024, 1, 1, 0, 0, 0)


def nationwide_lines():
    with zipfile.ZipFile(ROOT / "data" / "ken_all.zip") as archive:
        name = next(n for n in archive.namelist() if n.lower().endswith(".csv"))
        raw = archive.read(name)
    # Kept as bytes with their CRLF: the seeds are the list as published.
    return raw.split(b"\r\n")


def pick(lines, patterns, per_pattern):
    """The first `per_pattern` lines containing each pattern, in list order."""
    wanted = []
    for pattern in patterns:
        encoded = pattern.encode("cp932")
        hits = [i for i, line in enumerate(lines) if encoded in line][:per_pattern]
        wanted.extend(hits)
    return [lines[i] for i in sorted(set(wanted))]


def crlf(lines):
    return b"".join(line + b"\r\n" for line in lines)


def fullwidth_kana(line_cp932):
    """One record as the UTF-8 edition writes it: readings in full-width kana."""
    fields = line_cp932.decode("cp932").split(",")
    for i in (3, 4, 5):
        fields[i] = unicodedata.normalize("NFKC", fields[i])
    return ",".join(fields).encode("utf-8")


def zipped(entries, method=zipfile.ZIP_DEFLATED):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=STAMP)
            info.compress_type = method
            archive.writestr(info, data)
    return buffer.getvalue()


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


# Rows for the address target's table: every kind of prefecture name (都, 道,
# 府, three- and four-character 県) and every city suffix the split knows.
ADDRESS_TABLE_CITIES = [
    '"東京都","千代田区"', '"東京都","八王子市"', '"東京都","西多摩郡', '"東京都","三宅',
    '"東京都","大島', '"北海道","札幌市中央区"', '"北海道","虻田郡', '"大阪府","大阪市北区"',
    '"京都府","京都市中京区"', '"千葉県","千葉市中央区"', '"千葉県","香取郡',
    '"神奈川県","横浜市中区"', '"神奈川県","足柄下郡', '"鹿児島県","鹿児島市"',
    '"鹿児島県","大島郡', '"和歌山県","和歌山市"',
]
# And town areas the best-candidate pick must tell apart: numbered names
# (北一条西 and 北十条西), a number that can run on (浦臼第１), Kyoto's names
# that fold alike (舟屋町, 船屋町), a city in two prefectures (府中市), a
# county people leave out (串本町), a name listed with 丁目.
ADDRESS_TABLE_TOWNS = [
    '"札幌市中央区","北一条西"', '"札幌市中央区","北十条西"', '"札幌市北区","北十条西"',
    '"樺戸郡浦臼町","浦臼第１"', '"京都市中京区","一之船入町"', '"京都市中京区","舟屋町"',
    '"京都市中京区","船屋町"', '"東京都","府中市","宮西町"', '"広島県","府中市","府中町"',
    '"東牟婁郡串本町","串本"', '"伊達市","保原町１丁目"', '"鎌ケ谷市","新鎌ケ谷"',
]


def main():
    lines = nationwide_lines()

    table = pick(lines, ADDRESS_TABLE_CITIES, 3) + pick(lines, ADDRESS_TABLE_TOWNS, 1)
    (FUZZ / "address_table.csv").write_bytes(crlf(table))

    # --- the list reader ---
    target = "fuzz_list_reader"
    head = lines[:40]
    spread = pick(lines, ["愛知県", "沖縄県", "京都府", "東京都", "（", "、"], 2)
    write(target, "cp932_head.csv", crlf(head))
    write(target, "cp932_spread.csv", crlf(spread))
    write(target, "cp932_lf_blank_line.csv",
          b"\n".join(head[:3]) + b"\n\n" + b"\n".join(head[3:6]) + b"\n")
    # Lines of fourteen and sixteen fields next to each other, and a quote
    # left open at a line end.
    write(target, "cp932_short_and_long_line.csv",
          crlf(head[:2] + [head[2].rsplit(b",", 1)[0], head[3] + b",0"] + head[4:6]))
    write(target, "cp932_quote_open_at_line_end.csv",
          crlf(head[:2] + [head[2][:head[2].index(b',"', 20) + 3]] + head[3:5]))
    write(target, "cp932_bare_cr.csv", b"\r".join(head[:4]) + b"\r")
    # A quoted field holding separators and line ends, and text after a closing quote.
    write(target, "cp932_quoted_separators.csv",
          head[0].replace(b'"",', b'"a,b\r\nc"tail,', 1) + b"\r\n" + head[1] + b"\r\n")
    write(target, "cp932_cut_off.csv", (FIXTURES / "cut_off_list.csv").read_bytes())
    write(target, "cp932_not_cp932.csv", head[0] + b"\r\n" + head[1][:60] + b"\x80\xa0\xfd" + head[1][60:] + b"\r\n")
    write(target, "cp932_fixture.csv", (FIXTURES / "small_list.csv").read_bytes())
    # Town fields with the published notes, one running over two records.
    write(target, "cp932_published_notes.csv", (FIXTURES / "published_notes.csv").read_bytes())

    utf8 = [fullwidth_kana(line) for line in head[:30]]
    write(target, "utf8_fullwidth.csv", crlf(utf8))
    write(target, "utf8_bom.csv", b"\xef\xbb\xbf" + crlf(utf8[:4]))
    write(target, "utf8_halfwidth.csv", crlf([l.decode("cp932").encode("utf-8") for l in spread[:6]]))
    # Many records of ASCII before the first byte that decides the edition.
    ascii_rows = [b'99999,"999  ","9999999","A","B","C","D","E","F",0,0,0,0,0,0'] * 20
    write(target, "utf8_late_decision.csv", crlf(ascii_rows + utf8[:20]))
    broken = crlf(utf8[:20])
    write(target, "utf8_not_utf8.csv", broken[:-200] + b"\xc3\x28" + broken[-200:])

    cp932_entry = crlf(head[:25])
    write(target, "zip_cp932.zip", zipped([("KEN_ALL.CSV", cp932_entry)]))
    write(target, "zip_utf8.zip", zipped([("utf_ken_all.csv", crlf(utf8[:25]))]))
    write(target, "zip_stored_two_entries.zip",
          zipped([("readme.txt", b"not the list\r\n"), ("13TOKYO.CSV", crlf(spread[:8]))],
                 zipfile.ZIP_STORED))
    # Large enough unpacked that the archive is inflated on a thread of its own.
    write(target, "zip_large_entry.zip", zipped([("KEN_ALL.CSV", crlf(head) * 60)]))
    write(target, "zip_no_csv.zip", zipped([("readme.txt", b"no list here\r\n")]))
    write(target, "zip_empty.zip", b"PK\x05\x06" + b"\x00" * 18)
    write(target, "zip_encrypted.zip", (FIXTURES / "encrypted_list.zip").read_bytes())

    # --- the free-address split and candidates ---
    target = "fuzz_address"
    for i, text in enumerate([
        "東京都千代田区丸の内", "東京都八王子市", "東京都西多摩郡奥多摩町", "東京都三宅島三宅村",
        "北海道札幌市中央区旭ケ丘", "北海道虻田郡倶知安町", "大阪府大阪市北区梅田",
        "京都府京都市中京区", "千葉県香取郡神崎町", "神奈川県横浜市中区山下町",
        "鹿児島県大島郡", "和歌山県和歌山市", "東京都", "県", "",
        "北海道札幌市中央区北1条西2丁目", "北海道札幌市北10西3", "京都府京都市中京区河原町通二条下る一之船入町537-50",
        "〒100-0005 東京都千代田区 一番町１－２", "串本町串本1234", "府中市宮西町", "北海道樺戸郡浦臼町浦臼第11-2",
        "千葉県鎌ヶ谷市新鎌ヶ谷1-1", "宮城県登米市大字南方町字高石浦", "福島県伊達市保原町1-2-3",
        "ﾄｳｷｮｳﾄ　ﾁﾖﾀﾞｸ", "二十四軒十三一丁目廿一", "京都府京都市中京区舟屋町",
        "東京千代田区一番町", "府中市府中町1", "京都市中京区舟屋町", "和歌山県和歌山市葵1-2",
        "北海道札幌市中央区北一条西２０丁目 アエル１５Ｆ", "\ufa10\u2f0b\u3231か\u3099",
    ]):
        write(target, f"address_{i:02d}.txt", text.encode("utf-8"))

    # --- torumin-query's standard input ---
    target = "fuzz_query"
    write(target, "codes.txt", "0600000\n〒100-0005\r\n１００－０００５\n0000000\n12345\n\n".encode("utf-8"))
    write(target, "names.txt", "千代田区\t丸の内\n広島県\t府中市\t府中町\na\tb\tc\td\nﾁﾖﾀﾞｸ\tﾏﾙﾉｳﾁ\n".encode("utf-8"))
    write(target, "addresses_bom.txt", b"\xef\xbb\xbf" + "北海道札幌市中央区北1条西2丁目\n串本町串本1234 ビル\n"
          "京都府京都市中京区河原町通二条下る一之船入町537-50\n\"丸の内\", 千代田区\n".encode("utf-8"))
    write(target, "cp932.txt", "東京都千代田区丸の内1-9-1\r\n千代田区\t丸の内\r\nﾄｳｷｮｳﾄ\r\n".encode("cp932"))
    write(target, "neither.txt", b"1000005\n\x80\xff\n\xe6\x9d\n9071801")

    # --- the stored-number conversion ---
    target = "fuzz_numeric"
    for i, text in enumerate([
        "&H00FFFFFF&", "&HFFFFFFFF&", "&hff", "&O777", " \t12.5e3x", "-0", "+.5", "1e",
        "1e400", "1e-400", "0.000000000000000000001e21", "12abc", "&", "",
    ]):
        write(target, f"number_{i:02d}.txt", text.encode("utf-8"))

    # --- the settings file ---
    target = "fuzz_settings"
    write(target, "typical.ini", (
        "[Config]\nYubin_File(0)=/home/me/lists/KEN_ALL.CSV\nOptSen=0\n"
        "Toolbar=\"1,2,3,4,5,6,7,8\"\nYJ_Disp(0)=1\n"
        "[Position]\nO_Left=1200\nO_Top=&H10\n"
        "[Saigo]\nYubinB=1000005\nJ_Input=\"  東京都 千代田区=;\\\"\\r\"\n"
        "[Rireki]\nK_Rireki(0)=〒100-0005　東京都千代田区丸の内\n"
        "K_Rireki(19)=〒100-0005　東京都千代田区丸の内\n").encode("utf-8"))
    # As earlier versions wrote it: keys percent-escaped, escapes in values.
    write(target, "earlier_version.ini", (
        "[Config]\nYubin_File%280%29=/home/me/lists/KEN_ALL.CSV\nOptColor%281%29=&H00FFFFFF&\n"
        "[Rireki]\nK_Rireki%2819%29=\"\\\"a\\\", b\"\nK_Rireki%280%29=@@x\n"
        "[Saigo]\n%U6F22%U5B57%20=@String(a\\0\\x62)\n").encode("utf-8"))
    write(target, "byte_order_mark.ini", b"\xef\xbb\xbf[Config]\r\nOptSen=3\r\n")
    write(target, "stray_lines.ini", "[Config]\nOptSen=1\nこれは設定ではない\n=x\n[Saigo\nYubinB=1\n".encode("utf-8"))
    write(target, "unquoted_list.ini", b"[Config]\nToolbar=1,2,3\n")
    write(target, "escapes.ini", b'[Config]\nA="x\\ty\\n;=\\\\"\nB=@ByteArray(abc)\nC=\\x3042\n')
    write(target, "no_section.ini", b"Key=value\n[Config]\nOptSen=1\n")
    write(target, "control_byte.ini", b"[Config]\nOptSen=\x01\n")
    write(target, "broken_utf8.ini", b"[Config]\nName=\xe6\x9d\n")
    write(target, "crlf.ini", b"[Config]\r\nOptSen=2\r\n[Position]\r\nMainLeft=-5\r\n")
    write(target, "empty.ini", b"")


if __name__ == "__main__":
    main()
