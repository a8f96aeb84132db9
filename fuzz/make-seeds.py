#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz programs that the test data does not
hold as files of their own (binary store values, file records, server lines)
into fuzz/seeds/<program>/. The message fixtures are used as seeds in place."""
import pathlib
import shutil

ROOT = pathlib.Path(__file__).resolve().parent.parent
SEEDS = ROOT / "fuzz" / "seeds"
SCRAMBLE_START = 0x5A


def scrambled(data: bytes) -> bytes:
    return bytes(b ^ ((SCRAMBLE_START + 1 + i) & 0xFF) for i, b in enumerate(data))


def sender_record(kind: int, text: bytes) -> bytes:
    return bytes([kind]) + text.ljust(75, b"\0")


def write(program: str, name: str, data: bytes) -> None:
    folder = SEEDS / program
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def main() -> None:
    shutil.rmtree(SEEDS, ignore_errors=True)
    dictionary = (ROOT / "res" / "qltdict.dat").read_bytes()
    accounts = bytes.fromhex((ROOT / "tests" / "data" / "accounts-three.hex").read_text().replace("\n", ""))

    write("DictionaryFileFuzz", "shipped", dictionary)
    write("AccountStoreFuzz", "three-accounts", accounts)
    write("AccountStoreFuzz", "no-accounts", scrambled(bytes([1, 0, 0, 0])))
    write("DecompressFuzz", "dictionary", scrambled(dictionary))
    write("DecompressFuzz", "accounts", scrambled(accounts))
    write("DecompressFuzz", "stored-form", bytes([1, 0, 0, 0]) + b"plain bytes kept as they are")

    write("SenderListFuzz", "friend-and-foe",
          sender_record(1, b"alice@example.org") + sender_record(2, b"junk.example"))
    write("SenderListFuzz", "cut-record", sender_record(1, b"x" * 75) + b"\x02spam")

    replies = {
        "stat": b"+OK 2 320\r\n",
        "refusal": b"-ERR [AUTH] invalid password\r\n",
        "listing": b"+OK 2 messages\r\n1 120\r\n2 200\r\n.\r\n",
        "uidl": b"+OK\r\n1 whqtswO00WBw418f9t5JxYwZ\r\n.\r\n",
        "greeting": b"+OK POP3 server ready <1896.697170952@dbc.mtview.ca.us>\r\n",
    }
    for name, text in replies.items():
        write("ReplyParsingFuzz", name, text)

    login = b"+OK ready\r\n+OK\r\n+OK logged in\r\n+OK 3 900\r\n"
    top = b"+OK\r\nFrom: a@example.org\r\nSubject: hi\r\n\r\nbody line\r\n..dot\r\n.\r\n"
    listings = b"".join(b"+OK %d 300\r\n+OK %d uid-%d\r\n" % (i, i, i) for i in (1, 2, 3))
    write("ScanDialogueFuzz", "pipelined",
          b"\x07" + login + b"+OK\r\nTOP\r\nPIPELINING\r\n.\r\n" + listings + top * 3 + b"+OK bye\r\n")
    write("ScanDialogueFuzz", "one-at-a-time",
          b"\x3f" + login + b"-ERR unknown\r\n" + listings[:24] + top + b"+OK 2 300\r\n+OK 2 uid-2\r\n-ERR busy\r\n")

    write("DecodeBase64Fuzz", "text", b"SGVsbG8sIFdvcmxkIQ==\r\nU2Vjb25kIGxpbmU=\r\n")
    write("DecodeBase64Fuzz", "cut-group", b"QUJD RA")
    write("UnescapeLinksFuzz", "links",
          b"see http://example.com/%7Euser/%41%42 and ftp://host/a%2 b\r\nhttps://x/%00tail")
    write("HtmlToTextFuzz", "page",
          b"<html><head><title>t</title></head><body>Hi&nbsp;there<br>"
          b"<a href=\"http://example.com/x\">link</a> =3D &amp;amp; &lt;b&gt;</body></html>")


if __name__ == "__main__":
    main()
