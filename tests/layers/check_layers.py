#!/usr/bin/env python3
"""Checks by the include graph that no folder of src/ includes a folder above it.

The layers, lowest first (a folder may include its own layer and the layers below it):

  core                              text, Variant, OleDate, HostError, Signal, the form model
  platform, host, resources         the ports and the compiled-in resources
  settings                          the services object and what it holds
  recipients, distlists, separate   the features
  ui                                command surfaces and windows
  addin                             Connect and the add-in's own objects

Within one layer, two folders may not include each other (no cycle between peers). Prints every
offending include with its file and line, and exits 1 when there is one.
Usage: check_layers.py SRC_DIR
"""
import pathlib
import re
import sys

LAYERS = [
    ["core"],
    ["platform", "host", "resources"],
    ["settings"],
    ["recipients", "distlists", "separate"],
    ["ui"],
    ["addin"],
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([A-Za-z_]+)/')


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    src = pathlib.Path(argv[1])
    problems = []
    peers = {}  # (folder, folder) -> first include seen, for peers of one layer
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in RANK:
            problems.append(f"{path}: the folder '{folder}' has no layer (add it to {argv[0]})")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            where = f"{path.relative_to(src.parent)}:{number}"
            if target not in RANK:
                problems.append(f"{where}: includes '{target}/', which is no folder of src/")
            elif RANK[target] > RANK[folder]:
                problems.append(f"{where}: {folder}/ includes {target}/, a layer above it")
            elif RANK[target] == RANK[folder] and target != folder:
                peers.setdefault((folder, target), where)
    for (a, b), where in sorted(peers.items()):
        if (b, a) in peers and a < b:
            problems.append(f"{where} and {peers[(b, a)]}: {a}/ and {b}/ include each other")
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the layers")
        return 1
    print("every include of src/ points down or within its layer")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
