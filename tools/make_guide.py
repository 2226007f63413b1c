#!/usr/bin/env python3
"""Writes resources/switchpoint.html, the page the configuration window's
links open, from README.md. Windows has no default program for Markdown, so
the page ships as HTML beside the exe. The output is committed; run this
again after changing the README.

Understands what the README uses: headings, paragraphs, "- " lists with
continuation lines, indented code blocks, `code`, *emphasis* and **bold**.
"""
import html
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent


def inline(text):
    text = html.escape(text, quote=False)
    text = re.sub(r"`([^`]+)`", r"<code>\1</code>", text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"<strong>\1</strong>", text)
    return re.sub(r"\*([^*]+)\*", r"<em>\1</em>", text)


def convert(lines):
    out, para, items, code = [], [], [], []

    def flush():
        if para:
            out.append("<p>" + inline(" ".join(para)) + "</p>")
            para.clear()
        if items:
            out.append("<ul>" + "".join("<li>" + inline(i) + "</li>" for i in items) + "</ul>")
            items.clear()
        if code:
            out.append("<pre><code>" + html.escape("\n".join(code)) + "</code></pre>")
            code.clear()

    for line in lines:
        if line.startswith("    ") and not items and not para:
            code.append(line[4:])
        elif not line.strip():
            flush()
        elif m := re.match(r"(#{1,6}) (.*)", line):
            flush()
            level = len(m.group(1))
            out.append(f"<h{level}>{inline(m.group(2))}</h{level}>")
        elif line.startswith("- "):
            if para or code:
                flush()
            items.append(line[2:].strip())
        elif items and line.startswith("  "):
            items[-1] += " " + line.strip()
        else:
            if code:
                flush()
            para.append(line.strip())
    flush()
    return out


def main():
    lines = (ROOT / "README.md").read_text(encoding="utf-8").splitlines()
    body = "\n".join(convert(lines))
    page = (
        '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
        "<title>switchpoint</title>\n"
        "<style>body{font-family:sans-serif;max-width:46em;margin:2em auto;padding:0 1em;"
        "line-height:1.5}code,pre{background:#f3f3f3}pre{padding:.6em}</style>\n"
        f"</head>\n<body>\n{body}\n</body>\n</html>\n"
    )
    (ROOT / "resources" / "switchpoint.html").write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
