#!/usr/bin/env python3
"""Writes the committed seed inputs of the fuzz targets into fuzz/corpus/<target>/.

The program inputs follow the encoding of fuzz/FuzzInput.h: one byte per operation, texts as a
length byte and the bytes (0xF0 c lo hi t: c repeated, then t; 0xF1 + i: the target's own text i).
Inputs that once broke an invariant are kept beside these, under names that say what they found.
"""
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def text(b):
    if isinstance(b, str):
        b = b.encode("latin-1")
    assert len(b) < 0xF0
    return bytes([len(b)]) + b


def repeated(c, count, tail=b""):
    return bytes([0xF0, ord(c), count & 0xFF, count >> 8]) + text(tail)


def pool(i):
    return bytes([0xF1 + i])


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# fuzz_reader: project files.
VBP = (
    "Type=Exe\r\n"
    "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE Automation\r\n"
    "Form=frmMain.frm\r\nModule=mMain; mMain.bas\r\nClass=cOrder; cOrder.cls\r\n"
    "Startup=\"frmMain\"\r\nTitle=\"Order Entry\"\r\nExeName32=\"OrderEntry.exe\"\r\n"
    "Name=\"OrderEntry\"\r\nDescription=\"Takes the \"day's\" orders\"\r\n"
    "MajorVer=2\r\nMinorVer=1\r\nRevisionVer=15\r\n"
    "VersionComments=\"Internal build\"\r\nVersionCompanyName=\"Harbour Supplies\"\r\n"
    "VersionFileDescription=\"Order entry front end\"\r\n"
    "VersionLegalCopyright=\"(c) Harbour Supplies\"\r\nVersionProductName=\"Harbour Orders\"\r\n"
    "StartMode=0\r\n\r\n[MS Transaction Server]\r\nAutoRefresh=1\r\n"
)
write("fuzz_reader", "standard-exe.vbp", VBP.encode("latin-1"))
write("fuzz_reader", "empty.vbp", b"")
write("fuzz_reader", "lf-only.vbp", VBP.replace("\r\n", "\n").encode("latin-1"))
write("fuzz_reader", "control-rounding.vbp",
      b"  Type=Control\r\nname = \"Grid\"\r\nMajorVer=2.5\r\nMinorVer= 3.5\r\nRevisionVer=-0.5\r\n"
      b"StartMode=1\r\nTitle=Caf\xe9 \x80\r\n=orphan\r\nno equals here\r\n")
write("fuzz_reader", "overflow.vbp",
      b"Type=OleDll\r\nName=Before\r\nMajorVer=40000\r\nTitle=After\r\n")
write("fuzz_reader", "last-key-wins.vbp",
      b"[Section]\r\nTitle=First\r\nTitle=Second\rStill\nSecond\r\nTYPE=exe\r\nDescription=\"\"\r\n")

# fuzz_key_values: programs over one key.
SET, DELETE, FAIL, READ, READ_HANDLE, STRIP, DELETE_KEY, READ_PATH, EXISTS, FAIL_CALL = range(10)


def set_value(name, data, type_=1, nul=1):
    return bytes([SET]) + name + data + bytes([type_, nul])


write("fuzz_key_values", "three-values",
      set_value(text("3"), text("C:\\p\\three.vbp")) + set_value(text("1"), text("C:\\p\\one.vbp"))
      + set_value(text("2"), text("")) + bytes([READ, EXISTS]) + text("2")
      + bytes([DELETE]) + text("1") + bytes([READ]))
write("fuzz_key_values", "buffer-edges",
      set_value(text("1"), repeated("d", 1023)) + set_value(text("2"), repeated("d", 1024), nul=0)
      + set_value(text("3"), repeated("d", 1024)) + set_value(repeated("n", 1023), text("x"))
      + set_value(repeated("n", 1024), text("y")) + bytes([READ, READ_HANDLE, 0]))
write("fuzz_key_values", "nuls",
      set_value(text("1"), text(b"C:\\a.vbp\0C:\\b.vbp")) + set_value(text("2"), text(b"\0"), 3)
      + bytes([READ, STRIP]) + text(b"ab\0cd") + bytes([READ_PATH]) + text(b"Software\0x"))
write("fuzz_key_values", "failures",
      set_value(text("1"), text("a")) + set_value(text("2"), text("b"))
      + bytes([FAIL, 2, 5, 1, READ, FAIL, 1, 1, 0, READ, FAIL_CALL, 2, 1, READ,
               READ_HANDLE, 1, DELETE_KEY, READ]))

