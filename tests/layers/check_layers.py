#!/usr/bin/python3
"""Checks that the library's includes only point down its layers.

usage: check_layers.py SOURCE_DIR LAYER [LAYER ...]
Each LAYER is a folder name, or several joined by commas when they stand on one
level (audio,ipc), from the lowest to the highest. A file of a layer may include
its own layer's headers and those of any lower layer, never a higher one's nor
a same-level neighbour's. Prints every include that breaks the rule and exits 1
if there is one. Any folder not named (entry/, tools/, tests/, bench/) stands
above all layers and is not checked.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/', re.M)


def levels(names):
    rank = {}
    for level, group in enumerate(names):
        for folder in group.split(","):
            rank[folder] = level
    return rank


def violations(root, rank):
    for layer, level in rank.items():
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in sorted(files):
                if not name.endswith((".h", ".hpp", ".cpp", ".cc")):
                    continue
                path = os.path.join(folder, name)
                with open(path, errors="replace") as source:
                    for target in INCLUDE.findall(source.read()):
                        if target in rank and target != layer and rank[target] >= level:
                            yield f"{os.path.relpath(path, root)} includes {target}/ (a layer at or above {layer}/)"


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    found = list(violations(sys.argv[1], levels(sys.argv[2:])))
    for line in found:
        print(line)
    print(f"{len(found)} includes against the layers")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
