#!/usr/bin/env python3
"""Renders the program's base maps and contour maps from real geography.

Country borders come from the DCW data, coastlines, lakes and rivers from the
GSHHG data, both read through GMT (Debian packages gmt, gmt-dcw and
gmt-gshhg-low; LGPL-3+, see README). Every vertex is placed through the same
bilinear corner formula the program projects localities with, so that the map
table's corners land exactly where the table says. ImageMagick draws the
pictures. The results are committed under resources/maps/; this script is
needed only to draw them again, never to build.

    tools/render_base_maps.py [--only NAME ...] [--cache DIR]
"""

import argparse
import json
import math
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "maps")

# name, jpeg, width, height, lon range, lat range, corners A B C D (x, y).
# The inset rows carry the resource names the program gives them.
ROWS = [
    ("DEFAULT_BITMAP", 0, 320, 352, (-70, -58), (-22.7, -9.55), [(13.6, 345), (-3.4, 1), (302.65, 345), (316.3, 1)]),
    ("BOLIVIA_MAP", 1, 609, 650, (-69.57, -58.17), (-22.82, -10.93), [(15, 639), (15, 68), (566, 639), (566, 68)]),
    ("BOLIVIA_AND_PUNO_ANDES_MAP", 1, 653, 573, (-69.57, -58.17), (-22.82, -10.93), [(109, 887), (109, -120), (1079, 887), (1079, -120)]),
    ("SOUTHERN_HALF_ANDES_MAP", 1, 462, 600, (-81.15, -62.5), (-29, -4.7), [(0, 600), (0, 0), (462, 600), (462, 0)]),
    ("RIBERALTA_MAP", 1, 671, 569, (-66.342, -65.825), (-11.204, -10.766), [(0, 569), (0, 0), (671, 569), (671, 0)]),
    ("PERU_MAP", 1, 462, 650, (-80.2, -68.69), (-17.64, -0.04), [(51, 623), (51, 6), (454, 623), (454, 6)]),
    ("PARAGUAY_MAP", 1, 618, 620, (-62.67, -53.64), (-28, -19.32), [(38, 590), (38, 40), (608, 590), (608, 40)]),
    ("UPPER_AMAZONIA_MAP", 1, 549, 514, (-79.4, -41.12), (-19.1, 5.45), [(0, 514), (0, 0), (799, 514), (799, 0)]),
    ("SOUTH_OF_AMAZON_MAP", 1, 574, 520, (-69.85, -34.1), (-30.45, 2), [(0, 520), (0, 0), (574, 520), (574, 0)]),
    ("NEOTROPICS_MAP", 1, 788, 650, (-105.5, -38.6), (-33.75, 20.4), [(43, 611), (43, 60), (726, 611), (726, 60)]),
    ("TROPICAL_ASIA_MAP_BITMAP", 0, 574, 472, (70, 120), (0, 20), [(5, 356), (16, 163), (489, 356), (487, 163)]),
    ("INDIA_MAP", 1, 402, 340, (70, 95), (10, 30), [(36, 277), (58, 23), (366, 276), (334, 18)]),
    ("INDOCHINA_MAP", 1, 304, 368, (95, 110), (10, 25), [(15, 299), (53, 44), (258, 301), (277, 44)]),
    ("INDONESIA_MAP", 1, 514, 316, (100, 125), (-10, 5), [(79, 290), (78, 44), (477, 290), (483, 45)]),
    ("PHILIPPINES_AND_TAIWAN_MAP", 1, 192, 366, (120, 130), (10, 25), [(68, 284), (72, 14), (240, 284), (237, 15)]),
    ("CHINA_MAP", 1, 473, 396, (100, 120), (25, 40), [(218, 327), (221, 172), (411, 314), (382, 159)]),
    ("VENEZUELA_MAP_BITMAP", 0, 589, 442, (-71.33, -61.84), (0.79, 10.69), [(143, 418), (142, 73), (519, 418), (505, 71)]),
    ("COSTA_RICA_PANAMA_MAP", 1, 720, 388, (-84, -78), (8, 10), [(195, 267), (173, 106), (636, 268), (642, 115)]),
    ("CENTRAL_AMERICA_MAP", 1, 750, 530, (-108.25, -77.65), (7.65, 31.8), [(102, 512), (102, 19), (725, 512), (725, 19)]),
    ("NORTHERN_SOUTH_AMERICA_INSET", 0, 195, 441, (-80, -50), (-5, 10), [(2, 97), (2, 41), (120, 97), (121, 41)]),
    ("SOUTH_AMERICA_INSET", 0, 195, 441, (-70, -40), (-30, -10), [(49, 184), (40, 114), (150, 184), (159, 118)]),
    ("EQUATORIAL_SOUTH_AMERICA_INSET", 0, 242, 350, (-80, -40), (-20, 10), [(18, 172), (15, 25), (203, 175), (213, 28)]),
    ("SOUTHERN_SOUTH_AMERICA_INSET", 0, 195, 441, (-80, -50), (-50, -20), [(44, 317), (21, 172), (144, 315), (157, 169)]),
    ("LITTLE_SOUTH_AMERICA_MAP", 1, 262, 363, (-81.28, -34.8), (-56, 12.5), [(12, 359), (12, 2), (257, 359), (257, 2)]),
    # The table gives this inset a height of 232 with its corners below that;
    # the picture reaches down to them.
    ("CENTRAL_AMERICA_INSET", 0, 290, 388, (-94, -78), (8, 18), [(8, 362), (12, 212), (246, 364), (246, 212)]),
    ("NORTHERN_STATES_MAP", 1, 879, 660, (-60.17, -35.51), (-21.75, -5.33), [(33, 656), (33, 115), (842, 656), (842, 115)]),
    ("SOUTHERN_STATES_MAP", 1, 915, 660, (-57.67, -41.3), (-32.68, -21.75), [(26, 602), (26, 25), (893, 602), (893, 25)]),
    ("BRAZIL_MAP", 1, 761, 660, (-74, -34.76), (-33.75, 5.25), [(4, 652), (4, 3), (655, 652), (655, 3)]),
    ("ECUADOR_MAP", 1, 427, 436, (-81.28, -75.36), (-5, 1.46), [(15, 425), (15, 5), (405, 425), (405, 5)]),
]

