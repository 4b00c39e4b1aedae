#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer.

Layers, each using only those below it: process (the system's handles) < textio < model
< ww3 (the readers of the input) < spectral < output < run; main.cpp stands on top. A folder that is not in the order is
an error too, so that a new folder is placed in it before it is used.

Usage: check_layers.py SOURCE_DIR
"""
import pathlib
import re
import sys

LAYERS = ["process", "textio", "model", "ww3", "spectral", "output", "run"]
TOP = len(LAYERS)  # main.cpp
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(relative: pathlib.PurePosixPath) -> int:
    if len(relative.parts) == 1:
        return TOP
    folder = relative.parts[0]
    if folder not in LAYERS:
        raise ValueError(f"{relative}: the folder {folder!r} has no place in the layer order {LAYERS}")
    return LAYERS.index(folder)


def main() -> int:
    root = pathlib.Path(sys.argv[1])
    files = sorted(p for p in root.rglob("*") if p.suffix in (".hpp", ".cpp", ".h"))
    if not files:
        print(f"no sources under {root}", file=sys.stderr)
        return 1
    faults = []
    for path in files:
        relative = pathlib.PurePosixPath(path.relative_to(root).as_posix())
        try:
            own = layer_of(relative)
            for name in INCLUDE.findall(path.read_text(encoding="utf-8")):
                # A name without a folder is a header of the including file's own folder.
                target = pathlib.PurePosixPath(name)
                if len(target.parts) == 1:
                    target = relative.parent / target
                if not (root / target).exists():
                    continue  # not one of ours
                used = layer_of(target)
                if used > own:
                    faults.append(f"{relative} includes {name}, a header of a higher layer")
        except ValueError as error:
            faults.append(str(error))
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f"{len(files)} files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
