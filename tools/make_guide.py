#!/usr/bin/env python3
"""Turns the user guide (Markdown) into one HTML page, the page the
configuration window's links open. Windows has no default program for
Markdown, so the page ships as HTML beside the exe; its pictures are put
inside it, so the one file is the whole guide.

    make_guide.py docs/guide.md build/win/guide.html

Understands what the guide uses: headings, paragraphs, "- " lists with
continuation lines, indented code blocks, `code`, *emphasis*, **bold** and
pictures on a line of their own, ![text](file.png), beside the guide.
"""
import base64
import html
import pathlib
import re
import sys


def inline(text):
    text = html.escape(text, quote=False)
    text = re.sub(r"`([^`]+)`", r"<code>\1</code>", text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"<strong>\1</strong>", text)
    return re.sub(r"\*([^*]+)\*", r"<em>\1</em>", text)


def picture(folder, alt, name):
    data = base64.b64encode((folder / name).read_bytes()).decode("ascii")
    return (f'<p><img src="data:image/png;base64,{data}" alt="{html.escape(alt)}"></p>')


def convert(lines, folder):
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
        elif m := re.fullmatch(r"!\[([^\]]*)\]\(([^)]+)\)", line.strip()):
            flush()
            out.append(picture(folder, m.group(1), m.group(2)))
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
    source, target = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    body = "\n".join(convert(source.read_text(encoding="utf-8").splitlines(), source.parent))
    page = (
        '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
        "<title>switchpoint: user guide</title>\n"
        "<style>body{font-family:sans-serif;max-width:46em;margin:2em auto;padding:0 1em;"
        "line-height:1.5}code,pre{background:#f3f3f3}pre{padding:.6em}img{max-width:100%}</style>\n"
        f"</head>\n<body>\n{body}\n</body>\n</html>\n"
    )
    target.write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