AMERICAS = ("MX GT BZ SV HN NI CR PA CO VE GY SR GF EC PE BO PY BR AR UY CL TT FK "
            "CU JM HT DO PR BS US").split()
ASIA = ("PK IN LK NP BT BD MM TH LA KH VN MY SG BN ID PH TW CN TL PG AF IR TJ "
        "KG KZ MN KP KR JP MV AU").split()

# Where a country's name may go, best first; the first place inside the
# picture is used.
LABELS = {
    "Peru": [(-75.5, -9.5), (-71.0, -12.6), (-70.3, -15.2)], "Bolivia": [(-64.8, -16.8), (-65.5, -13.5)],
    "Paraguay": [(-58.3, -23.3), (-60.5, -21.0)], "Brazil": [(-52, -10), (-61.6, -10.8), (-55.5, -15.5), (-64.0, -8.6)],
    "Argentina": [(-65, -33), (-64.5, -23.4), (-60.5, -26.5)], "Chile": [(-71.3, -30), (-69.3, -21.5)],
    "Colombia": [(-73.5, 4)], "Venezuela": [(-66.5, 7.5)], "Ecuador": [(-78.5, -1.5)],
    "Mexico": [(-102, 24)], "Guatemala": [(-90.5, 15.5)], "Honduras": [(-86.8, 14.8)],
    "Nicaragua": [(-85.2, 12.8)], "Costa Rica": [(-84.2, 9.9)], "Panama": [(-80.3, 8.4)],
    "Uruguay": [(-56, -32.8)], "Guyana": [(-58.8, 5)], "India": [(78.5, 21)],
    "China": [(108, 32), (103, 27)], "Thailand": [(101, 15.5)], "Myanmar": [(95.8, 21)],
    "Vietnam": [(105.8, 21.5)], "Laos": [(102.6, 19.3)], "Cambodia": [(104.8, 12.7)],
    "Borneo": [(114, 0.8)], "Sumatra": [(101.5, -0.5)], "Java": [(110, -7.3)], "Philippines": [(122, 12.5)],
    "Taiwan": [(120.9, 23.7)], "Nepal": [(84, 28.2)], "Sri Lanka": [(80.7, 7.7)],
}

