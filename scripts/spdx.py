#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence line at the top of every source file that lacks it (after a #! line or an
# XML declaration). Run from the project root: python3 scripts/spdx.py [--check]
import subprocess
import sys

LINE = "SPDX-License-Identifier: GPL-3.0-or-later"
COMMENTS = {
    ".cpp": "// {}", ".h": "// {}", ".txt": "# {}", ".sh": "# {}", ".py": "# {}",
    ".supp": "# {}", ".ui": "<!-- {} -->", ".qrc": "<!-- {} -->", ".html": "<!-- {} -->",
    ".htm": "<!-- {} -->", ".qss": "/* {} */", ".svg": "<!-- {} -->", ".desktop": "# {}",
    ".xml": "<!-- {} -->", ".1": '.\\" {}',
}
NAMES = {"CMakeLists.txt": "# {}", "run": "# {}"}


def comment_for(path):
    name = path.rsplit("/", 1)[-1]
    if name in NAMES:
        return NAMES[name]
    if "." in name:
        return COMMENTS.get("." + name.rsplit(".", 1)[-1])
    return None


def main():
    check = "--check" in sys.argv
    files = subprocess.run(["git", "ls-files"], capture_output=True, text=True,
                           check=True).stdout.split()
    missing = []
    for path in files:
        form = comment_for(path)
        if not form or path.endswith("TIPOFDAY.TXT"):
            continue
        with open(path, encoding="utf-8") as f:
            text = f.read()
        if any(LINE in line for line in text.split("\n", 3)[:3]):
            continue
        missing.append(path)
        if check:
            continue
        lines = text.split("\n")
        first = lines[0].lower() if lines else ""
        at = 1 if first.startswith(("#!", "<?xml", "<!doctype html")) else 0
        lines.insert(at, form.format(LINE))
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
    if check and missing:
        print("No licence line in:\n  " + "\n  ".join(missing))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
