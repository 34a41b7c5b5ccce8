"""Reads an HTML page of the program with Python's own HTML parser, as a browser would, and checks that
nothing in it became markup of its own: only the page's elements occur (inside the replay board only its
own), the applet's "moves" (or "logfile") parameter hands over exactly the expected text, and the title
reads as expected.

usage: html_page_check.py PAGE PARAM EXPECTED_VALUE_FILE EXPECTED_TITLE_FILE
(an expected value file whose name ends in ".utf8" is UTF-8, the others Shift-JIS like the page)
Exit status 0 when all holds; otherwise the first difference is printed.
"""
import sys
from html.parser import HTMLParser

PAGE_ELEMENTS = {"html", "head", "title", "body", "center", "applet", "param"}
# The replay board inside the applet element (its div "qv" and what it holds).
REPLAY_ELEMENTS = {"div", "style", "svg", "defs", "radialgradient", "stop", "rect", "g", "line", "circle",
                   "button", "span", "script"}


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.elements = []
        self.params = {}
        self.title = ""
        self.in_title = False
        self.replay_depth = 0  # divs open inside the replay board

    def handle_starttag(self, tag, attrs):
        if self.replay_depth:
            if tag == "div":
                self.replay_depth += 1
            if tag not in REPLAY_ELEMENTS:
                self.elements.append(tag)
            return
        if tag == "div" and dict(attrs).get("id") == "qv":
            self.replay_depth = 1
            return
        self.elements.append(tag)
        if tag == "param":
            a = dict(attrs)
            self.params[a.get("name")] = a.get("value")
        self.in_title = tag == "title"

    def handle_endtag(self, tag):
        if tag == "div" and self.replay_depth:
            self.replay_depth -= 1
        if tag == "title":
            self.in_title = False

    def handle_data(self, data):
        if self.in_title:
            self.title += data


def main():
    page_path, param, value_path, title_path = sys.argv[1:5]
    text = open(page_path, "rb").read().decode("cp932")
    expected = open(value_path, "rb").read().decode("utf-8" if value_path.endswith(".utf8") else "cp932")
    title = open(title_path, "rb").read().decode("cp932")
    page = Page()
    page.feed(text)
    page.close()
    strange = [e for e in page.elements if e not in PAGE_ELEMENTS]
    if strange:
        print("elements injected:", strange)
        return 1
    if page.params.get(param) != expected:
        print("value of", param, "is", repr(page.params.get(param)), "expected", repr(expected))
        return 1
    if page.title != title:
        print("title is", repr(page.title), "expected", repr(title))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