# fuzz_lists: programs over both lists, the registry and the disk.
(SETV, DELV, FILE, DIRECTORY, REMOVE_FILE, FAIL_FILE, FAIL_CALLS, LOAD_RECENT, LOAD_FAVORITES,
 ADD, REMOVE, SHARES, RELEASE, CLICK_TAB, USER_ADDS, USER_REMOVES) = range(16)
RECENT, FAVORITES, VB, SKELDRA, FAV_SUB, FAV2 = range(6)
ORDERS, ORDERS_UPPER, LEDGER, SHARE, REMOVABLE, FOLDER = (pool(i) for i in range(6))
PROJECT = pool(13)


def setv(key, name, data, nul=1):
    return bytes([SETV, key]) + name + data + bytes([nul])


def file(path, contents, attributes=0):
    return bytes([FILE]) + path + contents + bytes([attributes])


write("fuzz_lists", "recent-and-favourites",
      file(ORDERS, PROJECT) + file(LEDGER, text(b"Type=OleDll\r\nName=Ledger\r\nMajorVer=3\r\n"))
      + file(REMOVABLE, text(b"Name=Stock"), 0x2)
      + setv(RECENT, text("1"), ORDERS) + setv(RECENT, text("2"), LEDGER)
      + setv(RECENT, text("3"), text("D:\\Old\\Gone.vbp")) + setv(RECENT, text("4"), REMOVABLE)
      + setv(VB, text("Other"), text("kept")) + setv(FAVORITES, text("1"), LEDGER)
      + bytes([LOAD_RECENT, LOAD_FAVORITES, ADD]) + ORDERS + bytes([ADD]) + ORDERS_UPPER
      + bytes([LOAD_FAVORITES, REMOVE]) + text("1") + bytes([LOAD_FAVORITES]))
write("fuzz_lists", "odd-names-and-paths",
      file(SHARE, PROJECT) + file(ORDERS, text(b"Title=x\nName=lf only")) + bytes([DIRECTORY]) + FOLDER
      + setv(FAVORITES, text(" 2 "), SHARE) + setv(FAVORITES, text("02"), ORDERS)
      + setv(FAVORITES, text("2.5"), FOLDER) + setv(FAVORITES, text("x"), ORDERS)
      + setv(FAVORITES, text("-32768"), repeated("p", 1024), 0) + setv(FAV_SUB, text("1"), ORDERS)
      + setv(FAVORITES, text("5"), text(b"C:\\Projects\\Ledger.vbp\0junk"))
      + bytes([LOAD_FAVORITES, SHARES, LOAD_FAVORITES, ADD]) + SHARE + bytes([REMOVE]) + text("2")
      + bytes([REMOVE]) + text("2") + bytes([RELEASE, ADD]) + LEDGER)
write("fuzz_lists", "failing-registry-and-disk",
      file(ORDERS, PROJECT) + setv(FAVORITES, text("1"), text("C:\\gone.vbp"))
      + setv(FAVORITES, text("2"), ORDERS) + bytes([FAIL_FILE]) + ORDERS + bytes([1])
      + bytes([LOAD_FAVORITES, FAIL_CALLS, 0, 0, 0, ADD]) + LEDGER
      + bytes([FAIL_CALLS, 2, 1, 1, LOAD_FAVORITES, FAIL_CALLS, 7, 0, 0, REMOVE]) + text("1")
      + bytes([FAIL_CALLS, 8, 0, 0, REMOVE]) + text("1") + bytes([LOAD_RECENT]))
write("fuzz_lists", "user-adds-and-removes",
      file(ORDERS, PROJECT) + file(LEDGER, text(b"Name=Ledger")) + file(SHARE, PROJECT)
      + setv(RECENT, text("1"), ORDERS) + setv(RECENT, text("2"), LEDGER)
      + setv(RECENT, text("3"), text("C:\\gone.vbp")) + setv(RECENT, text("4"), SHARE)
      + setv(FAVORITES, text("1"), text("C:\\gone.vbp")) + setv(FAVORITES, text("2"), LEDGER)
      + bytes([CLICK_TAB, 0, USER_ADDS, 0, USER_ADDS, 1, USER_ADDS, 2, CLICK_TAB, 1,
               USER_REMOVES, 0, FAIL_CALLS, 7, 0, 0, USER_REMOVES, 1, CLICK_TAB, 2, SHARES,
               CLICK_TAB, 0, USER_ADDS, 3]))
