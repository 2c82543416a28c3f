#!/usr/bin/env python3
"""Writes every SVG picture of Numora into this directory.

All figures are drawn by hand here as simple geometry in a 50 x 50 box,
facing left; the right-facing frames are the exact mirror, and the small
standing pictures are crops of the same drawings, so the five characters
keep one consistent look (thick dark outline, bright flat fills, one big
eye) wherever they appear.

Run:  python3 make_svgs.py      (then ../render.sh for the PNGs)
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
INK = "#2d2a3e"          # outline colour shared by every figure
SW = 2.0                 # outline width at 1x; survives the 2x render as 4px
CELL = "#c0ffc0"         # the board's cell colour
CJK = "Noto Sans CJK SC"


def f(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


def pts(seq):
    return " ".join("%s,%s" % (f(x), f(y)) for x, y in seq)


def eye(cx, cy, r, look=-1.0, lid=False):
    """Big friendly cartoon eye; `look` shifts the pupil towards the heading."""
    px = cx + look * r * 0.28
    py = cy + r * 0.05
    pr = r * 0.58
    s = ('<circle cx="%s" cy="%s" r="%s" fill="#fff" stroke="%s" stroke-width="%s"/>'
         % (f(cx), f(cy), f(r), INK, f(SW * 0.75)))
    s += '<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (f(px), f(py), f(pr), INK)
    s += '<circle cx="%s" cy="%s" r="%s" fill="#fff"/>' % (
        f(px - pr * 0.35), f(py - pr * 0.38), f(pr * 0.38))
    return s


def smile(x1, y1, x2, y2, depth, width=1.4):
    mx, my = (x1 + x2) / 2, max(y1, y2) + depth
    return ('<path d="M%s,%s Q%s,%s %s,%s" fill="none" stroke="%s" '
            'stroke-width="%s" stroke-linecap="round"/>'
            % (f(x1), f(y1), f(mx), f(my), f(x2), f(y2), INK, f(width)))


def blush(cx, cy, rx=2.4, ry=1.5):
    return ('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ff8fb1" opacity="0.75"/>'
            % (f(cx), f(cy), f(rx), f(ry)))


def stroked(tag, fill, **attrs):
    a = " ".join('%s="%s"' % (k.replace("_", "-"), f(v) if isinstance(v, float) else v)
                 for k, v in attrs.items())
    return ('<%s %s fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>'
            % (tag, a, fill, INK, f(SW)))


def merged(shapes, fill):
    """Several shapes drawn as one outlined silhouette (no inner seams):
    a fat ink pass underneath, then the fills on top."""
    under = "".join('<%s %s fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>'
                    % (t, a, INK, INK, f(SW * 2)) for t, a in shapes)
    over = "".join('<%s %s fill="%s"/>' % (t, a, fill) for t, a in shapes)
    return under + over


# ---------------------------------------------------------------- snail
def snail(pose):
    # pose 2 is the "bunched up" half of the crawl: shorter foot, shell lifted
    stretch = pose != 2
    x0 = 4.0 if stretch else 8.0
    x1 = 45.0 if stretch else 43.0
    hx = 11.5 if stretch else 14.0
    hy = 31.0 if stretch else 30.0
    shx, shy = (30.0, 27.0) if stretch else (30.0, 25.0)
    body = "#ffd66b"
    s = ""
    # eye stalks behind the head
    for (ex, ey) in ((hx - 5, 13.5 if stretch else 14.5), (hx + 3.5, 12.0 if stretch else 13.0)):
        s += ('<path d="M%s,%s L%s,%s" stroke="%s" stroke-width="5.2" stroke-linecap="round"/>'
              % (f(hx - 0.5 + (ex - hx) * 0.3), f(hy - 4), f(ex), f(ey), INK))
        s += ('<path d="M%s,%s L%s,%s" stroke="%s" stroke-width="2" stroke-linecap="round"/>'
              % (f(hx - 0.5 + (ex - hx) * 0.3), f(hy - 4), f(ex), f(ey), body))
    foot = ('path', 'd="M%s,46 L%s,46 Q%s,46 %s,42 L%s,39 L%s,38 Q%s,38 %s,42 Q%s,46 %s,46 Z"'
            % (f(x0 + 4), f(x1 - 1), f(x1 + 1), f(x1), f(x1 - 4), f(x0 + 4),
               f(x0), f(x0), f(x0), f(x0 + 4)))
    foot = ('rect', 'x="%s" y="37.5" width="%s" height="8.5" rx="4.25"' % (f(x0), f(x1 - x0)))
    tail = ('path', 'd="M%s,38 L%s,45.5 L%s,45 Z"' % (f(x1 - 8), f(x1 + 2), f(x1 - 4)))
    head = ('ellipse', 'cx="%s" cy="%s" rx="7.5" ry="9"' % (f(hx), f(hy)))
    s += merged([foot, tail, head], body)
    # the shell: coral with a bold spiral
    s += stroked("circle", "#ff7f50", cx=shx, cy=shy, r=13.0)
    sp = []
    for i in range(0, 141):
        t = i / 140.0
        a = -math.pi / 2 + t * 2.35 * 2 * math.pi
        r = 1.2 + 9.4 * t
        sp.append((shx + r * math.cos(a) * 0.98, shy + 0.6 + r * math.sin(a)))
    s += ('<polyline points="%s" fill="none" stroke="%s" stroke-width="2" '
          'stroke-linecap="round" stroke-linejoin="round"/>' % (pts(sp), "#b8401f"))
    s += ('<path d="M%s,%s A10,10 0 0,1 %s,%s" fill="none" stroke="#ffb38f" '
          'stroke-width="2" stroke-linecap="round"/>'
          % (f(shx - 8), f(shy - 6), f(shx + 1), f(shy - 10.5)))
    # eyes on stalk tips
    s += eye(hx - 5, 13.5 if stretch else 14.5, 4.3)
    s += eye(hx + 3.5, 12.0 if stretch else 13.0, 4.3)
    s += blush(hx + 1.5, hy + 2.5, 1.8, 1.2)
    s += smile(hx - 6.0, hy + 2.5, hx - 1.0, hy + 3.0, 2.8, 1.6)
    return s


# ---------------------------------------------------------------- bee
def bee(pose):
    dy = 0.0 if pose == 1 else 1.5
    s = ""
    # wings sit behind the body; pose 1 up, pose 2 down
    if pose == 1:
        wings = [(23, 12 + dy, -22), (32, 11 + dy, 18)]
        wr = (5.2, 9.0)
    elif pose == 2:
        wings = [(22, 21 + dy, -70), (31, 21 + dy, -105)]
        wr = (4.6, 9.0)
    else:  # resting, folded back
        wings = [(29, 16, 35), (34, 17, 55)]
        wr = (4.6, 8.5)
    for (cx, cy, rot) in wings:
        s += ('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" transform="rotate(%s %s %s)" '
              'fill="#dff4ff" stroke="%s" stroke-width="%s" fill-opacity="0.95"/>'
              % (f(cx), f(cy), f(wr[0]), f(wr[1]), f(rot), f(cx), f(cy), INK, f(SW)))
        s += ('<path d="M%s,%s l%s,%s" stroke="#9fd3f5" stroke-width="1.2" '
              'stroke-linecap="round" transform="rotate(%s %s %s)"/>'
              % (f(cx), f(cy + 4), "0", "-7", f(rot), f(cx), f(cy)))
    # stinger
    s += stroked("path", INK, d="M43,%s L48.5,%s L43,%s Z" % (f(29 + dy), f(31.5 + dy), f(34.5 + dy)))
    # striped body
    cid = "beeclip%s" % pose
    s += ('<clipPath id="%s"><ellipse cx="29" cy="%s" rx="15" ry="11.5"/></clipPath>'
          % (cid, f(31 + dy)))
    s += '<ellipse cx="29" cy="%s" rx="15" ry="11.5" fill="#ffd23f"/>' % f(31 + dy)
    s += '<g clip-path="url(#%s)">' % cid
    for x in (25.0, 33.5):
        s += '<rect x="%s" y="10" width="4.4" height="40" fill="%s"/>' % (f(x), INK)
    s += '</g>'
    s += ('<ellipse cx="29" cy="%s" rx="15" ry="11.5" fill="none" stroke="%s" stroke-width="%s"/>'
          % (f(31 + dy), INK, f(SW)))
    # antennae
    for (ax, ay) in ((6.5, 13 + dy), (13.5, 12 + dy)):
        s += ('<path d="M%s,%s Q%s,%s %s,%s" fill="none" stroke="%s" stroke-width="1.8" '
              'stroke-linecap="round"/>' % (f(12), f(22 + dy), f((ax + 12) / 2 - 1),
                                             f(ay + 2), f(ax), f(ay), INK))
        s += '<circle cx="%s" cy="%s" r="2" fill="%s"/>' % (f(ax), f(ay), INK)
    # head
    s += stroked("circle", "#ffd23f", cx=13.0, cy=29 + dy, r=9.0)
    s += eye(10.5, 27 + dy, 4.2)
    s += blush(15.5, 32 + dy, 2.0, 1.3)
    s += smile(7.0, 32.5 + dy, 11.5, 33 + dy, 2.5)
    if pose == "stand":
        # hovering with the nose up reads better in the tall standing box
        s = '<g transform="rotate(28 27 30)">%s</g>' % s
    return s


# ---------------------------------------------------------------- ladybird
def ladybird(pose):
    bob = 0.0 if pose != 2 else 1.0
    s = ""
    # legs: three pairs seen from the side, swapping stance between poses
    if pose == 1:
        legs = [((18, 37), (14, 45.5)), ((27, 38), (29, 45.5)), ((36, 37), (40, 45.5))]
    elif pose == 2:
        legs = [((18, 37), (20, 45.5)), ((27, 38), (24, 45.5)), ((36, 37), (35, 45.5))]
    else:
        legs = [((18, 37), (16, 45.5)), ((27, 38), (27, 45.5)), ((36, 37), (38, 45.5))]
    for (a, b) in legs:
        mx = (a[0] + b[0]) / 2 + (1.5 if b[0] > a[0] else -1.5)
        s += ('<path d="M%s,%s Q%s,%s %s,%s" fill="none" stroke="%s" stroke-width="2.6" '
              'stroke-linecap="round"/>' % (f(a[0]), f(a[1] + bob), f(mx), f(41 + bob),
                                            f(b[0]), f(b[1]), INK))
    # belly and shell
    s += stroked("ellipse", INK, cx=28.0, cy=36 + bob, rx=15.5, ry=4.0)
    cid = "ladyclip%s" % pose
    shell = "M11.5,%s A16.5,21 0 0,1 44.5,%s Q28,%s 11.5,%s Z" % (
        f(36 + bob), f(36 + bob), f(40 + bob), f(36 + bob))
    s += '<clipPath id="%s"><path d="%s"/></clipPath>' % (cid, shell)
    s += '<path d="%s" fill="#f23b3b"/>' % shell
    s += '<g clip-path="url(#%s)">' % cid
    for (cx, cy, r) in ((21, 22, 3.6), (32, 19, 3.8), (39, 30, 3.4), (27, 32, 3.4), (16, 33, 2.6)):
        s += '<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (f(cx), f(cy + bob), f(r), INK)
    s += ('<path d="M17,%s Q22,%s 28,%s" fill="none" stroke="#ff9a9a" stroke-width="2.2" '
          'stroke-linecap="round"/>' % (f(18 + bob), f(13 + bob), f(12 + bob)))
    s += '</g>'
    s += ('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>'
          % (shell, INK, f(SW)))
    # antennae
    for (ax, ay) in ((4.5, 17 + bob), (10.5, 15 + bob)):
        s += ('<path d="M%s,%s Q%s,%s %s,%s" fill="none" stroke="%s" stroke-width="1.8" '
              'stroke-linecap="round"/>' % (f(11), f(26 + bob), f(ax + 2), f(ay + 4),
                                             f(ax), f(ay), INK))
        s += '<circle cx="%s" cy="%s" r="1.9" fill="%s"/>' % (f(ax), f(ay), INK)
    # head
    s += stroked("circle", "#3b3650", cx=11.5, cy=32 + bob, r=8.0)
    s += eye(9.5, 30 + bob, 4.0)
    s += ('<path d="M5.5,%s Q8,%s 10.5,%s" fill="none" stroke="#fff" stroke-width="1.4" '
          'stroke-linecap="round"/>' % (f(35.5 + bob), f(38 + bob), f(36 + bob)))
    s += blush(14.5, 35.2 + bob, 1.8, 1.1)
    return s


# ---------------------------------------------------------------- bird
def bird(pose):
    stand = pose == "stand"
    by = 27.0 if not stand else 25.0
    s = ""
    if stand:
        for x in (24.0, 30.0):
            s += ('<path d="M%s,%s L%s,45 M%s,45 L%s,45" stroke="#f08a24" stroke-width="2.4" '
                  'stroke-linecap="round" fill="none"/>' % (f(x), f(by + 12), f(x), f(x - 3.5), f(x + 2.5)))
    # tail
    if stand:
        s += stroked("path", "#2f8fe0", d="M36,%s L44,%s L42,%s L44.5,%s L35,%s Z"
                     % (f(by + 2), f(by + 4), f(by + 8), f(by + 12), f(by + 8)))
    else:
        s += stroked("path", "#2f8fe0", d="M38,%s L48,%s L46.5,%s L48.5,%s L38,%s Z"
                     % (f(by - 2), f(by - 8), f(by - 1), f(by + 4), f(by + 4)))
    # body with a cream belly
    cid = "birdclip%s" % pose
    s += '<clipPath id="%s"><circle cx="26" cy="%s" r="14"/></clipPath>' % (cid, f(by))
    s += '<circle cx="26" cy="%s" r="14" fill="#47b2ff"/>' % f(by)
    s += ('<ellipse cx="21" cy="%s" rx="10" ry="8.5" fill="#fff3c4" clip-path="url(#%s)"/>'
          % (f(by + 9), cid))
    s += ('<circle cx="26" cy="%s" r="14" fill="none" stroke="%s" stroke-width="%s"/>'
          % (f(by), INK, f(SW)))
    # head tuft
    s += stroked("path", "#47b2ff", d="M22,%s Q21,%s 26,%s Q25,%s 29,%s"
                 % (f(by - 13.6), f(by - 19), f(by - 18), f(by - 16), f(by - 13.5)))
    # beak
    s += stroked("path", "#ffa928", d="M13.5,%s L4,%s L13.5,%s Z" % (f(by - 4), f(by - 0.5), f(by + 2.5)))
    s += eye(19, by - 5.5, 4.6)
    s += blush(16, by + 3, 2.2, 1.4)
    # wing: raised, lowered, or folded against the side
    if pose == 1:
        d = "M25,%s Q27,%s 40,%s Q41,%s 33,%s Q30,%s 25,%s Z" % (
            f(by - 1), f(by - 16), f(by - 22), f(by - 13), f(by - 2), f(by + 1), f(by - 1))
    elif pose == 2:
        d = "M25,%s Q27,%s 39,%s Q41,%s 34,%s Q30,%s 25,%s Z" % (
            f(by), f(by + 14), f(by + 19), f(by + 10), f(by + 1), f(by - 1), f(by))
    else:
        d = "M24,%s Q28,%s 38,%s Q36,%s 27,%s Q22,%s 24,%s Z" % (
            f(by - 1), f(by - 4), f(by + 2), f(by + 9), f(by + 8), f(by + 4), f(by - 1))
    s += stroked("path", "#2f8fe0", d=d)
    return s


# ---------------------------------------------------------------- flying machine
def plane(pose):
    s = ""
    cy = 26.0
    # tail fin and tailplane
    s += stroked("path", "#ffcb2e", d="M37,%s L42,%s Q46,%s 46,%s L45,%s Z"
                 % (f(cy - 2), f(cy - 14), f(cy - 15), f(cy - 12), f(cy + 1)))
    # wheels on little struts
    for x in (17.0, 29.0):
        s += ('<path d="M%s,%s L%s,%s" stroke="%s" stroke-width="2.2" stroke-linecap="round"/>'
              % (f(x + 1), f(cy + 6), f(x), f(cy + 15), INK))
        s += stroked("circle", "#5a5670", cx=x, cy=cy + 16, r=3.4)
        s += '<circle cx="%s" cy="%s" r="1.2" fill="#e6e6ee"/>' % (f(x), f(cy + 16))
    # fuselage: round nose on the left, tapering up to the tail
    body = ("M9,%s Q9,%s 17,%s L33,%s Q40,%s 47,%s Q47,%s 44,%s L34,%s Q24,%s 17,%s Q9,%s 9,%s Z"
            % (f(cy), f(cy - 9), f(cy - 9), f(cy - 8), f(cy - 6), f(cy - 4), f(cy + 1),
               f(cy + 2), f(cy + 6), f(cy + 9), f(cy + 9), f(cy + 9), f(cy)))
    s += stroked("path", "#a26bff", d=body)
    s += ('<path d="M11,%s L44,%s" stroke="#ffffff" stroke-width="2.2" stroke-linecap="round" '
          'opacity="0.9"/>' % (f(cy + 3), f(cy + 0.5)))
    # cockpit canopy with the friendly eye
    s += stroked("path", "#bfe8ff", d="M16,%s Q17,%s 24,%s Q30,%s 31,%s Z"
                 % (f(cy - 8.5), f(cy - 17), f(cy - 17), f(cy - 16), f(cy - 8)))
    s += eye(21.5, cy - 12.2, 3.6)
    # wing across the middle
    s += stroked("ellipse", "#ffcb2e", cx=26.0, cy=cy + 2.5, rx=10.5, ry=3.6)
    # nose cone and propeller: pose 1 blade upright, pose 2 turned and blurred
    if pose == 2:
        s += ('<ellipse cx="5.5" cy="%s" rx="3.4" ry="13" fill="#8f8ca6" opacity="0.45" stroke="#8f8ca6" stroke-width="1" stroke-dasharray="3 2"/>' % f(cy))
        s += ('<ellipse cx="5.5" cy="%s" rx="2.2" ry="5.2" fill="#6b6784" stroke="%s" '
              'stroke-width="1.6" transform="rotate(55 5.5 %s)"/>' % (f(cy), INK, f(cy)))
        for a in (-12.0, 12.0):
            s += ('<path d="M2.5,%s Q1,%s 2.5,%s" fill="none" stroke="#ffffff" stroke-width="1.2" '
                  'stroke-linecap="round"/>' % (f(cy + a - 4), f(cy + a), f(cy + a + 4)))
    else:
        s += ('<ellipse cx="5.5" cy="%s" rx="2.6" ry="12" fill="#6b6784" stroke="%s" '
              'stroke-width="1.6"/>' % (f(cy), INK))
    s += stroked("path", "#ffcb2e", d="M10,%s Q4,%s 4,%s Q4,%s 10,%s Z"
                 % (f(cy - 5), f(cy - 4), f(cy), f(cy + 4), f(cy + 5)))
    s += '<circle cx="4.8" cy="%s" r="1.6" fill="%s"/>' % (f(cy), INK)
    return s


FIGURES = [
    # (name, drawer, base number, standing size, standing crop in 50x50 coords)
    ("snail", snail, 200, (41, 40), (1.0, 6.4, 49.0, 48.4)),
    ("bee", bee, 210, (34, 41), (4.0, 4.2, 49.2, 46.9)),
    ("ladybird", ladybird, 220, (39, 40), (2.0, 12.6, 46.0, 47.3)),
    ("bird", bird, 230, (32, 40), (2.5, 5.3, 46.0, 46.7)),
    ("plane", plane, 240, (40, 40), (1.6, 7.5, 48.5, 46.9)),
]


def svg_doc(w, h, body, view=None, extra=""):
    vb = view or (0, 0, w, h)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
            'viewBox="%s %s %s %s"%s>\n%s\n</svg>\n'
            % (w, h, f(vb[0]), f(vb[1]), f(vb[2]), f(vb[3]), extra, body))


def mirrored(body, width=50):
    return '<g transform="translate(%d,0) scale(-1,1)">%s</g>' % (width, body)


def write(name, text):
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as fh:
        fh.write(text)


def standing_view(size, crop):
    """Smallest box holding the figure (crop = its extent, unmirrored) with
    the exact aspect ratio of the standing picture; feet stay on the bottom
    edge so the figure stands on the banner's top line."""
    w, h = size
    x0, y0, x1, y1 = crop
    cw, ch = x1 - x0, y1 - y0
    if cw * h / w >= ch:     # wide figure: spare room goes above the head
        return (x0, y1 - cw * h / w, cw, cw * h / w)
    cw2 = ch * w / h         # tall figure: widen the box on both sides
    return (x0 - (cw2 - cw) / 2, y0, cw2, ch)


