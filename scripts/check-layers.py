#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that includes run one way down the libraries:

    formulas < storage < exchange < quotes < binding < screens

A source may include headers of its own library and of those below it, never of one above; the
storage, exchange and quotes libraries include no Qt Widgets or Qt Gui header. Each source's
library is read from the build files (add_library lists), so a file moved or added there is
checked where it now belongs. The database tool stands at the quotes layer (it links quotes and
below); the program's main.cpp above the screens. Prints each offending include and exits 1.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
LAYERS = ["formulas", "storage", "exchange", "quotes", "binding", "screens", "program"]
NO_GUI = {"storage", "exchange", "quotes"}
# Qt's widget and GUI headers: <QtWidgets/...>, <QtGui>, and the class headers that Qt installs
# in its Widgets and Gui folders (<QWidget>, <QPixmap>...).
QT_GUI_MODULES = re.compile(r"^Qt(Widgets|Gui|WebEngine\w*|Charts|PrintSupport|OpenGL\w*)$")
QT_INCLUDE = pathlib.Path("/usr/include/x86_64-linux-gnu/qt6")


def qt_gui_headers():
    names = set()
    for module in ("QtWidgets", "QtGui"):
        folder = QT_INCLUDE / module
        if folder.is_dir():
            names.update(p.name for p in folder.iterdir() if p.name.startswith("Q"))
    if not names:
        sys.exit(f"check-layers: Qt's headers are not in {QT_INCLUDE}")
    return names


INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def library_of_sources():
    """Maps each source listed in an add_library of the build files to its layer."""
    owner = {}
    for cmake in [ROOT / "CMakeLists.txt", *sorted((ROOT / "data").glob("*/CMakeLists.txt"))]:
        text = cmake.read_text(encoding="utf-8")
        for name, body in re.findall(r"add_library\((vantora_\w+)\s+STATIC(.*?)\)", text, re.S):
            layer = name.removeprefix("vantora_")
            if layer not in LAYERS:
                continue
            for word in body.split():
                if word.startswith(("${PROJECT_SOURCE_DIR}/", "${CMAKE_SOURCE_DIR}/")):
                    path = ROOT / word.split("}/", 1)[1]
                elif word.startswith("$"):
                    continue
                else:
                    path = cmake.parent / word
                owner[path.resolve().relative_to(ROOT).with_suffix("").as_posix()] = layer
        # The screens' forms: "set(vantora_forms app/Form11 ...)".
        for body in re.findall(r"set\(vantora_forms(.*?)\)", text, re.S):
            for word in body.split():
                owner[word] = "screens"
    return owner


def layer_of(path, owner):
    stem = path.with_suffix("").as_posix()
    if stem in owner:
        return owner[stem]
    top = path.parts[0]
    if stem == "app/main":
        return "program"
    if top == "tools":
        return "quotes"
    if top in ("app", "shell", "analysis", "planners", "forecast"):
        return "screens"
    return None  # tests, benchmarks: they may include anything


def main():
    owner = library_of_sources()
    gui_headers = qt_gui_headers()
    problems = []
    checked = 0
    files = [p for ext in ("*.cpp", "*.h") for p in ROOT.rglob(ext)]
    for file in sorted(files):
        rel = file.relative_to(ROOT)
        if rel.parts[0].startswith("build") or rel.parts[0] in ("tests", "bench"):
            continue
        layer = layer_of(rel, owner)
        if layer is None:
            continue
        checked += 1
        for kind, header in INCLUDE.findall(file.read_text(encoding="utf-8")):
            if kind == "<":
                if layer in NO_GUI and (QT_GUI_MODULES.match(header.split("/")[0]) or
                                        header.split("/")[-1] in gui_headers):
                    problems.append(f"{rel}: the {layer} library includes <{header}> (Qt Widgets "
                                    "or Qt Gui)")
                continue
            target = pathlib.Path(header)
            if not (ROOT / target).exists():
                continue
            above = layer_of(target, owner)
            if above and LAYERS.index(above) > LAYERS.index(layer):
                problems.append(f'{rel}: the {layer} library includes "{header}" of the {above} '
                                "library above it")
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) run against the layers "
              "(formulas < storage < exchange < quotes < binding < screens).")
        return 1
    print(f"Layers: {checked} sources checked, every include runs down.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
