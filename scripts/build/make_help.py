#!/usr/bin/env python3
"""Writes dist/help.html, the help page that F1 opens, from the Chinese half of
docs/guide.md, so that the two say the same. The pictures stay in the guide: the
page is one file, copied into every event folder.

    python3 scripts/build/make_help.py           writes dist/help.html
    python3 scripts/build/make_help.py --check   fails when dist/help.html is not what
                                           the guide makes (the tests run this)

Only the Markdown the guide uses is understood: headings, paragraphs, numbered
and bulleted lists (with indented continuation), tables, fenced code, pictures
(left out), **bold** and `code`.
"""
import html
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
GUIDE = os.path.join(ROOT, "docs", "guide.md")
HELP = os.path.join(ROOT, "dist", "help.html")

HEAD = """<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>Kelvara抽奖软件 帮助</title>
<style>
body { font-family: "Noto Sans CJK SC", sans-serif; max-width: 46em; margin: 2em auto; line-height: 1.6; color: #222; }
h1 { color: #a4161a; } h2 { border-bottom: 1px solid #ddd; }
table { border-collapse: collapse; } td, th { border: 1px solid #ddd; padding: .2em .8em; vertical-align: top; }
code { background: #f3f3f3; padding: 0 .2em; } pre { background: #f3f3f3; padding: .5em 1em; }
</style>
</head>
<body>
<h1>Kelvara抽奖软件 帮助</h1>
<p>本页与现场使用指南(docs/guide.md)的中文部分内容相同;指南中还有各个窗口的截图。</p>
"""
TAIL = "</body>\n</html>\n"


def inline(text):
    text = html.escape(text, quote=False)
    text = re.sub(r"\*\*(.+?)\*\*", r"<b>\1</b>", text)
    return re.sub(r"`(.+?)`", r"<code>\1</code>", text)


def join_lines(lines):
    """Lines of one paragraph: Chinese text joins without a blank, as it is written."""
    text = ""
    for line in lines:
        if text and line and (ord(text[-1]) < 0x2E80 and ord(line[0]) < 0x2E80):
            text += " "
        text += line
    return text


def chinese_half(markdown):
    start = markdown.index("\n## 中文\n") + len("\n## 中文\n")
    end = markdown.index("\n---\n", start)
    return markdown[start:end].split("\n")


def blocks(lines):
    """Splits lines into (kind, lines) blocks; list items keep their indented
    continuation lines, which are rendered as blocks of their own."""
    out, k = [], 0
    while k < len(lines):
        line = lines[k]
        if not line.strip():
            k += 1
        elif line.startswith("```"):
            end = lines.index("```", k + 1)
            out.append(("code", lines[k + 1:end]))
            k = end + 1
        elif line.startswith("|"):
            rows = []
            while k < len(lines) and lines[k].startswith("|"):
                rows.append(lines[k])
                k += 1
            out.append(("table", rows))
        elif re.match(r"(\d+\.|-) ", line):
            kind = "ol" if line[0].isdigit() else "ul"
            items = []
            while k < len(lines) and re.match(r"(\d+\.|-) ", lines[k]) and (lines[k][0].isdigit()) == (kind == "ol"):
                body = [re.sub(r"^(\d+\.|-) ", "", lines[k])]
                k += 1
                while k < len(lines) and (lines[k].startswith("   ") or not lines[k].strip()):
                    if not lines[k].strip() and not (k + 1 < len(lines) and lines[k + 1].startswith("   ")):
                        break
                    body.append(lines[k][3:] if lines[k].startswith("   ") else "")
                    k += 1
                items.append(body)
                # A blank line between two items of the same list does not end it.
                while k < len(lines) and not lines[k].strip():
                    k += 1
            out.append((kind, items))
        elif line.startswith("#"):
            out.append(("heading", [line]))
            k += 1
        else:
            para = []
            while k < len(lines) and lines[k].strip() and not re.match(r"(#|\||```|\d+\. |- )", lines[k]):
                para.append(lines[k])
                k += 1
            out.append(("p", para))
    return out


def render(lines):
    parts = []
    for kind, body in blocks(lines):
        if kind == "heading":
            parts.append("<h2>%s</h2>" % inline(body[0].lstrip("#").strip()))
        elif kind == "code":
            parts.append("<pre>%s</pre>" % html.escape("\n".join(body), quote=False))
        elif kind == "table":
            cells = [[c.strip() for c in row.strip().strip("|").split("|")] for row in body]
            head, rows = cells[0], cells[2:]
            parts.append("<table>\n<tr>%s</tr>" % "".join("<th>%s</th>" % inline(c) for c in head))
            parts.extend("<tr>%s</tr>" % "".join("<td>%s</td>" % inline(c) for c in row) for row in rows)
            parts.append("</table>")
        elif kind in ("ol", "ul"):
            parts.append("<%s>" % kind)
            parts.extend("<li>%s</li>" % render(item) for item in body)
            parts.append("</%s>" % kind)
        else:
            text = join_lines([l.strip() for l in body if not l.strip().startswith("![")])
            if text:
                parts.append("<p>%s</p>" % inline(text))
    return "\n".join(parts)


def main():
    with open(GUIDE, encoding="utf-8") as f:
        page = HEAD + render(chinese_half(f.read())) + "\n" + TAIL
    if "--check" in sys.argv[1:]:
        with open(HELP, encoding="utf-8") as f:
            if f.read() != page:
                sys.exit("dist/help.html is not what docs/guide.md makes: run scripts/build/make_help.py")
        return
    with open(HELP, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()