def figures():
    for name, draw, base, size, crop in FIGURES:
        p1, p2 = draw(1), draw(2)
        frames = [p1, p2, mirrored(p1.replace("clip1", "clip1m")),
                  mirrored(p2.replace("clip2", "clip2m"))]
        for i, body in enumerate(frames):
            write("bmp%d.svg" % (base + i), svg_doc(50, 50, body))
        stand = mirrored(draw("stand").replace("clipstand", "clipst"))
        # mirrored drawing lives in x' = 50 - x, so mirror the crop box too
        vx, vy, vw, vh = standing_view(size, crop)
        view = (50 - vx - vw, vy, vw, vh)
        write("bmp%d.svg" % (base + 4), svg_doc(size[0], size[1], stand, view))


# ---------------------------------------------------------------- banner
def banner():
    b = """<defs>
 <linearGradient id="sky" x1="0" y1="0" x2="1" y2="0">
  <stop offset="0" stop-color="#bfe4ff"/>
  <stop offset="0.45" stop-color="#dcefff"/>
  <stop offset="1" stop-color="#e9defc"/>
 </linearGradient>
 <linearGradient id="hill" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#cdf3c8"/>
  <stop offset="1" stop-color="#aee6a8"/>
 </linearGradient>
</defs>
<rect width="600" height="80" fill="url(#sky)"/>
<path d="M0,62 Q80,48 170,58 T360,56 T600,54 L600,80 L0,80 Z" fill="url(#hill)"/>
<path d="M0,70 Q120,60 260,68 T600,64 L600,80 L0,80 Z" fill="#9fdc98" opacity="0.6"/>
"""
    # a little sun and cloud tucked into the far-left corner, clear of the
    # score, the preview cells and the standing figure
    b += '<circle cx="22" cy="17" r="10" fill="#ffe27a" stroke="#ffc93c" stroke-width="2"/>'
    for a in range(0, 360, 45):
        r = math.radians(a)
        b += ('<path d="M%s,%s L%s,%s" stroke="#ffd24d" stroke-width="2" stroke-linecap="round"/>'
              % (f(22 + 13 * math.cos(r)), f(17 + 13 * math.sin(r)),
                 f(22 + 16.5 * math.cos(r)), f(17 + 16.5 * math.sin(r))))
    b += ('<g fill="#ffffff" opacity="0.9">'
          '<ellipse cx="66" cy="25" rx="15" ry="6"/><circle cx="60" cy="21" r="6"/>'
          '<circle cx="70" cy="19" r="7.5"/></g>')
    # tiny flowers in the (normally hidden) lower half
    for i, x in enumerate(range(30, 600, 70)):
        y = 66 + (i % 3) * 3
        col = ("#ffb3d1", "#fff07a", "#c9b3ff")[i % 3]
        for k in range(5):
            r = math.radians(k * 72)
            b += '<circle cx="%s" cy="%s" r="2.3" fill="%s"/>' % (
                f(x + 2.6 * math.cos(r)), f(y + 2.6 * math.sin(r)), col)
        b += '<circle cx="%d" cy="%d" r="1.6" fill="#ffb020"/>' % (x, y)
    write("bmp101.svg", svg_doc(600, 80, b))