SEA = "#a9cce3"
LAND = "#efe9d6"
MAIN_LAND = "#f6f1df"
BORDER = "#6b5d4f"
RIVER = "#3d7cc9"
LAKE = "#8dbbe0"
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def gmt(args, cache, key):
    path = os.path.join(cache, key)
    if not os.path.exists(path):
        env = dict(os.environ, HOME=cache, GMT_USERDIR=cache, GMT_TMPDIR=cache)
        with open(path + ".tmp", "w") as out:
            subprocess.run(["gmt"] + args, stdout=out, stderr=subprocess.DEVNULL, check=True, env=env,
                           cwd=cache)
        os.rename(path + ".tmp", path)
    return path


def read_segments(path):
    segments, current, header = [], [], ""
    with open(path) as f:
        for line in f:
            if line.startswith(">"):
                if current:
                    segments.append((header, current))
                current, header = [], line[1:].strip()
                continue
            parts = line.split()
            if len(parts) >= 2:
                try:
                    current.append((float(parts[0]), float(parts[1])))
                except ValueError:
                    pass
    if current:
        segments.append((header, current))
    return segments


class Bilinear:
    """The program's projection: bilinear between the four corners."""

    def __init__(self, lons, lats, corners):
        self.lon0, self.lon1 = lons
        self.lat0, self.lat1 = lats
        (self.ax, self.ay), (self.bx, self.by), (self.cx, self.cy), (self.dx, self.dy) = corners

    def __call__(self, lon, lat):
        u = (lon - self.lon0) / (self.lon1 - self.lon0)
        v = (lat - self.lat0) / (self.lat1 - self.lat0)
        x = self.ax + (self.bx - self.ax) * v + ((self.cx - self.ax) + v * ((self.dx - self.bx) - (self.cx - self.ax))) * u
        y = self.ay + (self.by - self.ay) * v + ((self.cy - self.ay) + v * ((self.dy - self.by) - (self.cy - self.ay))) * u
        return x, y

    def degrees_per_pixel(self):
        return min(abs(self.lon1 - self.lon0) / max(1, abs(self.cx - self.ax)),
                   abs(self.lat1 - self.lat0) / max(1, abs(self.ay - self.by)))

    def region(self, width, height):
        # The corners' affine approximation, inverted at the picture's corners.
        sx = (self.cx - self.ax) / (self.lon1 - self.lon0)
        sy = (self.by - self.ay) / (self.lat1 - self.lat0)
        lons = [self.lon0 + (x - self.ax) / sx for x in (0, width)]
        lats = [self.lat0 + (y - self.ay) / sy for y in (0, height)]
        pad = 0.15 * max(abs(lons[1] - lons[0]), abs(lats[1] - lats[0])) + 0.5
        return (max(-180, min(lons) - pad), min(180, max(lons) + pad),
                max(-89, min(lats) - pad), min(89, max(lats) + pad))


class Polynomial:
    """A second-order warp fitted to control points (for the contour maps,
    whose click points were laid out on hand-drawn maps)."""

    def __init__(self, controls, order=2):
        def terms(lon, lat):
            # Centred and scaled so that the normal equations stay well
            # conditioned at the third order.
            u, v = (lon - self.lon0) / 20.0, (lat - self.lat0) / 20.0
            return [u ** i * v ** j for i in range(order + 1) for j in range(order + 1 - i)]
        self.lon0 = sum(c[0][0] for c in controls) / len(controls)
        self.lat0 = sum(c[0][1] for c in controls) / len(controls)
        self.terms = terms
        rows = [terms(lon, lat) for (lon, lat), _ in controls]
        self.cx = least_squares(rows, [p[0] for _, p in controls])
        self.cy = least_squares(rows, [p[1] for _, p in controls])

    def __call__(self, lon, lat):
        t = self.terms(lon, lat)
        return sum(a * b for a, b in zip(self.cx, t)), sum(a * b for a, b in zip(self.cy, t))

    def degrees_per_pixel(self):
        x0, y0 = self(0, 0)
        return 1 / max(1e-6, math.hypot(self(1, 0)[0] - x0, self(1, 0)[1] - y0))


def least_squares(rows, values):
    n = len(rows[0])
    m = [[sum(r[i] * r[j] for r in rows) for j in range(n)] + [sum(r[i] * v for r, v in zip(rows, values))]
         for i in range(n)]
    for col in range(n):
        pivot = max(range(col, n), key=lambda r: abs(m[r][col]))
        m[col], m[pivot] = m[pivot], m[col]
        for r in range(n):
            if r != col:
                f = m[r][col] / m[col][col]
                m[r] = [a - f * b for a, b in zip(m[r], m[col])]
    return [m[i][n] / m[i][i] for i in range(n)]


