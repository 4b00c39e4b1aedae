#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer.

Layers, each using only those below it: process (the system's handles) < textio < model
< ww3 (the readers of the input) < spectral < output < run; main.cpp stands on top. A folder that is not in the order is
an error too, so that a new folder is placed in it before it is used.

Inside ww3, each input format has its own folder (ww3/ascii, ww3/netcdf). A format's
headers are for its own folder and the registry of formats (ww3/input_formats.*) alone:
no other format, no shared file of ww3 and no higher layer includes them.

Usage: check_layers.py SOURCE_DIR
"""
import pathlib
import re
import sys

LAYERS = ["process", "textio", "model", "ww3", "spectral", "output", "run"]
TOP = len(LAYERS)  # main.cpp
FORMATS_ROOT = "ww3"
REGISTRY = "input_formats"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(relative: pathlib.PurePosixPath) -> int:
    if len(relative.parts) == 1:
        return TOP
    folder = relative.parts[0]
    if folder not in LAYERS:
        raise ValueError(f"{relative}: the folder {folder!r} has no place in the layer order {LAYERS}")
    return LAYERS.index(folder)


def format_of(relative: pathlib.PurePosixPath):
    """The input format folder a file is in, None outside one."""
    parts = relative.parts
    if len(parts) > 2 and parts[0] == FORMATS_ROOT:
        return parts[1]
    return None


def may_use_format(relative: pathlib.PurePosixPath, target: pathlib.PurePosixPath) -> bool:
    wanted = format_of(target)
    if wanted is None:
        return True
    if format_of(relative) == wanted:
        return True
    return len(relative.parts) == 2 and relative.parts[0] == FORMATS_ROOT and relative.stem == REGISTRY


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
                elif not may_use_format(relative, target):
                    faults.append(f"{relative} includes {name}, a header of an input format that only its "
                                  "own folder and the registry use")
        except ValueError as error:
            faults.append(str(error))
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f"{len(files)} files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
