#!/usr/bin/env python3
"""Checks the includes of a source tree against its layers file.

usage: check-layers.py [--root DIR] [--layers FILE]

Every `#include "folder/File.h"` under DIR/src (default: the repository) must name a
header of the including file's own folder or of a folder its layer allows
(doc/layers.txt). The layers file itself must name only folders of lines above, so that
the folders form no cycle. Exit status 0 when all is well, 1 with one line per broken
include on standard error.
"""
import argparse
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/[^"]+"')


def read_layers(path, problems):
    allowed = {}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        folder, _, below = line.partition(":")
        folder = folder.strip()
        for name in below.split():
            if name not in allowed:
                problems.append(f"{path}:{number}: {folder} may not include {name}: "
                                f"it names no layer below it")
        allowed[folder] = set(below.split())
    return allowed


def main():
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=here)
    parser.add_argument("--layers")
    args = parser.parse_args()
    layers = args.layers or os.path.join(args.root, "doc", "layers.txt")
    problems = []
    allowed = read_layers(layers, problems)
    src = os.path.join(args.root, "src")
    count = 0  # includes from another folder, all allowed
    for folder_path, _, files in sorted(os.walk(src)):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder_path, name)
            rel = os.path.relpath(path, args.root)
            folder = os.path.relpath(path, src).split(os.sep)[0]
            if folder not in allowed:
                problems.append(f"{rel}: the folder {folder} has no layer in {layers}")
                continue
            for number, line in enumerate(open(path, encoding="utf-8"), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = m.group(1)
                if target == folder:
                    continue
                if target in allowed[folder]:
                    count += 1
                    continue
                header = line.split('"')[1]
                problems.append(f"{rel}:{number}: includes {header}, but {folder} may "
                                f"include only {' '.join(sorted(allowed[folder])) or 'its own'}")
    for p in problems:
        print("check-layers: " + p, file=sys.stderr)
    if problems:
        return 1
    print(f"check-layers: the includes of src/ keep the layers of {os.path.relpath(layers, args.root)}"
          f" ({count} includes across folders)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
