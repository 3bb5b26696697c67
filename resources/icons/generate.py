#!/usr/bin/env python3
"""Writes Linvara's icon set (plain SVG shapes) and resources/linvara.qrc.

Every icon is drawn here from simple shapes; browser marks are letter badges,
not the browsers' own logos. The resource names the program asks for (some end
in ".png" for historical reasons) are aliases in the .qrc for these SVG files.
Run it again after changing a drawing: python3 resources/icons/generate.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.dirname(HERE)

INK = "#2f3a4a"
ACCENT = "#2f6fde"
PRESSED_BG = '<rect x="1" y="1" width="30" height="30" rx="7" fill="#dbe7fb" stroke="#2f6fde" stroke-width="1.2"/>'


def svg(body, size=32, view=32):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {view} {view}">\n{body}\n</svg>\n')


def badge(letter, color):
    return svg(f'<rect x="2" y="2" width="28" height="28" rx="8" fill="{color}"/>'
               f'<rect x="2" y="2" width="28" height="14" rx="8" fill="#ffffff" fill-opacity="0.18"/>'
               f'<text x="16" y="22.5" font-family="DejaVu Sans, Arial, sans-serif" font-size="18" '
               f'font-weight="bold" text-anchor="middle" fill="#ffffff">{letter}</text>')


def folder(color="#f2b134", dark="#d99a1e"):
    return (f'<path d="M3 8 a2 2 0 0 1 2-2 h7 l3 3 h12 a2 2 0 0 1 2 2 v2 H3 z" fill="{dark}"/>'
            f'<rect x="3" y="11" width="26" height="16" rx="2" fill="{color}"/>')


def cookie(cx=16, cy=16, r=11):
    chips = "".join(f'<circle cx="{cx + dx}" cy="{cy + dy}" r="1.7" fill="#6b3f1d"/>'
                    for dx, dy in ((-4, -3), (3, -5), (5, 2), (-2, 4), (-6, 2), (1, 0)))
    return (f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="#d9a45b" stroke="#a8732f" stroke-width="1.2"/>'
            f'<circle cx="{cx + r * 0.62}" cy="{cy - r * 0.62}" r="{r * 0.32}" fill="#ffffff" fill-opacity="0"/>'
            + chips)


def small_badge(letter, color, x=21, y=21):
    return (f'<circle cx="{x}" cy="{y}" r="7.5" fill="{color}" stroke="#ffffff" stroke-width="1.5"/>'
            f'<text x="{x}" y="{y + 4}" font-family="DejaVu Sans, Arial, sans-serif" font-size="10" '
            f'font-weight="bold" text-anchor="middle" fill="#ffffff">{letter}</text>')


def pressed(body):
    return svg(PRESSED_BG + body)


def normal(body):
    return svg(body)


BROWSERS = {
    "safari": ("S", "#2f80ed"),
    "chrome": ("C", "#2e9d57"),
    "firefox": ("F", "#ee7a22"),
    "opera": ("O", "#d63a3a"),
    "edge": ("E", "#148f8f"),
}

HOME = (f'<path d="M6 16 L16 7 L26 16" fill="none" stroke="{INK}" stroke-width="2.4" stroke-linecap="round" '
        f'stroke-linejoin="round"/><path d="M9 15 v11 h5 v-6 h4 v6 h5 v-11" fill="none" stroke="{INK}" '
        f'stroke-width="2.2" stroke-linejoin="round"/>')
BACK = (f'<path d="M19 7 L10 16 L19 25" fill="none" stroke="{INK}" stroke-width="2.8" stroke-linecap="round" '
        f'stroke-linejoin="round"/>')
FOLDER_LIST = (f'<path d="M6 8 h6 l2 2 h6 v4 H6 z" fill="{ACCENT}"/>'
               f'<path d="M9 14 v8 h4 M9 18 h4" fill="none" stroke="{INK}" stroke-width="1.6"/>'
               f'<rect x="14" y="16" width="12" height="4" rx="1" fill="{INK}"/>'
               f'<rect x="14" y="20.5" width="12" height="4" rx="1" fill="{INK}" fill-opacity="0.6"/>')
URL_LIST = "".join(f'<circle cx="8" cy="{y}" r="1.8" fill="{ACCENT}"/>'
                   f'<rect x="12" y="{y - 1.3}" width="14" height="2.6" rx="1.3" fill="{INK}"/>'
                   for y in (9, 16, 23))
EXPORT = (f'<rect x="6" y="12" width="20" height="14" rx="2" fill="none" stroke="{INK}" stroke-width="2"/>'
          f'<path d="M16 19 V4 M11 9 L16 4 L21 9" fill="none" stroke="{ACCENT}" stroke-width="2.4" '
          f'stroke-linecap="round" stroke-linejoin="round"/>')
APPLY = ('<circle cx="16" cy="16" r="12" fill="#2e9d57"/>'
         '<path d="M10 16.5 L14.5 21 L22.5 11.5" fill="none" stroke="#ffffff" stroke-width="3" '
         'stroke-linecap="round" stroke-linejoin="round"/>')
SORT = (f'<path d="M10 25 V7 M6 11 L10 7 L14 11" fill="none" stroke="{INK}" stroke-width="2.2" '
        f'stroke-linecap="round" stroke-linejoin="round"/>'
        f'<path d="M22 7 V25 M18 21 L22 25 L26 21" fill="none" stroke="{ACCENT}" stroke-width="2.2" '
        f'stroke-linecap="round" stroke-linejoin="round"/>')
TOOL = "".join(f'<path d="M6 {y} H26" stroke="{INK}" stroke-width="2.2" stroke-linecap="round"/>'
               f'<circle cx="{x}" cy="{y}" r="3.2" fill="#ffffff" stroke="{ACCENT}" stroke-width="2.2"/>'
               for x, y in ((11, 9), (21, 16), (14, 23)))
LOCK = ('<rect x="7" y="14" width="18" height="13" rx="2.5" fill="#8a94a6"/>'
        '<path d="M11 14 v-3 a5 5 0 0 1 10 0 v3" fill="none" stroke="#8a94a6" stroke-width="2.6"/>'
        '<circle cx="16" cy="20" r="2" fill="#ffffff"/>')
CONNECT = (f'<circle cx="11" cy="16" r="6" fill="none" stroke="{ACCENT}" stroke-width="2.6"/>'
           f'<path d="M17 16 H27 M23 16 v5 M27 16 v4" fill="none" stroke="{ACCENT}" stroke-width="2.6" '
           f'stroke-linecap="round"/>')
ALL_BOOKMARKS = ('<path d="M9 4 h12 a1 1 0 0 1 1 1 v23 l-7 -5 l-7 5 v-23 a1 1 0 0 1 1-1 z" fill="#f2b134" '
                 'transform="translate(-3 0)"/>'
                 '<path d="M9 4 h12 a1 1 0 0 1 1 1 v23 l-7 -5 l-7 5 v-23 a1 1 0 0 1 1-1 z" fill="#2f6fde" '
                 'transform="translate(4 1)"/>')
OPEN_COOKIE = cookie(14, 14, 10) + folder().replace("<path", '<path transform="translate(12 12) scale(0.55)"') \
    .replace("<rect", '<rect transform="translate(12 12) scale(0.55)"')
NEW_COOKIE = cookie(14, 14, 10) + ('<circle cx="23" cy="23" r="7" fill="#2f6fde" stroke="#ffffff" '
                                   'stroke-width="1.5"/><path d="M23 19 v8 M19 23 h8" stroke="#ffffff" '
                                   'stroke-width="2.2" stroke-linecap="round"/>')
SAFARI_COOKIE = cookie(14, 14, 10) + small_badge(*BROWSERS["safari"])
CHROME_COOKIE = cookie(14, 14, 10) + small_badge(*BROWSERS["chrome"])


def gradient(name, top, bottom, w=64, h=64, horizontal=False):
    x2, y2 = ("1", "0") if horizontal else ("0", "1")
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}" '
            f'preserveAspectRatio="none">\n<defs><linearGradient id="{name}" x1="0" y1="0" x2="{x2}" y2="{y2}">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/></linearGradient>'
            f'</defs><rect width="{w}" height="{h}" fill="url(#{name})"/>\n</svg>\n')


APP_ICON = svg('<rect x="4" y="4" width="120" height="120" rx="28" fill="#2f6fde"/>'
               '<rect x="4" y="4" width="120" height="60" rx="28" fill="#ffffff" fill-opacity="0.12"/>'
               '<path d="M44 26 h40 a4 4 0 0 1 4 4 v72 l-24 -16 l-24 16 v-72 a4 4 0 0 1 4-4 z" fill="#ffffff"/>'
               '<circle cx="64" cy="52" r="10" fill="#f2b134"/>', size=128, view=128)

# file name -> (svg text, [resource aliases])
ICONS = {
    "homebtn.svg": (normal(HOME), ["homebtn.png"]),
    "backbtn.svg": (normal(BACK), ["backbtn.png"]),
    "folderlistnom.svg": (normal(FOLDER_LIST), ["folderlistnom.png"]),
    "folderlistdown.svg": (pressed(FOLDER_LIST), ["folderlistdown.png"]),
    "urllistnom.svg": (normal(URL_LIST), ["urllistnom.png"]),
    "urllistdown.svg": (pressed(URL_LIST), ["urllistdown.png"]),
    "exportbookmark.svg": (normal(EXPORT), ["exportbookmark.png"]),
    "applychanges.svg": (normal(APPLY), ["applychanges.png"]),
    "sortbtn.svg": (normal(SORT), ["sortbtn.png"]),
    "toolbtn.svg": (normal(TOOL), ["toolbtn.png"]),
    "allbookmarks.svg": (normal(ALL_BOOKMARKS), ["allbookmarks.png"]),
    "safaribookmarks.svg": (normal('<g transform="translate(2 2) scale(0.875)">' + ALL_BOOKMARKS + '</g>'
                                   + small_badge(*BROWSERS["safari"], x=23, y=23)), ["safaribookmarks.png"]),
    "chromebookmarks.svg": (normal('<g transform="translate(2 2) scale(0.875)">' + ALL_BOOKMARKS + '</g>'
                                   + small_badge(*BROWSERS["chrome"], x=23, y=23)), ["chromebookmarks.png"]),
    "opencookienom.svg": (normal(OPEN_COOKIE), ["opencookienom.png"]),
    "opencookiedown.svg": (pressed(OPEN_COOKIE), ["opencookiedown.png"]),
    "safaricookienom.svg": (normal(SAFARI_COOKIE), ["Safaricookienom.png"]),
    "safaricookiedown.svg": (pressed(SAFARI_COOKIE), ["safaricookiedown.png"]),
    "chromecookienom.svg": (normal(CHROME_COOKIE), ["chromecookienom.png"]),
    "chromecookiedown.svg": (pressed(CHROME_COOKIE), ["chromecookiedown.png"]),
    "newcookienom.svg": (normal(NEW_COOKIE), ["newcookienom.png"]),
    "newcookiedown.svg": (pressed(NEW_COOKIE), ["newcookiedown.png"]),
    "connectbtn.svg": (normal(CONNECT), ["Connectbtn.png"]),
    "folderlogo.svg": (normal(folder()), ["folderlogo"]),
    "lock.svg": (normal(LOCK), ["lock"]),
    "leftimage.svg": (gradient("l", "#eef2f8", "#dfe6f1"), ["leftimage.png"]),
    "tablehead.svg": (gradient("t", "#fbfcfe", "#e9eef5"), ["tablehead.png"]),
    "bottomimage.svg": (gradient("b", "#f4f6fa", "#e4e9f1"), ["bottomimage.png", "mainBottomImage.png"]),
    "linvara.svg": (APP_ICON, ["linvara"]),
}
for key, (letter, color) in BROWSERS.items():
    ICONS[f"{key}logo.svg"] = (badge(letter, color), [f"{key}logo"])


def main():
    for name, (text, _) in ICONS.items():
        with open(os.path.join(HERE, name), "w", encoding="utf-8") as f:
            f.write(text)
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/images">']
    for name, (_, aliases) in sorted(ICONS.items()):
        for alias in aliases:
            lines.append(f'  <file alias="{alias}">icons/{name}</file>')
    lines += ['</qresource>', '</RCC>', '']
    with open(os.path.join(RES, "linvara.qrc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
