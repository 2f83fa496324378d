"""The English catalogue against the sources: every Japanese text the program
can show has an entry, every entry is made of texts the program has, and each
entry keeps its placeholders, numbers and accelerator."""
import os
import re
import xml.etree.ElementTree as ET

import pytest

ROOT = os.environ.get("LYR_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
CATALOGUE = os.path.join(ROOT, "translations", "lyr_en.ts")
PATTERN_LIST = "LYR:patterns"
JAPANESE = re.compile(r"[\u3000-\u30ff\u3400-\u9fff\uf900-\ufaff\uff00-\uffef]")
JAPANESE_RUN = re.compile(r"[\u3000-\u30ff\u3400-\u9fff\uf900-\ufaff\uff00-\uffef]+")
PLACEHOLDER = re.compile(r"%[1-9]")
# Punctuation that joins a label to its colon or a list's items.
JOINS = re.compile("[：、　]")

# Japanese texts of the sources that are never shown translated, each with its reason.
KEPT = {
    "ＭＳ ゴシック": "a font's name",
    "MSゴシック": "a font's name",
    "表示言語を日本語にしました。次回の起動から有効になります。": "said in the language chosen",
    "？": "the readout of a value that cannot be shown, the same in both languages",
}
# Files whose Japanese texts are data, not shown texts.
DATA_FILES = {"cp932_table.cpp"}


def catalogue():
    root = ET.parse(CATALOGUE).getroot()
    entries = []
    for message in root.iter("message"):
        tr = message.find("translation")
        entries.append((message.findtext("source"), tr.text or "", tr.get("type")))
    return entries


def strip_comments(text):
    """The code without its comments; string and character literals kept whole."""
    out, i, n = [], 0, len(text)
    while i < n:
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            i = n if j < 0 else j + 2
        elif text[i] in "\"'":
            quote, j = text[i], i + 1
            while j < n and text[j] != quote:
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def source_literals():
    """Every string literal with a Japanese character in the program's sources."""
    literals = {}
    for folder, _, files in os.walk(os.path.join(ROOT, "src")):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")) or name in DATA_FILES:
                continue
            path = os.path.join(folder, name)
            code = strip_comments(open(path, encoding="utf-8").read())
            for m in re.finditer(r'"((?:[^"\\\n]|\\.)*)"', code):
                text = m.group(1).replace("\\n", "\n")
                if JAPANESE.search(text):
                    literals.setdefault(text, os.path.relpath(path, ROOT))
    return literals


def pieces(literal):
    """The Japanese runs of a literal; a file-type filter or a list is read piece by piece."""
    return [run for run in JAPANESE_RUN.findall(literal) if run not in "：　、"]


@pytest.fixture(scope="module")
def entries():
    return catalogue()


def test_every_entry_is_translated_once_into_english(entries):
    sources = [s for s, _, _ in entries]
    assert len(sources) == len(set(sources)), "an entry is there twice"
    for source, translation, kind in entries:
        assert kind is None, f"unfinished: {source}"
        assert translation.strip(), f"empty: {source}"
        if source != PATTERN_LIST:
            assert not JAPANESE.search(translation), f"Japanese left in: {source} -> {translation}"


def test_placeholders_and_accelerators_match(entries):
    # Digits written in the text are kept (bits, clocks, channel numbers), except in
    # the accelerator of a submenu's "(&0)" and in a word ("16進": hex).
    digits = lambda s: sorted(re.findall(r"(?<!%)(?<!&)\d+", PLACEHOLDER.sub("", s).replace("16進", "")))
    wrong = []
    for source, translation, _ in entries:
        if source == PATTERN_LIST:
            continue
        if sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(translation)):
            wrong.append(f"placeholders: {source} -> {translation}")
        if digits(source) != digits(translation):
            wrong.append(f"numbers: {source} -> {translation}")
        if source.count("&") != translation.count("&"):
            wrong.append(f"accelerator: {source} -> {translation}")
    assert not wrong, "\n".join(wrong)


def test_the_pattern_list_names_entries(entries):
    sources = {s: t for s, t, _ in entries}
    assert PATTERN_LIST in sources
    for pattern in sources[PATTERN_LIST].split("\n"):
        assert pattern in sources, f"pattern without an entry: {pattern}"
        assert PLACEHOLDER.search(pattern), f"pattern without a placeholder: {pattern}"


def test_every_shown_japanese_text_has_an_entry(entries):
    keys = [PLACEHOLDER.sub("", s) for s, _, _ in entries if s != PATTERN_LIST]
    missing = []
    for literal, where in source_literals().items():
        if literal in KEPT:
            continue
        for piece in pieces(literal):
            if not any(piece in key for key in keys):
                missing.append(f"{where}: {piece}  (in \"{literal}\")")
    assert not missing, "no English entry for:\n" + "\n".join(missing)


def composed(run, parts):
    """Whether the run is the program's texts one after another ("繰り返し" + "：")."""
    reach = [True] + [False] * len(run)
    for end in range(1, len(run) + 1):
        reach[end] = any(reach[start] and run[start:end] in parts for start in range(end))
    return reach[-1]


def test_no_entry_is_unused(entries):
    parts = set()
    for literal in source_literals():
        for run in JAPANESE_RUN.findall(literal):
            parts.update(p for p in JOINS.split(run) if p)
    unused = []
    for source, _, _ in entries:
        if source == PATTERN_LIST:
            continue
        for run in (p for r in JAPANESE_RUN.findall(source) for p in JOINS.split(r) if p):
            if not composed(run, parts):
                unused.append(f"{source}  (\"{run}\")")
    assert not unused, "entries the program never shows:\n" + "\n".join(unused)