def project_ring(points, project, width, height, minimum_step=0.6):
    out, last = [], None
    for lon, lat in points:
        x, y = project(lon, lat)
        if last is None or abs(x - last[0]) + abs(y - last[1]) >= minimum_step:
            out.append((x, y))
            last = (x, y)
    if len(out) < 2:
        return None
    xs, ys = [p[0] for p in out], [p[1] for p in out]
    if max(xs) < -2 or min(xs) > width + 2 or max(ys) < -2 or min(ys) > height + 2:
        return None
    return out


def mvg_path(points, closed=True):
    s = "M " + " L ".join("%.2f,%.2f" % p for p in points)
    return s + (" Z" if closed else "")


def countries(codes, cache):
    """code -> polygons, read in one pass over the DCW data and thinned to
    about 400 m (far finer than any map's pixels); kept in the cache."""
    key = os.path.join(cache, "countries_%s.json" % "_".join(codes[:3]))
    if os.path.exists(key):
        with open(key) as f:
            return json.load(f)
    names = {}
    with open("/usr/share/gmt-dcw/dcw-countries.txt") as f:
        for line in f:
            parts = line.split(None, 2)
            if len(parts) == 3:
                names[parts[2].strip()] = parts[1]
    path = gmt(["coast", "-E" + ",".join(codes), "-M", "-Dl"], cache, "dcw_%s.txt" % "_".join(codes[:3]))
    result = {code: [] for code in codes}
    ring, code, last = [], None, None

    def close():
        if code in result and len(ring) > 2:
            result[code].append(ring)

    with open(path) as f:
        for line in f:
            if line.startswith(">"):
                close()
                ring, last = [], None
                code = names.get(line[1:].strip().rsplit(" Segment", 1)[0].strip())
                continue
            parts = line.split()
            if len(parts) < 2:
                continue
            lon, lat = float(parts[0]), float(parts[1])
            if lon > 180:
                lon -= 360
            if last is None or abs(lon - last[0]) + abs(lat - last[1]) > 0.004:
                ring.append((lon, lat))
                last = (lon, lat)
    close()
    with open(key, "w") as f:
        json.dump(result, f)
    return result


def lake_cells(region, step, cache):
    w, e, s, n = region
    key = "lakes_%.3f_%.3f_%.3f_%.3f_%.4f.txt" % (w, e, s, n, step)
    path = os.path.join(cache, key)
    if not os.path.exists(path):
        grid = os.path.join(cache, "lakes.nc")
        env = dict(os.environ, HOME=cache, GMT_USERDIR=cache)
        subprocess.run(["gmt", "grdlandmask", "-R%g/%g/%g/%g" % region, "-I%g" % step, "-Dl",
                        "-N0/0/1/0/0", "-G" + grid], check=True, env=env, cwd=cache,
                       stderr=subprocess.DEVNULL)
        with open(path, "w") as out:
            subprocess.run(["gmt", "grd2xyz", grid], stdout=out, check=True, env=env, cwd=cache,
                           stderr=subprocess.DEVNULL)
    cells = []
    with open(path) as f:
        for line in f:
            p = line.split()
            if len(p) == 3 and p[2] == "1":
                cells.append((float(p[0]), float(p[1])))
    return cells


def draw(mvg, width, height, out, background, extra=()):
    with tempfile.NamedTemporaryFile("w", suffix=".mvg", delete=False) as f:
        f.write("viewbox 0 0 %d %d\n" % (width, height))
        f.write("fill '%s' stroke none rectangle 0,0 %d,%d\n" % (background, width, height))
        f.write(mvg)
        name = f.name
    try:
        subprocess.run(["convert"] + list(extra) + ["mvg:" + name, "-depth", "8"] + out, check=True)
    finally:
        os.unlink(name)


