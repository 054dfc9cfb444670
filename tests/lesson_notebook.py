"""The lesson, docs/lesson.ipynb, run top to bottom by Jupyter's own kernel
against the module built in BUILD; every text it prints held to the outputs
kept in the file, so that the page a reader sees is the one the code makes.

    tests/lesson_notebook.py BUILD NOTEBOOK [--write]

--write keeps the fresh outputs, pictures and all, in NOTEBOOK instead.
Without Jupyter's runner and kernel (Debian: python3-nbclient and
python3-ipykernel) it is skipped (status 77); with DEAL_REQUIRE_TOOLS=1 it
fails."""

import os
import sys


def texts(cell):
    """What a code cell printed or gave, as text: the module's pictures by
    their SVG, which Cairo writes the same on every run; PNG left out."""
    out = []
    for o in cell.get("outputs", []):
        if o["output_type"] == "stream":
            out.append(o["text"])
        elif "data" in o:
            out += [o["data"][k] for k in ["text/plain", "image/svg+xml"] if k in o["data"]]
        elif o["output_type"] == "error":
            out.append(f"{o['ename']}: {o['evalue']}")
    return out


def main():
    build, path = os.path.abspath(sys.argv[1]), sys.argv[2]
    try:
        import nbclient
        import nbformat
    except ImportError as missing:
        print(f"{missing.name} is not installed (Debian: python3-nbclient, python3-ipykernel)",
              file=sys.stderr)
        return 1 if os.environ.get("DEAL_REQUIRE_TOOLS") == "1" else 77
    os.environ["PYTHONPATH"] = os.path.join(build, "python")
    os.environ["PYDEVD_DISABLE_FILE_VALIDATION"] = "1"
    # Matplotlib's fonts and caches stay out of the user's home.
    os.environ.setdefault("MPLCONFIGDIR", os.path.join(build, "matplotlib"))
    kept = nbformat.read(path, as_version=4)
    fresh = nbformat.read(path, as_version=4)
    # Without the times each cell ran at, which would change the file on
    # every run.
    nbclient.NotebookClient(fresh, timeout=600, kernel_name="python3", record_timing=False,
                            resources={"metadata": {"path": os.path.dirname(path)}}).execute()
    if "--write" in sys.argv:
        for cell in fresh.cells:
            cell.metadata.pop("execution", None)
        nbformat.write(fresh, path)
        return 0
    faults = 0
    for number, (old, new) in enumerate(zip(kept.cells, fresh.cells), 1):
        if new.cell_type == "code" and texts(old) != texts(new):
            print(f"cell {number}: the notebook keeps {texts(old)!r}, and it prints "
                  f"{texts(new)!r}", file=sys.stderr)
            faults += 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
