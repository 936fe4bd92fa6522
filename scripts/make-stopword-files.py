#!/usr/bin/env python3
"""Builds the stop-word files in data/.

Usage: scripts/make-stopword-files.py SNOWBALL_DIR [OUT_DIR]
       scripts/make-stopword-files.py --iso [PACKAGE_DIR [OUT_DIR]]
SNOWBALL_DIR holds english.stop, german.stop, ... (UTF-8, one word per line): the
eight lists of the first languages. With --iso the lists of the other languages
come from the npm package stopwords-iso (MIT licence; its notice is written beside
them as stopwords-iso.LICENSE); PACKAGE_DIR is the unpacked package, fetched with
`npm pack` when not given.
The files written are UTF-8 word-list files with LF line ends, each opening
with a comment block that says what it is and where its words came from.
"""
import os
import sys

# Function words a concordance user expects left out, beyond the Snowball list:
# determiners, pronouns, prepositions, conjunctions, auxiliaries, adverbs of degree,
# time and place, small numbers, and the archaic forms of older English texts.
ENGLISH_EXTRA = """
a about above across after afterwards again against ago ah all almost alone along
already also although always am amid amidst among amongst an and another any anybody
anyhow anyone anything anyway anyways anywhere apart are around as aside at away back
be became because become becomes becoming been before beforehand behind being below
beneath beside besides between beyond both but by can cannot could dare did do does
doing done down during each either else elsewhere enough etc even ever every everybody
everyone everything everywhere except few fifth first five for former formerly forth
four from further furthermore had has have having he hence her here hereafter hereby
herein hereupon hers herself him himself his how however i ie if in inasmuch indeed
inside instead into inward is it its itself just last latter latterly least less lest
let like likewise many may maybe me meanwhile might mine more moreover most mostly
much must my myself namely near nearly neither never nevertheless next nine no nobody
none noone nor not nothing now nowhere of off often oh ok okay on once one ones only
onto or other others otherwise ought our ours ourselves out outside over own per
perhaps please quite rather really same second several shall she should since six so
some somebody somehow someone something sometime sometimes somewhat somewhere soon
still such ten than that the thee their theirs them themselves then thence there
thereafter thereby therefore therein thereof thereupon these they thine third this
those thou though three through throughout thru thus thy till to together too toward
towards two under underneath unless unlike until unto up upon us very via was we well
were what whatever whatsoever when whence whenever where whereafter whereas whereby
wherefore wherein whereof whereupon wherever whether which while whilst whither who
whoever whole whom whomever whose why will with within without would ye yes yet you
your yours yourself yourselves
aren couldn didn doesn don hadn hasn haven isn mightn mustn needn shan shouldn wasn
weren wouldn
art canst couldst didst dost doth hadst hast hath shalt shouldst thyself wast wilt
wouldst
eight fourth seven
across along amongst barring concerning considering despite following minus
notwithstanding opposite past pending regarding round save versus worth
also anyhow besides hardly merely nonetheless quite scarcely seldom therein thereto
accordingly almost already altogether anew apparently approximately awhile
certainly chiefly clearly consequently definitely especially essentially evidently
exactly fairly finally generally greatly hereof highly instantly largely lately
mainly meantime moreover necessarily normally notably obviously occasionally
particularly plainly possibly presumably previously primarily probably promptly
rarely readily recently relatively respectively seemingly seriously shortly
significantly similarly simply slightly solely somewhat specifically strongly
subsequently successfully sufficiently surely thoroughly truly ultimately undoubtedly
usually various widely
mr mrs ms dr st
"""

# French articles, pronouns and prepositions the Snowball list leaves out.
FRENCH_EXTRA = """
les aux ces cette cet dans pour par sur sous avec sans mais donc car nous vous ils elles
leur leurs tr\u00e8s plus moins tout tous toute toutes comme aussi bien encore d\u00e9j\u00e0
ceci cela celui celle ceux celles dont quoi lequel laquelle lesquels lesquelles o\u00f9
entre vers chez depuis pendant avant apr\u00e8s contre selon parmi
"""

LANGUAGES = [
    ("en", "English", "english.stop"),
    ("de", "German", "german.stop"),
    ("es", "Spanish", "spanish.stop"),
    ("pt", "Portuguese", "portuguese.stop"),
    ("it", "Italian", "italian.stop"),
    ("fr", "French", "french.stop"),
]

CREDIT = [
    "Source: the stop-word lists of the Snowball project (snowballstem.org),",
    "Copyright (c) 2001 Dr Martin Porter, (c) 2002 Richard Boulton,",
    "used under the BSD 3-Clause licence.",
]


def read_snowball(folder, name):
    words = []
    with open(os.path.join(folder, name), encoding="utf-8") as f:
        for line in f:
            word = line.split("|")[0].strip()
            if word:
                words.append(word.lower())
    return words


def sort_key(word):
    try:
        return (0, word.encode("cp1252"))
    except UnicodeEncodeError:
        return (1, word.encode("utf-8"))