def render_base_map(row, world, cache):
    name, jpeg, width, height, lons, lats, corners = row
    project = Bilinear(lons, lats, corners)
    region = project.region(width, height)
    main = {"BOLIVIA": "BO", "PERU": "PE", "PARAGUAY": "PY", "VENEZUELA": "VE", "ECUADOR": "EC",
            "INDIA": "IN", "CHINA": "CN", "BRAZIL": "BR"}
    main_code = next((c for k, c in main.items() if name.startswith(k)), None)
    mvg = ["stroke-antialias 1"]
    for code, rings in world.items():
        fill = MAIN_LAND if code == main_code else LAND
        for ring in rings:
            pts = project_ring(ring, project, width, height)
            if pts and len(pts) > 2:
                mvg.append("fill '%s' stroke '%s' stroke-width 0.8 path '%s'" % (fill, BORDER, mvg_path(pts)))
    step = max(0.01, min(0.1, project.degrees_per_pixel() * 1.5))
    for lon, lat in lake_cells(region, step, cache):
        h = step / 2
        quad = [project(lon - h, lat - h), project(lon - h, lat + h), project(lon + h, lat + h), project(lon + h, lat - h)]
        mvg.append("fill '%s' stroke none path '%s'" % (LAKE, mvg_path(quad)))
    rivers = gmt(["coast", "-R%g/%g/%g/%g" % region, "-Dl", "-I1", "-I2", "-M"], cache,
                 "rivers_%s.txt" % name)
    for _, line in read_segments(rivers):
        pts = project_ring(line, project, width, height)
        if pts:
            mvg.append("fill none stroke '%s' stroke-width 1 path '%s'" % (RIVER, mvg_path(pts, False)))
    size = max(10, min(15, int(width / 40)))
    for text, places in LABELS.items():
        inside = [project(lon, lat) for lon, lat in places]
        inside = [(x, y) for x, y in inside if 40 < x < width - 40 and 20 < y < height - 20]
        if inside:
            x, y = inside[0]
            mvg.append("fill '#4a3f35' stroke none font '%s' font-size %d text %.0f,%.0f '%s'"
                       % (FONT, size, x - len(text) * size * 0.28, y, text))
    if jpeg:
        out = [os.path.join(OUT, name + ".jpg")]
        draw("\n".join(mvg), width, height, ["-quality", "85", out[0]], SEA)
    else:
        out = [os.path.join(OUT, name + ".png")]
        draw("\n".join(mvg), width, height, ["-colors", "64", "PNG8:" + out[0]], SEA)


