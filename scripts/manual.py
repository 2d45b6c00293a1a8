#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the user manual (one HTML page) from the README's sections for users and the manual
pages: manual.py README.md OUT.html PAGE.1..."""
import html
import re
import sys

# The README's sections a user reads; the rest is for those who build and change the program.
USER_SECTIONS = ("Run it", "Holdings", "Databases", "Reports", "Install", "Keyboard",
                 "Languages", "The database tool", "Getting market data in")


def inline(text):
    # The README's pictures stay in the source tree; the manual goes without them.
    text = re.sub(r"!\[[^\]]*\]\([^)]*\)", "", text)
    text = html.escape(text, quote=False)
    text = re.sub(r"`([^`]+)`", r"<code>\1</code>", text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"<b>\1</b>", text)
    return re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r'<a href="\2">\1</a>', text)


def markdown(lines):
    out, para, items, table, code = [], [], [], [], None

    def flush():
        if para:
            out.append("<p>" + inline(" ".join(para)) + "</p>")
            para.clear()
        if items:
            out.append("<ul>" + "".join("<li>" + inline(i) + "</li>" for i in items) + "</ul>")
            items.clear()
        if table:
            rows = [r for r in table if not re.fullmatch(r"\|[-|: ]+\|", r)]
            cells = [[c.strip() for c in r.strip("|").split("|")] for r in rows]
            body = "".join("<tr>" + "".join(f"<{t}>{inline(c)}</{t}>" for c in row) + "</tr>"
                           for n, row in enumerate(cells) for t in ["th" if n == 0 else "td"])
            out.append("<table>" + body + "</table>")
            table.clear()

    for line in lines:
        if code is not None:
            if line.startswith("```"):
                out.append("<pre>" + html.escape("\n".join(code)) + "</pre>")
                code = None
            else:
                code.append(line)
            continue
        if line.startswith("```"):
            flush()
            code = []
        elif line.startswith("#"):
            flush()
            level = min(len(line) - len(line.lstrip("#")) + 1, 4)
            out.append(f"<h{level}>{inline(line.lstrip('#').strip())}</h{level}>")
        elif line.startswith("|"):
            if para or items:
                flush()
            table.append(line.strip())
        elif re.match(r"\s*[-*] ", line):
            if para or table:
                flush()
            items.append(re.sub(r"^\s*[-*] ", "", line))
        elif not line.strip():
            flush()
        elif items and line.startswith("  "):
            items[-1] += " " + line.strip()
        else:
            para.append(line.strip())
    flush()
    return out


def roff_inline(text):
    text = text.replace("\\-", "-").replace("\\(em", "—").replace("\\e", "\\").replace("\\&", "")
    text = html.escape(text, quote=False)
    text = re.sub(r"\\f[BI](.*?)\\f[RP]", r"<b>\1</b>", text)
    return re.sub(r"\\f[BIRP]", "", text)


def manpage(path):
    out, para = [], []

    def flush():
        if para:
            out.append("<p>" + " ".join(para) + "</p>")
            para.clear()

    for raw in open(path, encoding="utf-8").read().splitlines():
        if raw.startswith('.\\"'):
            continue
        macro, _, rest = raw.partition(" ")
        words = [w.strip('"') for w in re.findall(r'"[^"]*"|\S+', rest)]
        if macro == ".TH":
            out.append(f"<h2>{html.escape(words[0].lower())}({words[1]})</h2>")
        elif macro == ".SH":
            flush()
            out.append(f"<h3>{roff_inline(' '.join(words))}</h3>")
        elif macro in (".PP", ".TP", ".LP", ".P", ".br", ".IP"):
            flush()
        elif macro in (".B", ".I"):
            para.append("<b>" + roff_inline(" ".join(words)) + "</b>")
        elif macro in (".BR", ".RB", ".IR", ".RI", ".BI", ".IB"):
            para.append("".join(roff_inline(w) if n % 2 == (macro[1] == "B") else
                                "<b>" + roff_inline(w) + "</b>" for n, w in enumerate(words)))
        elif raw.startswith("."):
            continue
        else:
            para.append(roff_inline(raw))
    flush()
    return out


def main():
    readme, target, pages = sys.argv[1], sys.argv[2], sys.argv[3:]
    sections, current = [], None
    for line in open(readme, encoding="utf-8").read().splitlines():
        if line.startswith("## "):
            current = [line] if line[3:].startswith(USER_SECTIONS) else None
            if current is not None:
                sections.append(current)
        elif current is not None:
            current.append(line)
    body = ["<h1>Vantora Market Pro — User Manual</h1>"]
    for section in sections:
        body += markdown(section)
    body.append("<h2>Manual pages</h2>")
    for page in pages:
        body += manpage(page)
    style = ("body{font-family:sans-serif;max-width:50em;margin:1em auto;padding:0 1em}"
             "table{border-collapse:collapse}td,th{border:1px solid #aaa;padding:2px 6px}"
             "pre{background:#f3f3f3;padding:6px}")
    with open(target, "w", encoding="utf-8") as out:
        out.write('<!DOCTYPE html>\n<html lang="en"><head><meta charset="utf-8">'
                  f"<title>Vantora Market Pro — User Manual</title><style>{style}</style>"
                  "</head><body>\n" + "\n".join(body) + "\n</body></html>\n")


if __name__ == "__main__":
    main()
