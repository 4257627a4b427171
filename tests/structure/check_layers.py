#!/usr/bin/env python3
"""Checks the include structure of src/: every folder may include only its own files and
the folders ranked below it (docs/ARCHITECTURE.md draws the same picture), and no two
files include each other, directly or through others. Prints each fault and exits 1."""
import os
import re
import sys

# Folders from the bottom up. A folder may include the folders of a lower rank; folders
# of one rank may not include each other.
RANKS = [
    ["common", "jetwriter"],       # jetwriter: Jet 4 files for the demo, tests and benchmarks
    ["store"],                     # the store's ground: errors, values, file names and stamps
    ["store/dialect"],             # the Jet SQL dialect, for every back end
    ["store/access"],              # Access files through libmdb, in a child process
    ["store/sqlite"],              # the database layer over SQLite files and Access images
    ["store/postgres"],            # the figure server: connection, schema, copies
    ["store/figures"],             # the seam over the figure back ends, the operations
    ["report"],                    # the report text (no Qt Widgets)
    ["desktop"],                   # the window's logic (no Qt Widgets)
    ["report/qt"],                 # print menu, printing, preview
    ["desktop/qt", "web"],         # the window and its dialogs; the web pages
    ["app"],                       # main(), the commands
]
RANK = {folder: i for i, row in enumerate(RANKS) for folder in row}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def main(src):
    files = {}
    for root, _, names in os.walk(src):
        for n in names:
            if n.endswith((".h", ".cpp")):
                path = os.path.relpath(os.path.join(root, n), src)
                with open(os.path.join(root, n), encoding="utf-8") as f:
                    files[path] = [m for m in INCLUDE.findall(f.read()) if "/" in m]
    faults = []
    for path, includes in sorted(files.items()):
        here = os.path.dirname(path)
        if here not in RANK:
            faults.append(f"{path}: the folder {here} has no place in the layers")
            continue
        for inc in includes:
            there = os.path.dirname(inc)
            if there == here:
                continue
            if there not in RANK:
                faults.append(f"{path}: includes {inc}, from a folder that has no place in the layers")
            elif RANK[there] >= RANK[here]:
                way = "beside" if RANK[there] == RANK[here] else "above"
                faults.append(f"{path}: includes {inc}, which lies {way} it ({there} is not below {here})")
    # Circles between files: a header reached again from itself.
    graph = {p: [i for i in inc if i in files] for p, inc in files.items()}
    state = {}

    def visit(node, trail):
        state[node] = 1
        for nxt in graph.get(node, []):
            if state.get(nxt) == 1:
                faults.append("a circle of includes: " + " -> ".join(trail[trail.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = 2

    for p in sorted(graph):
        if p not in state:
            visit(p, [p])
    for f in faults:
        print(f)
    print(f"{len(files)} files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "src")))
