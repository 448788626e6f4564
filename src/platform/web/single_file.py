#!/usr/bin/python3
"""Writes vivur.html: the page with everything it needs inside it, so that it
plays when opened from disk, where a page may fetch nothing.

usage: single_file.py INDEX_HTML PAGE_JS VIVUR_JS VIVUR_WASM VIVUR_PAK OUT_HTML

The program's script and the page's script go in as script elements, the
WebAssembly and the archive as base64 in window.vivurInline, which the page
decodes instead of fetching them."""
import base64
import sys


def script(text):
    # Nothing inside may end the element early.
    return "<script>\n" + text.replace("</script", "<\\/script") + "\n</script>"


def main():
    index, page_js, vivur_js, wasm, pak, out = sys.argv[1:7]
    html = open(index, encoding="utf-8").read()
    tag = '<script src="vivur-page.js"></script>'
    if tag not in html:
        sys.exit(f"single_file.py: {index} has no {tag}")
    inline = "window.vivurInline = {wasm: \"%s\", pak: \"%s\"};" % (
        base64.b64encode(open(wasm, "rb").read()).decode(), base64.b64encode(open(pak, "rb").read()).decode())
    body = "\n".join([script(inline), script(open(vivur_js, encoding="utf-8").read()),
                      script(open(page_js, encoding="utf-8").read())])
    with open(out, "w", encoding="utf-8") as f:
        f.write(html.replace(tag, body))


if __name__ == "__main__":
    main()