# ---------------------------------------------------------------- splash
def cell(x, y, w, h, text, size=22, rot=0.0):
    return ('<g transform="rotate(%s %s %s)">'
            '<rect x="%s" y="%s" width="%s" height="%s" rx="9" fill="#97d997" opacity="0.55" '
            'transform="translate(2.5,3)"/>'
            '<rect x="%s" y="%s" width="%s" height="%s" rx="9" fill="%s" stroke="#4fae5a" '
            'stroke-width="2.5"/>'
            '<text x="%s" y="%s" font-family="%s" font-weight="bold" font-size="%s" '
            'fill="#2d5a36" text-anchor="middle">%s</text></g>'
            % (f(rot), f(x + w / 2), f(y + h / 2), f(x), f(y), f(w), f(h),
               f(x), f(y), f(w), f(h), CELL, f(x + w / 2), f(y + h / 2 + size * 0.36),
               CJK, f(size), text))


def placed(body, x, y, scale, flip=False):
    inner = mirrored(body) if flip else body
    return '<g transform="translate(%s,%s) scale(%s)">%s</g>' % (f(x), f(y), f(scale), inner)


def splash():
    b = """<defs>
 <linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#cfeaff"/>
  <stop offset="0.6" stop-color="#f3f8ff"/>
  <stop offset="1" stop-color="#fff6e0"/>
 </linearGradient>
</defs>
<rect width="405" height="470" fill="url(#bg)"/>
"""
    # soft clouds
    for (cx, cy, k) in ((70, 40, 1.0), (330, 34, 0.8), (345, 215, 0.6)):
        b += ('<g fill="#ffffff" opacity="0.85" transform="translate(%s,%s) scale(%s)">'
              '<ellipse cx="0" cy="6" rx="34" ry="12"/><circle cx="-12" cy="0" r="13"/>'
              '<circle cx="10" cy="-4" r="16"/></g>' % (f(cx), f(cy), f(k)))
    # the title, one bright colour per letter
    letters = "Numora"
    cols = ["#ff5a5f", "#ff9f1c", "#f2c500", "#3bb273", "#2f8fe0", "#a26bff"]
    x = 37.0
    adv = [59, 55, 79, 51, 39, 50]
    for i, ch in enumerate(letters):
        y = 128 + (-6 if i % 2 else 0)
        style = ('font-family="%s" font-weight="bold" font-size="72" text-anchor="start"' % CJK)
        b += ('<text x="%s" y="%s" %s fill="none" stroke="%s" stroke-width="9" '
              'stroke-linejoin="round">%s</text>' % (f(x), f(y), style, INK, ch))
        b += '<text x="%s" y="%s" %s fill="%s">%s</text>' % (f(x), f(y), style, cols[i], ch)
        x += adv[i]
    b += ('<text x="202.5" y="162" font-family="%s" font-weight="bold" font-size="19" '
          'fill="#4a6a8a" text-anchor="middle">快乐算一算</text>' % CJK)
    # playful cells, like the ones that fall in the game
    b += cell(30, 190, 82, 44, "3+4", rot=-6)
    b += cell(150, 198, 52, 44, "7", size=26, rot=4)
    b += cell(240, 186, 82, 44, "5+5", rot=7)
    b += cell(52, 262, 52, 44, "8", size=26, rot=5)
    b += cell(128, 266, 82, 44, "2+6", rot=-4)
    b += cell(300, 262, 62, 44, "10", size=24, rot=-8)
    # a soft meadow for the friends to stand on
    b += ('<path d="M0,392 Q70,376 150,388 T300,384 T405,380 L405,470 L0,470 Z" '
          'fill="#c9efc2"/>')
    b += ('<path d="M0,402 Q110,392 220,400 T405,396 L405,470 L0,470 Z" fill="#b3e5ab"/>')
    # the friends who ride along
    b += placed(snail(1).replace("clip1", "clipsp"), 196, 302, 1.9, flip=True)
    b += placed(bee(1).replace("clip1", "clipsb"), 336, 130, 1.0, flip=False)
    b += placed(ladybird(2).replace("clip2", "clipsl"), 24, 333, 1.3, flip=True)
    # the hint
    b += ('<rect x="22" y="408" width="361" height="44" rx="22" fill="#ffffff" opacity="0.92" '
          'stroke="#ffb347" stroke-width="2.5"/>')
    b += ('<text x="202.5" y="437" font-family="%s" font-weight="bold" font-size="19" '
          'fill="#d2552b" text-anchor="middle">请从「开始」菜单选择一种玩法</text>' % CJK)
    write("bmp102.svg", svg_doc(405, 470, b))


# ---------------------------------------------------------------- icon
def icon():
    b = ('<rect x="2" y="2" width="60" height="60" rx="14" fill="%s" stroke="#3f9e4c" '
         'stroke-width="3"/>' % CELL)
    b += placed(snail(1).replace("clip1", "clipic"), 5.6, 4.4, 1.05, flip=True)
    path = os.path.join(HERE, "..", "icon", "numora.svg")
    with open(path, "w", encoding="utf-8") as fh:
        fh.write(svg_doc(64, 64, b))


if __name__ == "__main__":
    figures()
    banner()
    splash()
    icon()