# Contour maps: unit -> countries, click points, and where the click points
# lie in the world (one control point per click point).
SOUTH_AMERICA_UNITS = {
    "PE": ["PE"], "BO": ["BO"], "PA": ["PY"],
    "OT": "CO VE GY SR GF EC BR AR UY CL TT PA CR".split(),
}
SOUTH_AMERICA_SEEDS = {
    "PE": [((40, 120), (-75.0, -9.5))],
    "BO": [((90, 150), (-64.5, -16.5))],
    "PA": [((110, 180), (-59.5, -22.0)), ((125, 195), (-56.5, -25.0))],
    "OT": [((50, 50), (-74.0, 4.0)), ((25, 80), (-78.5, -1.3)), ((70, 30), (-72.2, 8.0)),
           ((77, 55), (-70.0, 3.0)), ((90, 45), (-66.5, 6.0)), ((104, 25), (-63.5, 9.7)),
           ((107, 28), (-61.3, 10.4)), ((109, 21), (-60.9, 10.9)), ((120, 50), (-58.8, 5.0)),
           ((135, 50), (-55.9, 4.0)), ((146, 54), (-53.1, 3.9)), ((120, 75), (-60.0, 1.0)),
           ((90, 80), (-66.0, -2.0)), ((75, 105), (-70.0, -7.5)), ((164, 78), (-49.5, -1.0)),
           ((163, 72), (-50.5, 1.5)), ((130, 130), (-52.0, -12.0)), ((130, 230), (-56.0, -32.5)),
           ((120, 210), (-60.5, -28.0)), ((90, 210), (-64.0, -30.0)), ((63, 260), (-70.8, -37.0)),
           ((87, 331), (-68.0, -54.0)), ((80, 332), (-69.5, -53.8)), ((10, 32), (-80.3, 8.4))],
}
TROPICAL_ASIA_UNITS = {
    "IN": ["IN", "PK", "BD"], "SR": ["LK"], "NE": ["NP"], "BU": ["MM"], "TH": ["TH"],
    "IC": ["LA", "KH", "VN"], "MA": ["MY"], "SI": ["SG"], "BO": ["BN"], "SU": [], "JA": [],
    "BA": [], "LE": ["TL"], "SW": [], "HA": [], "MO": [], "CH": ["CN"], "HK": [], "TA": ["TW"],
    "PH": ["PH"],
}
TROPICAL_ASIA_SEEDS = {
    "IN": [((78, 180), (77.0, 18.0))], "SR": [((108, 284), (80.7, 7.6))],
    "NE": [((142, 79), (84.0, 28.2))], "BU": [((257, 159), (96.0, 21.0))],
    "TH": [((302, 202), (101.0, 15.5))], "IC": [((354, 228), (105.5, 13.5))],
    "MA": [((315, 315), (102.0, 4.0))], "SI": [((335, 342), (103.8, 1.35))],
    "BO": [((441, 337), (114.0, 0.5))], "SU": [((314, 364), (101.5, -0.5))],
    "JA": [((402, 429), (108.5, -7.0)), ((423, 425), (111.5, -7.3))],
    "BA": [((443, 438), (115.1, -8.4))],
    "LE": [((533, 377), (117.5, -8.6)), ((561, 385), (121.0, -8.6)), ((593, 389), (124.5, -9.3))],
    "SW": [((547, 278), (120.3, -2.0))], "HA": [((639, 275), (128.0, 1.0))],
    "MO": [((649, 319), (129.0, -3.2)), ((622, 328), (126.6, -3.4)), ((653, 357), (131.5, -5.8))],
    "CH": [((230, 50), (90.0, 31.0)), ((387, 170), (111.0, 24.5))],
    "HK": [((431, 135), (114.15, 22.35))], "TA": [((494, 126), (121.0, 23.7))],
    "PH": [((497, 201), (121.0, 16.5)), ((499, 228), (121.3, 14.2)), ((523, 236), (123.5, 13.3)),
           ((513, 246), (122.8, 12.0)), ((521, 253), (123.5, 10.9)), ((527, 255), (124.0, 10.3)),
           ((530, 260), (124.9, 10.9)), ((537, 254), (125.0, 12.0)), ((540, 243), (124.5, 13.2)),
           ((539, 280), (125.0, 7.5)), ((482, 256), (118.8, 9.6))],
}
# Islands of several units share one country in the data; they are split by
# longitude and latitude boxes (west, east, south, north).
ID_SPLIT = {"SU": (94, 106.2, -6.5, 6), "JA": (105.9, 114.6, -9, -5.5), "BA": (114.4, 115.8, -9, -7.9),
            "LE": (115.8, 127.5, -11, -7.8), "SW": (118.5, 126, -6.5, 2), "HA": (126.5, 129, -1, 3),
            "MO": (124, 135, -8, -1), "BO": (108, 119.5, -4.5, 7.5)}
MY_BORNEO = (109, 120, 0, 8)
# Units drawn from several countries or islands, without borders inside
# them; their neighbours' outlines separate them from other units.
MERGED_UNITS = {"OT", "IN", "IC", "BO"}


def ring_centre(ring):
    return sum(p[0] for p in ring) / len(ring), sum(p[1] for p in ring) / len(ring)


def in_box(point, box):
    return box[0] <= point[0] <= box[1] and box[2] <= point[1] <= box[3]


def contour_units(units, world):
    """unit -> rings, islands distributed by their position."""
    result = {u: [] for u in units}
    for unit, codes in units.items():
        for code in codes:
            for ring in world.get(code, []):
                if code == "MY" and in_box(ring_centre(ring), MY_BORNEO):
                    result.setdefault("BO", []).append(ring)
                else:
                    result[unit].append(ring)
    if "ID" in world:
        for ring in world["ID"]:
            c = ring_centre(ring)
            for unit, box in ID_SPLIT.items():
                if unit in result and in_box(c, box):
                    result[unit].append(ring)
                    break
    return result


def pixels(path, width, height):
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                         stdout=subprocess.PIPE).stdout
    return lambda x, y: tuple(raw[3 * (y * width + x): 3 * (y * width + x) + 3])


def contour_mvg(rings, units, project, width, height, colour_of):
    """Units of several countries are filled first without inner borders; then
    every single-country unit with its black outline, so that only borders
    between units show."""
    mvg = ["stroke-antialias 0"]
    for multi in (True, False):
        for unit, unit_rings in rings.items():
            if (unit in MERGED_UNITS) != multi:
                continue
            for ring in unit_rings:
                pts = project_ring(ring, project, width, height, 0.8)
                if pts and len(pts) > 2:
                    fill, stroke = colour_of(unit, multi)
                    mvg.append("fill '%s' stroke %s stroke-width 1 path '%s'" % (fill, stroke, mvg_path(pts)))
    return mvg