def write_list(path, title, notes, words):
    unique = sorted(set(words), key=sort_key)
    lines = ["/*", "Quillmoor stop-word list: " + title + " (" + str(len(unique)) + " words).", ""]
    lines += notes
    lines += ["", "Format: one or more words a line, separated by spaces; lines between",
              "a line beginning with slash-star and a line ending with star-slash",
              "are comments. Words are compared in lower case. UTF-8 text.", "*/"]
    lines += unique
    data = "\n".join(lines) + "\n"
    with open(path, "wb") as f:
        f.write(data.encode("utf-8"))


# The languages after the first eight lists, in the order the program lists them.
ISO_VERSION = "1.1.0"
ISO_LANGUAGES = [
    ("ru", "Russian"), ("pl", "Polish"), ("cs", "Czech"), ("sk", "Slovak"),
    ("uk", "Ukrainian"), ("bg", "Bulgarian"), ("el", "Greek"), ("tr", "Turkish"),
    ("nl", "Dutch"), ("sv", "Swedish"), ("da", "Danish"), ("no", "Norwegian"),
    ("fi", "Finnish"), ("hu", "Hungarian"), ("ro", "Romanian"), ("hr", "Croatian"),
    ("ar", "Arabic"), ("he", "Hebrew"), ("hi", "Hindi"), ("zh", "Chinese"),
    ("ja", "Japanese"), ("ko", "Korean"),
]
ISO_CREDIT = ["Source: the npm package stopwords-iso " + ISO_VERSION + " (github.com/stopwords-iso),",
              "Copyright (c) Gene Diaz, used under the MIT licence (stopwords-iso.LICENSE).",
              "Entries of more than one word are left out."]
ISO_LICENSE = """The stop-word lists stwds_ru.txt to stwds_ko.txt come from stopwords-iso
""" + ISO_VERSION + """ (npm package stopwords-iso), under this licence:

The MIT License (MIT)

Copyright (c) 2016 Gene Diaz

Permission is hereby granted, free of charge, to any person obtaining a copy of
this software and associated documentation files (the "Software"), to deal in
the Software without restriction, including without limitation the rights to
use, copy, modify, merge, publish, distribute, sublicense, and/or sell copies of
the Software, and to permit persons to whom the Software is furnished to do so,
subject to the following conditions:

The above copyright notice and this permission notice shall be included in all
copies or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS
FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR
COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER
IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN
CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.
"""


def make_iso_lists(package, out):
    import json
    import subprocess
    import tarfile
    import tempfile
    import unicodedata
    if package is None:
        work = tempfile.mkdtemp()
        subprocess.run(["npm", "pack", "--silent", "stopwords-iso@" + ISO_VERSION], cwd=work,
                       check=True, stdout=subprocess.DEVNULL)
        with tarfile.open(os.path.join(work, "stopwords-iso-" + ISO_VERSION + ".tgz")) as tar:
            tar.extractall(work)
        package = os.path.join(work, "package")
    with open(os.path.join(package, "stopwords-iso.json"), encoding="utf-8") as f:
        lists = json.load(f)
    for code, name in ISO_LANGUAGES:
        words = [unicodedata.normalize("NFC", w.strip().lower()) for w in lists[code]]
        words = [w for w in words if w and " " not in w]
        write_list(os.path.join(out, "stwds_" + code + ".txt"), name, ISO_CREDIT, words)
    with open(os.path.join(out, "stopwords-iso.LICENSE"), "w", encoding="utf-8") as f:
        f.write(ISO_LICENSE)


def main():
    data = os.path.join(os.path.dirname(__file__), "..", "data")
    if len(sys.argv) >= 2 and sys.argv[1] == "--iso":
        package = sys.argv[2] if len(sys.argv) > 2 else None
        make_iso_lists(package, sys.argv[3] if len(sys.argv) > 3 else data)
        return
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    source = sys.argv[1]
    out = sys.argv[2] if len(sys.argv) > 2 else data
    lists = {}
    for code, name, file in LANGUAGES:
        words = read_snowball(source, file)
        notes = list(CREDIT)
        if code == "en":
            words += ENGLISH_EXTRA.split()
            notes += ["Extended for Quillmoor with further English function words",
                      "(prepositions, conjunctions, adverbs, numbers, archaic forms)."]
        if code == "fr":
            words += FRENCH_EXTRA.split()
            notes += ["Extended for Quillmoor with further French articles, pronouns",
                      "and prepositions."]
        lists[code] = words
        write_list(os.path.join(out, "stwds_" + code + ".txt"), name, notes, words)
    write_list(os.path.join(out, "stwds_en_de.txt"), "English and German",
               ["The English and the German lists together."] + CREDIT, lists["en"] + lists["de"])
    everything = [w for code, _, _ in LANGUAGES for w in lists[code]]
    write_list(os.path.join(out, "stwds_en_de_es_pt_it_fr.txt"), "all six languages",
               ["The English, German, Spanish, Portuguese, Italian and French lists together."]
               + CREDIT, everything)


if __name__ == "__main__":
    main()
