#!/usr/bin/python3
"""A KWIC concordance over NLTK's ConcordanceIndex: every distinct word (in lower
case, alphabetically) with each of its occurrences in 80 columns of context.
Usage: nltk_kwic.py FILE > OUT. Tokens come from NLTK's WordPunctTokenizer, which
needs no downloaded data."""
import sys

from nltk.text import ConcordanceIndex
from nltk.tokenize import WordPunctTokenizer


def main():
    with open(sys.argv[1], encoding="latin-1") as f:
        text = f.read()
    tokens = WordPunctTokenizer().tokenize(text)
    index = ConcordanceIndex(tokens, key=lambda s: s.lower())
    out = sys.stdout
    for word in sorted({t.lower() for t in tokens if t.isalpha()}):
        out.write("[" + word + "]\n")
        for line in index.find_concordance(word, width=80):
            out.write(line.line + "\n")


if __name__ == "__main__":
    main()
