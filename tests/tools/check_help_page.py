"""Checks the help page against its source: usage: check_help_page.py <quor6.html> <source.txt>.

The page must be well-formed UTF-8 HTML (every element closed in order), in Japanese, with no
script and nothing loaded from outside; every topic of the source a section with its context
name as id and its title as heading; every jump of the source and every link of the page
leading to an id of the page."""

import re
import sys
from html.parser import HTMLParser

VOID = {"meta", "br", "hr", "img", "link", "input"}
TOPIC = re.compile(r"^\s*# (.+?)\s*\{([A-Za-z0-9._]+)\}\s*$")
JUMP = re.compile(r"\]\(([A-Za-z0-9._]+)\)")


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open, self.faults, self.ids, self.links, self.headings = [], [], set(), [], {}
        self.lang = None
        self._section, self._heading = None, None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "html":
            self.lang = attrs.get("lang")
        if tag == "script" or "src" in attrs or tag == "link":
            self.faults.append(f"<{tag}> loads or runs something")
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "section":
            self._section = attrs.get("id")
        if tag == "h2":
            self._heading = ""
        if tag == "a":
            self.links.append(attrs.get("href", ""))
        if tag not in VOID:
            self.open.append(tag)

    def handle_endtag(self, tag):
        if not self.open or self.open.pop() != tag:
            self.faults.append(f"</{tag}> closes no open <{tag}>")
        if tag == "h2" and self._section:
            self.headings[self._section] = self._heading

    def handle_data(self, data):
        if self._heading is not None and self.open and self.open[-1] == "h2":
            self._heading += data


def main(page_path, source_path):
    page = Page()
    page.feed(open(page_path, "rb").read().decode("utf-8"))
    page.close()
    faults = list(page.faults) + [f"<{tag}> never closed" for tag in page.open]
    if page.lang != "ja":
        faults.append(f"lang is {page.lang!r}")
    source = open(source_path, encoding="utf-8-sig").read().splitlines()
    topics = [match.groups() for match in map(TOPIC.match, source) if match]
    if not topics:
        faults.append("no topics found in the source")
    for title, name in topics:
        if page.headings.get(name) != title:
            faults.append(f"topic {name} ({title}): heading {page.headings.get(name)!r}")
    targets = [name for line in source if not line.startswith(";") for name in JUMP.findall(line)]
    for href in page.links:
        if not href.startswith("#"):
            faults.append(f"link out of the page: {href!r}")
        targets.append(href[1:])
    faults += [f"no id {name}" for name in sorted(set(targets) - page.ids)]
    for fault in faults:
        print("help page:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
