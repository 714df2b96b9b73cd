#!/usr/bin/env python3
"""Checks the links between the project's pages: every relative link of the
given Markdown files must lead to a file that exists and, with #anchor, to a
heading of that page (anchors made as GitHub makes them). Prints each broken
link and exits 1 if there is one.

    tools/check-doc-links.py README.md docs/*.md
"""
import os
import re
import sys


def anchor_of(heading):
    text = re.sub(r"[`*_]", "", heading.strip().lower())
    return re.sub(r"[^\w\- ]", "", text).replace(" ", "-")


def anchors(path):
    """The anchors of a page's headings; a heading met again gets -1, -2..."""
    found, in_code = set(), False
    for line in open(path, encoding="utf-8"):
        if line.startswith("```"):
            in_code = not in_code
        heading = re.match(r"^#{1,6} (.*)$", line)
        if heading and not in_code:
            base = name = anchor_of(heading.group(1))
            n = 0
            while name in found:
                n += 1
                name = f"{base}-{n}"
            found.add(name)
    return found


def broken_links(page):
    text = re.sub(r"```.*?```", "", open(page, encoding="utf-8").read(), flags=re.S)
    for target in re.findall(r"\]\(([^)\s]+)\)", text):
        if re.match(r"^[a-z][a-z0-9+.-]*:", target):
            continue  # another site's address
        path, _, anchor = target.partition("#")
        full = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
        if not os.path.exists(full):
            yield f"{page}: {target}: no such file"
        elif anchor and full.endswith(".md") and anchor not in anchors(full):
            yield f"{page}: {target}: no such heading"


def main(pages):
    problems = [problem for page in pages for problem in broken_links(page)]
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