def render_contours(name, units, seeds, world, others, width, height, order):
    controls = [(lonlat, xy) for points in seeds.values() for xy, lonlat in points]
    project = Polynomial(controls, order)
    rings = contour_units(units, world)
    background = ["stroke-antialias 0"]
    for code in others:
        for ring in world.get(code, []):
            pts = project_ring(ring, project, width, height, 0.8)
            if pts and len(pts) > 2:
                background.append("fill '#d9cfb6' stroke '#d9cfb6' stroke-width 1 path '%s'" % mvg_path(pts))
    # Which unit lies under each click point, from a picture of unit colours.
    order = list(rings)
    label_colour = lambda unit: "#%02x%02x%02x" % (10 + 10 * order.index(unit), 77, 130)
    labels = contour_mvg(rings, units, project, width, height,
                         lambda unit, multi: (label_colour(unit), "none"))
    with tempfile.TemporaryDirectory() as tmp:
        label_path = os.path.join(tmp, "labels.png")
        draw("\n".join(labels), width, height, [label_path], "#000000", ["+antialias"])
        label_at = pixels(label_path, width, height)
        mvg = background + contour_mvg(rings, units, project, width, height,
                                       lambda unit, multi: ("white", "none" if multi else "black"))
        # A click point whose island is too small at this scale, or falls
        # just off its unit, gets a dot of its own there.
        dots = []
        for unit, points in seeds.items():
            want = tuple(int(label_colour(unit)[i:i + 2], 16) for i in (1, 3, 5))
            for (x, y), _ in points:
                near = [label_at(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)]
                if any(c != want for c in near):
                    dots.append("fill white stroke black stroke-width 1 circle %d,%d %d,%d" % (x, y, x + 2, y))
                    print("  dot for %s at %d,%d" % (unit, x, y), file=sys.stderr)
        path = os.path.join(OUT, name + ".png")
        draw("\n".join(mvg + dots), width, height, ["-colors", "16", "PNG8:" + path], "#9ec3e6",
             ["+antialias"])
        # A click point that an outline runs through gets a dot as well.
        drawn = pixels(path, width, height)
        late = ["fill white stroke black stroke-width 1 circle %d,%d %d,%d" % (x, y, x + 2, y)
                for points in seeds.values() for (x, y), _ in points if drawn(x, y) != (255, 255, 255)]
        if late:
            print("  %d dots on outlines" % len(late), file=sys.stderr)
            draw("\n".join(mvg + dots + late), width, height, ["-colors", "16", "PNG8:" + path],
                 "#9ec3e6", ["+antialias"])
    return path


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--cache", default=os.path.join(tempfile.gettempdir(), "korvelan_gmt_cache"))
    args = parser.parse_args()
    os.makedirs(args.cache, exist_ok=True)
    os.makedirs(OUT, exist_ok=True)
    wanted = lambda name: not args.only or name in args.only
    asian = {"TROPICAL_ASIA_CONTOURS"} | {r[0] for r in ROWS if r[4][0] > 0}
    americas = countries(AMERICAS, args.cache) if any(wanted(r[0]) for r in ROWS if r[4][0] < 0) or wanted("SOUTH_AMERICA_CONTOURS") else {}
    asia = countries(ASIA, args.cache) if any(wanted(n) for n in asian) else {}
    for row in ROWS:
        if args.only and row[0] not in args.only:
            continue
        world = asia if row[4][0] > 0 else americas
        render_base_map(row, world, args.cache)
        print("drew", row[0], file=sys.stderr)
    if not args.only or "SOUTH_AMERICA_CONTOURS" in args.only:
        render_contours("SOUTH_AMERICA_CONTOURS", SOUTH_AMERICA_UNITS, SOUTH_AMERICA_SEEDS, americas,
                        "MX GT BZ SV HN NI CU JM HT DO PR BS FK".split(), 240, 350, 2)
    if not args.only or "TROPICAL_ASIA_CONTOURS" in args.only:
        render_contours("TROPICAL_ASIA_CONTOURS", TROPICAL_ASIA_UNITS, TROPICAL_ASIA_SEEDS, asia,
                        "AF IR TJ KG KZ MN KP KR JP PG AU MV BT".split(), 680, 472, 3)


if __name__ == "__main__":
    main()
