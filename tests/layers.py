"""The layers of the code, held by every include and every link.

    tests/layers.py SOURCE TARGETS

SOURCE is the source tree; TARGETS the list of the build's targets that
cmake/layers.cmake writes when the build is configured (build/*/targets.txt).
Fails, naming each fault, where:
  - a file includes a folder of a higher layer, or of its own layer but
    another folder, or a folder that is in no layer;
  - a file includes a folder its target does not link (a folder's headers
    are held to what its library passes on to its users);
  - a target links a library of a higher layer;
  - a folder of C++ files is in no layer.

The layers, lowest first. A folder may include and link only folders of
lower layers; the compiler sees to the rest, as a target's include roots
hold only the folders it links."""

import os
import re
import sys

LAYERS = [
    # The core, as values.
    ["deal"],
    # Pure text; moves by chance drawn; chances summed in floating point; the
    # colors; what the pictures and the page lay out alike; the group a set
    # of permutations generates.
    ["text", "draw", "floating", "colors", "views", "group"],
    # The one table of facts.
    ["facts"],
    # The programs' input and output; chances summed exactly; the drawing.
    ["console", "exact", "picture"],
    # deal itself, its companions, the page, the Python module, and the
    # manual pages' filler.
    ["filter", "companions", "web", "python", "man"],
    # What checks and measures them.
    ["tests", "bench", "fuzz"],
]
LAYER = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
CODE = (".cpp", ".hpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def includes(path):
    """Each folder `path` includes, with the line it does so on."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for m in INCLUDE.finditer(text):
        name = m.group(1)
        line = text.count("\n", 0, m.start()) + 1
        yield (name.split("/")[0] if "/" in name else None), name, line


def read_targets(path):
    """{target: (sources relative to SOURCE, linked folders, passed-on folders)}"""
    targets = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            head, sources, linked, passed = (part.split() for part in line.rstrip("\n").split("|"))
            name, folder = head
            base = "" if folder == "." else folder
            sources = [os.path.normpath(os.path.join(base, s)) if not os.path.isabs(s) else s
                       for s in sources]
            targets[name] = (sources, set(linked), set(passed))
    return targets


def main():
    source, targets_file = sys.argv[1], sys.argv[2]
    targets = read_targets(targets_file)
    faults = []

    # Which target each source file is built by, and what it links; a
    # folder's headers are held to what its library passes on, or, in a
    # folder of programs, to what they all link.
    linked_by_file, headers_may = {}, {}
    for name, (sources, linked, passed) in targets.items():
        for s in sources:
            relative = os.path.relpath(s, source) if os.path.isabs(s) else s
            linked_by_file.setdefault(relative, set()).update(linked)
            folder = relative.split(os.sep)[0]
            if "deal_" + folder not in targets:
                headers_may.setdefault(folder, set()).update(linked)
    for name, (sources, linked, passed) in targets.items():
        if name.startswith("deal_") and name[5:] in LAYER:
            headers_may[name[5:]] = passed

    for name, (sources, linked, passed) in targets.items():
        folders = {s.split(os.sep)[0] for s in sources if not os.path.isabs(s)}
        for folder in folders:
            for other in sorted(linked | passed):
                if folder in LAYER and other in LAYER and LAYER[other] >= LAYER[folder] \
                        and other != folder:
                    faults.append(f"target {name} in {folder}/ links deal::{other}, "
                                  f"which is not in a lower layer")

    for folder in sorted(os.listdir(source)):
        path = os.path.join(source, folder)
        if folder.startswith(".") or folder == "build" or not os.path.isdir(path):
            continue
        files = sorted(f for f in os.listdir(path) if f.endswith(CODE))
        if files and folder not in LAYER:
            faults.append(f"{folder}/ holds C++ code and is in no layer of tests/layers.py")
            continue
        for name in files:
            relative = os.path.join(folder, name)
            if name.endswith(".hpp"):
                may = headers_may.get(folder)
            else:
                may = linked_by_file.get(relative)
            for included, whole, line in includes(os.path.join(path, name)):
                where = f"{relative}:{line}"
                if included is None or included == folder:
                    continue
                if included not in LAYER:
                    faults.append(f"{where}: includes {whole}, of a folder in no layer")
                elif LAYER[included] >= LAYER[folder]:
                    faults.append(f"{where}: includes {whole}: {included}/ is not in a layer "
                                  f"below {folder}/")
                elif may is not None and included not in may:
                    what = ("its library passes on" if name.endswith(".hpp")
                            else "its target links")
                    faults.append(f"{where}: includes {whole}, and deal::{included} is not "
                                  f"among the libraries {what}")

    for fault in faults:
        print(fault, file=sys.stderr)
    if not targets:
        print(f"no target listed in {targets_file}", file=sys.stderr)
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
