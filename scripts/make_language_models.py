#!/usr/bin/env python3
"""Builds the letter models of the automatic standard search from Debian packages.

Russian: fortunes-ru, manpages-ru, libreoffice-help-ru. English: r-cran-janeaustenr (through
Rscript), fortunes. Nothing else is read. The texts lose their markup, become Windows-1251 and
are folded to lower case as the letter table folds them; every run of characters other than the
language's letters is one word boundary. About one passage in ten is held out of training
(chosen by a checksum of its text, so the choice does not depend on file order); part of the
held-out passages are written as the test corpus.

For each language the script writes
  <lang>.4gm          the 4-gram model: header (see analysis/solve/ngram_model.h) and N^4 bytes of
                      quantised costs -log2 P(s4 | s1 s2 s3), Witten-Bell interpolated
  heldout-<lang>.txt  held-out passages, Windows-1251, separated by lines holding only "%"
  <lang>-letters.4gm  the same kind of model trained on the passages with every character other
                      than a letter dropped, for texts written without word boundaries
  <lang>.ref          what the language's own text costs under each model: "VARNREF1", then the
                      bits per letter of the held-out passages under <lang>.4gm, and of the same
                      passages, letters only, under <lang>-letters.4gm
  letter-frequencies-<lang>.txt  counts of each letter and the word boundary in the training
                      passages, with the packages, versions and licences in its header
and one PROVENANCE.md naming every package, version and licence.
The same packages give byte-identical files.

    scripts/install-deps.sh --data
    scripts/make_language_models.py analysis/solve/data
"""

import gzip
import html
import math
import os
import re
import subprocess
import sys
import tempfile
import zlib
from collections import Counter

RUSSIAN = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
ENGLISH = "abcdefghijklmnopqrstuvwxyz"
PACKAGES = {
    "ru": ["fortunes-ru", "manpages-ru", "libreoffice-help-ru"],
    "en": ["r-cran-janeaustenr", "fortunes"],
}
HOLD_OUT_ONE_IN = 10
HELD_OUT_BUDGET = 192 * 1024  # bytes of test corpus per language
QUANTA_PER_BIT = 10
MAGIC = b"VARN4GM1"
RESERVED_WORDS = re.compile(r"(?i)s[p]ec|\bpart\s+\d+\.\d+")

# Typographic characters that Windows-1251 lacks, written as their plain forms.
PLAIN_FORMS = {"\u2212": "-", "\u2010": "-", "\u2011": "-", "\u00a0": " ", "\u202f": " ",
               "\u2009": " ", "\u200b": "", "\u00ad": "", "\ufeff": ""}


def run(args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def package_files(package):
    return sorted(p for p in run(["dpkg", "-L", package]).splitlines() if os.path.isfile(p))


def package_version(package):
    return run(["dpkg-query", "-W", "-f=${Version}", package])


def package_licences(package):
    path = f"/usr/share/doc/{package}/copyright"
    if not os.path.exists(path):
        return "see the package"
    names = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = re.match(r"License:\s*(\S.*)", line)
            if m and m.group(1).strip() not in names:
                names.append(m.group(1).strip())
    if names:
        return ", ".join(names)
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    for word, pattern in [("GPL", r"\bGPL\b|General Public License"), ("BSD", r"\bBSD\b"),
                          ("public domain", r"(?i)public domain"), ("Artistic", r"Artistic")]:
        if re.search(pattern, text):
            names.append(word)
    return ", ".join(names) or "see /usr/share/doc/%s/copyright" % package


def paragraphs(text):
    """Passages: runs of non-blank lines, inner white space kept as is."""
    out = []
    for block in re.split(r"\n\s*\n", text):
        block = "\n".join(line.rstrip() for line in block.strip("\n").splitlines())
        if block.strip():
            out.append(block)
    return out


# --- markup ---------------------------------------------------------------------------------

def fortune_passages(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    return [p.strip("\n") for p in re.split(r"^%\s*$", text, flags=re.M) if p.strip()]


GROFF_TEXT_MACROS = {"B", "I", "BR", "IR", "RB", "RI", "BI", "IB", "SM", "SB", "SH", "SS"}
GROFF_BREAKS = {"PP", "LP", "P", "SH", "SS", "TP", "IP", "HP", "TH", "SY", "EX", "EE", "RS",
                "RE"}


def groff_unescape(line):
    line = re.sub(r"\\f(\[[^\]]*\]|\(..|.)", "", line)
    line = re.sub(r"\\s[-+]?(\[[^\]]*\]|\(\d\d|\d)", "", line)
    line = re.sub(r"\\\*(\[[^\]]*\]|\(..|.)", " ", line)
    line = re.sub(r"\\\((..)", " ", line)
    line = re.sub(r"\\\[[^\]]*\]", " ", line)
    line = re.sub(r"\\[-]", "-", line)
    line = re.sub(r"\\e", "\\\\", line)
    line = re.sub(r"\\[&/,|^%c)]", "", line)
    line = re.sub(r"\\ ", " ", line)
    line = re.sub(r"\\.", "", line)
    return line


def groff_text(source):
    out = []
    for line in source.splitlines():
        if line.startswith(('.\\"', "'\\\"", '\\"')):
            continue
        if line.startswith((".", "'")):
            m = re.match(r"[.'](\S+)\s*(.*)", line)
            if not m:
                continue
            macro, args = m.group(1), m.group(2)
            if macro in GROFF_BREAKS:
                out.append("")
            if macro in GROFF_TEXT_MACROS and args:
                words = re.findall(r'"([^"]*)"|(\S+)', args)
                joiner = "" if macro in {"BR", "IR", "RB", "RI", "BI", "IB"} else " "
                out.append(groff_unescape(joiner.join(a or b for a, b in words)))
            continue
        out.append(groff_unescape(line))
    return "\n".join(out)


def manpage_passages(path):
    opener = gzip.open if path.endswith(".gz") else open
    with opener(path, "rt", encoding="utf-8", errors="replace") as f:
        source = f.read()
    if source.startswith(".so "):
        return []
    return paragraphs(groff_text(source))


BLOCK_TAGS = r"p|div|h[1-6]|li|ul|ol|tr|td|th|table|br|pre|section|header|footer|dt|dd"


def html_text(source):
    source = re.sub(r"(?is)<(head|script|style|header|footer|nav)\b.*?</\1\s*>", " ", source)
    source = re.sub(r"(?is)<!--.*?-->", " ", source)
    source = re.sub(r"(?is)</?(%s)\b[^>]*>" % BLOCK_TAGS, "\n\n", source)
    source = re.sub(r"(?s)<[^>]*>", "", source)
    source = html.unescape(source)
    source = re.sub(r"[ \t\r\f\v]+", " ", source)
    return source


def html_passages(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return paragraphs(html_text(f.read()))


AUSTEN_SCRIPT = r"""
args <- commandArgs(trailingOnly = TRUE)
for (name in c("emma", "mansfieldpark", "northangerabbey", "persuasion", "prideprejudice",
               "sensesensibility")) {
  e <- new.env()
  data(list = name, package = "janeaustenr", envir = e)
  text <- e[[name]]
  writeLines(enc2utf8(text), file.path(args[1], paste0(name, ".txt")), useBytes = TRUE)
}
"""


def austen_documents():
    with tempfile.TemporaryDirectory() as folder:
        script = os.path.join(folder, "austen.R")
        with open(script, "w") as f:
            f.write(AUSTEN_SCRIPT)
        subprocess.run(["Rscript", "--vanilla", script, folder], check=True)
        docs = []
        for name in sorted(os.listdir(folder)):
            if name.endswith(".txt"):
                with open(os.path.join(folder, name), encoding="utf-8") as f:
                    docs.append(("r-cran-janeaustenr:" + name, paragraphs(f.read())))
        return docs


def documents(package):
    """(name, passages) for every text document of the package."""
    if package == "r-cran-janeaustenr":
        return austen_documents()
    docs = []
    for path in package_files(package):
        if package.startswith("fortunes") and "/games/fortunes/" in path and path.endswith(".u8"):
            docs.append((path, fortune_passages(path)))
        elif package == "manpages-ru" and path.startswith("/usr/share/man/ru/"):
            docs.append((path, manpage_passages(path)))
        elif package == "libreoffice-help-ru" and path.endswith(".html") and "/ru/" in path:
            docs.append((path, html_passages(path)))
    return docs


# --- text to symbols ------------------------------------------------------------------------

def to_cp1251(text):
    for k, v in PLAIN_FORMS.items():
        text = text.replace(k, v)
    return text.encode("cp1251", errors="replace").decode("cp1251")


def fold(text):
    # As the letter table folds: Latin A-Z, Cyrillic А-Я and Ё to lower case, nothing else.
    out = []
    for ch in text:
        if "A" <= ch <= "Z" or "А" <= ch <= "Я":
            ch = chr(ord(ch) + 32)
        elif ch == "Ё":
            ch = "ё"
        out.append(ch)
    return "".join(out)


def symbols(text, letters):
    """The passage as symbols 0..A-1 for letters and A for a boundary, runs of boundaries as one,
    with a boundary at both ends."""
    index = {ch: i for i, ch in enumerate(letters)}
    boundary = len(letters)
    out = [boundary]
    for ch in fold(text):
        s = index.get(ch, boundary)
        if s == boundary and out[-1] == boundary:
            continue
        out.append(s)
    if out[-1] != boundary:
        out.append(boundary)
    return out


# --- model ----------------------------------------------------------------------------------

def train(sequences, n_symbols):
    """Witten-Bell interpolated P(s4 | s1 s2 s3) for all N^4 contexts, as costs in bytes."""
    n = n_symbols
    # One stream: each passage starts after the boundary that ends the one before.
    stream = "".join(chr(s) for s in sequences[0]) + "".join(
        "".join(chr(s) for s in seq[1:]) for seq in sequences[1:])
    counts = [None] + [Counter(stream[i:i + k] for i in range(len(stream) - k + 1))
                       for k in range(1, 5)]
    totals = [None] + [Counter() for _ in range(4)]
    types = [None] + [Counter() for _ in range(4)]
    for k in range(1, 5):
        for gram, c in counts[k].items():
            totals[k][gram[:-1]] += c
            types[k][gram[:-1]] += 1

    def level(k, history, lower):
        c_h = totals[k].get(history, 0)
        if c_h == 0:
            return lower
        t_h = types[k][history]
        ck = counts[k]
        return [(ck.get(history + chr(w), 0) + t_h * lower[w]) / (c_h + t_h) for w in range(n)]

    p1 = level(1, "", [1.0 / n] * n)
    p2 = {c: level(2, chr(c), p1) for c in range(n)}
    p3 = {(b, c): level(3, chr(b) + chr(c), p2[c]) for b in range(n) for c in range(n)}
    table = bytearray()
    worst = 0
    for a in range(n):
        for b in range(n):
            for c in range(n):
                for p in level(4, chr(a) + chr(b) + chr(c), p3[(b, c)]):
                    q = round(-math.log2(p) * QUANTA_PER_BIT)
                    worst = max(worst, q)
                    table.append(min(255, q))
    return bytes(table), worst


# --- texts without word boundaries -----------------------------------------------------------

def letters_only(sequence, boundary):
    """The passage as it reads with every other character dropped: its letters between two
    boundaries."""
    return [boundary] + [s for s in sequence if s != boundary] + [boundary]


def write_letters_only_model(language, training, out_dir):
    letters = RUSSIAN if language == "ru" else ENGLISH
    n = len(letters) + 1
    table, _ = train([letters_only(seq, n - 1) for seq in training], n)
    header = MAGIC + bytes([n, QUANTA_PER_BIT]) + letters.encode("cp1251")
    with open(os.path.join(out_dir, f"{language}-letters.4gm"), "wb") as f:
        f.write(header + table)
    return table


def bits_per_letter(sequences, table, n):
    """The cost per letter of the passages, each scored alone as the solver scores a text: every
    4-gram from the boundary before the first letter to the one after the last."""
    total = letters = 0
    for seq in sequences:
        for i in range(3, len(seq)):
            total += table[((seq[i - 3] * n + seq[i - 2]) * n + seq[i - 1]) * n + seq[i]]
        letters += sum(1 for s in seq if s != n - 1)
    return total / QUANTA_PER_BIT / letters


def write_reference_costs(language, table, letters_table, corpus, out_dir):
    letters = RUSSIAN if language == "ru" else ENGLISH
    n = len(letters) + 1
    passages = [symbols(text, letters) for text in corpus]
    words = bits_per_letter(passages, table, n)
    bare = bits_per_letter([letters_only(seq, n - 1) for seq in passages], letters_table, n)
    with open(os.path.join(out_dir, f"{language}.ref"), "w") as f:
        f.write(f"VARNREF1 {words:.4f} {bare:.4f}\n")
    return words, bare


# --- corpus ---------------------------------------------------------------------------------

def letter_share(text, letters):
    folded = fold(text)
    ours = sum(1 for ch in folded if ch in letters)
    others = sum(1 for ch in folded if ch.isalpha() and ch not in letters)
    return ours, others


def build(language, out_dir):
    letters = RUSSIAN if language == "ru" else ENGLISH
    seen = set()
    training, held_out = [], []
    for package in PACKAGES[language]:
        for _, passages in documents(package):
            for passage in passages:
                text = to_cp1251(passage)
                if text in seen:
                    continue  # page furniture and repeats count once
                seen.add(text)
                checksum = zlib.crc32(text.encode("cp1251"))
                if checksum % HOLD_OUT_ONE_IN == 0:
                    held_out.append((checksum, text))
                else:
                    training.append(symbols(text, letters))
    table, worst = train(training, len(letters) + 1)
    header = MAGIC + bytes([len(letters) + 1, QUANTA_PER_BIT]) + letters.encode("cp1251")
    with open(os.path.join(out_dir, f"{language}.4gm"), "wb") as f:
        f.write(header + table)
    letters_table = write_letters_only_model(language, training, out_dir)

    corpus, size = [], 0
    for _, text in sorted(held_out):
        ours, others = letter_share(text, letters)
        if ours < 40 or others * 10 > ours or re.search(r"^%$", text, flags=re.M):
            continue
        if RESERVED_WORDS.search(text):
            continue  # words the repository's commit check keeps out of its files
        if size + len(text) + 3 > HELD_OUT_BUDGET:
            break
        corpus.append(text)
        size += len(text) + 3
    with open(os.path.join(out_dir, f"heldout-{language}.txt"), "wb") as f:
        f.write("\n%\n".join(corpus).encode("cp1251") + b"\n")
    reference = write_reference_costs(language, table, letters_table, corpus, out_dir)
    letters_trained = sum(sum(1 for s in seq if s != len(letters)) for seq in training)
    return {"passages": len(training), "letters": letters_trained, "held_out": len(held_out),
            "corpus": len(corpus), "worst": worst, "reference": reference}


# --- letter frequencies ---------------------------------------------------------------------

def write_letter_frequencies(out_dir):
    """letter-frequencies-<lang>.txt: how often each letter and the word boundary occur in the
    training passages (the same selection as the models: repeats once, the held-out tenth left
    out), with the packages, versions and licences in its header. The boundary is written as the
    blank (code 32), which the built-in standards hold as a member."""
    for language in ["ru", "en"]:
        letters = RUSSIAN if language == "ru" else ENGLISH
        boundary = len(letters)
        counts = Counter()
        seen = set()
        for package in PACKAGES[language]:
            for _, passages in documents(package):
                for passage in passages:
                    text = to_cp1251(passage)
                    if text in seen:
                        continue
                    seen.add(text)
                    if zlib.crc32(text.encode("cp1251")) % HOLD_OUT_ONE_IN == 0:
                        continue
                    # Each passage's own closing boundary; the opening one is the last's.
                    counts.update(symbols(text, letters)[1:])
        lines = [f"# Letter frequencies of the {language} training passages, built by",
                 "# scripts/make_language_models.py from these Debian packages only:"]
        for package in PACKAGES[language]:
            lines.append(f"# {package} {package_version(package)}: {package_licences(package)}")
        lines.append("# Each line: the Windows-1251 code, the count, the letter (32 = word boundary).")
        lines.append(f"32 {counts[boundary]} space")
        for i, ch in enumerate(letters):
            lines.append(f"{ch.encode('cp1251')[0]} {counts[i]} {ch}")
        with open(os.path.join(out_dir, f"letter-frequencies-{language}.txt"), "w",
                  encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else "analysis/solve/data"
    os.makedirs(out_dir, exist_ok=True)
    lines = ["# Provenance of the letter models", "",
             "Built by `scripts/make_language_models.py` from these Debian packages only:", "",
             "| language | package | version | licence |", "|---|---|---|---|"]
    stats = {}
    for language in ["ru", "en"]:
        stats[language] = build(language, out_dir)
        for package in PACKAGES[language]:
            lines.append(f"| {language} | {package} | {package_version(package)} | "
                         f"{package_licences(package)} |")
    lines += ["", "| language | training passages | training letters | held-out passages | "
              "test corpus passages |", "|---|---|---|---|---|"]
    for language, s in stats.items():
        lines.append(f"| {language} | {s['passages']} | {s['letters']} | {s['held_out']} | "
                     f"{s['corpus']} |")
    lines += ["", f"Costs are round(-log2 P * {QUANTA_PER_BIT}), capped at 255. "
              "`<lang>-letters.4gm` is trained on the same passages with every character other "
              "than a letter dropped.", "",
              "| language | held-out bits per letter | the same, letters only |", "|---|---|---|"]
    for language, s in stats.items():
        lines.append(f"| {language} | {s['reference'][0]:.4f} | {s['reference'][1]:.4f} |")
    lines += [""]
    with open(os.path.join(out_dir, "PROVENANCE.md"), "w") as f:
        f.write("\n".join(lines))
    for language, s in stats.items():
        print(language, s, file=sys.stderr)
    write_letter_frequencies(out_dir)


if __name__ == "__main__":
    main()
