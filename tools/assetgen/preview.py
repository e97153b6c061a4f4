"""Preview sheets for people: every picture and frame on a checkerboard, and
mock-ups of the battlefield, the upgrade menu, the map and the intro drawn the
way the game draws them (scale 2, anchors, the HUD text positions)."""


from PIL import Image, ImageDraw, ImageFont

from catalogue import ANCHORS, FONT, PICTURES

SCALE = 2


class Pics:
    def __init__(self, assets):
        self.assets = assets
        self.cache = {}

    def frames(self, path):
        if path not in self.cache:
            entry = [e for e in PICTURES if e[0] == path][0]
            _, w, h, cw, ch = entry
            im = Image.open(self.assets / path).convert("RGBA")
            self.cache[path] = [im.crop((i * cw, 0, i * cw + cw, ch)) for i in range(w // cw)]
        return self.cache[path]


def _font(assets, size=8):
    return ImageFont.truetype(str(assets / FONT), size)


def text_image(assets, text, colour, scale=2):
    """The game's text: the 8-pixel font, drawn at the given scale."""
    f = _font(assets)
    w = max(1, int(f.getlength(text)))
    im = Image.new("RGBA", (w, 8), (0, 0, 0, 0))
    ImageDraw.Draw(im).text((0, 0), text, font=f, fill=tuple(colour) + (255,))
    return im.resize((w * scale, 8 * scale), Image.NEAREST)


def put(screen, frame, x, y, anchor=(0, 0), scale=SCALE, flip=False, centre=False):
    im = frame
    if flip:
        im = im.transpose(Image.FLIP_LEFT_RIGHT)
    if centre:
        anchor = (frame.width / 2.0, frame.height / 2.0)
    ax = (frame.width - anchor[0]) if flip else anchor[0]
    big = im.resize((im.width * scale, im.height * scale), Image.NEAREST)
    screen.alpha_composite(big, (int(x - ax * scale), int(y - anchor[1] * scale)))


def contact_sheets(assets, out_dir):
    pics = Pics(assets)
    f = _font(assets)
    sheets = []
    groups = [("contact_sprites.png", [e for e in PICTURES if e[1] < 200]),
              ("contact_anims.png", [e for e in PICTURES if e[1] >= 200 and (e[1], e[2]) != (320, 240)]),
              ("contact_screens.png", [e for e in PICTURES if (e[1], e[2]) == (320, 240)])]
    for name, entries in groups:
        width = max([1400] + [(e[1] // e[3]) * (e[3] * SCALE + 4) + 24 for e in entries])
        x, y, rowh = 8, 8, 0
        placed = []
        for path, w, h, cw, ch in entries:
            frames = pics.frames(path)
            fw = len(frames) * (cw * SCALE + 4)
            label = path.replace("Gfx/", "")
            lw = int(f.getlength(label)) * 2 + 8
            bw = max(fw, lw)
            if x + bw > width - 8:
                x = 8
                y += rowh + 8
                rowh = 0
            placed.append((path, frames, x, y, cw, ch))
            x += bw + 12
            rowh = max(rowh, ch * SCALE + 22)
        height = y + rowh + 8
        sheet = Image.new("RGBA", (width, height), (40, 40, 48, 255))
        d = ImageDraw.Draw(sheet)
        for path, frames, x0, y0, cw, ch in placed:
            label = path.replace("Gfx/", "")
            t = text_image(assets, label, (230, 230, 230))
            sheet.alpha_composite(t, (x0, y0))
            fx = x0
            for fr in frames:
                bw, bh = cw * SCALE, ch * SCALE
                board = Image.new("RGBA", (bw, bh))
                bd = ImageDraw.Draw(board)
                for by in range(0, bh, 8):
                    for bx in range(0, bw, 8):
                        c = (150, 150, 160) if (bx // 8 + by // 8) % 2 else (110, 110, 120)
                        bd.rectangle((bx, by, bx + 7, by + 7), fill=c + (255,))
                board.alpha_composite(fr.resize((bw, bh), Image.NEAREST))
                sheet.alpha_composite(board, (fx, y0 + 18))
                if path in ANCHORS:
                    axp, ayp = ANCHORS[path]
                    px, py = fx + axp * SCALE, y0 + 18 + ayp * SCALE
                    d.line((px - 3, py, px + 3, py), fill=(255, 0, 255, 255))
                    d.line((px, py - 3, px, py + 3), fill=(255, 0, 255, 255))
                fx += bw + 4
        p = out_dir / name
        sheet.save(p)
        sheets.append(p)
    return sheets


def battlefield(assets, out_dir, with_menu=False):
    pics = Pics(assets)
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    put(s, pics.frames("Gfx/background.png")[0], 0, 0)
    blocks = ["Gfx/bgSet02/bgSet02nr1.png", "Gfx/bgSet01/bgSet01nr1.png", "Gfx/bgSet03/bgSet03nr1.png",
              "Gfx/bgSet02/bgSet02nr3.png", "Gfx/bgSet01/bgSet01nr3.png", "Gfx/bgSet03/bgSet03nr4.png"]
    for i, b in enumerate(blocks):
        put(s, pics.frames(b)[0], -40 + i * 128, 180)
    g = 350
    put(s, pics.frames("Gfx/buildings/factory.png")[0], 80, g, ANCHORS["Gfx/buildings/factory.png"])
    put(s, pics.frames("Gfx/buildings/house02.png")[0], 190, g, ANCHORS["Gfx/buildings/house02.png"])
    put(s, pics.frames("Gfx/buildings/medTurret.png")[2], 262, g, ANCHORS["Gfx/buildings/medTurret.png"], flip=True)
    put(s, pics.frames("Gfx/buildings/homebase.png")[0], 470, g, ANCHORS["Gfx/buildings/homebase.png"])
    put(s, pics.frames("Gfx/tank.png")[0], 150, g, ANCHORS["Gfx/tank.png"])
    for i, x in enumerate((230, 246, 300)):
        put(s, pics.frames("Gfx/persons/soldier.png")[i % 2], x, g, (3, 6), flip=True)
    put(s, pics.frames("Gfx/persons/civilian.png")[0], 330, g, (3, 6))
    put(s, pics.frames("Gfx/persons/civilianGreen.png")[1], 400, 250, (3, 6))
    put(s, pics.frames("Gfx/abductionCage.png")[1], 400, 250, (6, 8))
    put(s, pics.frames("Gfx/cow.png")[0], 560, g, (5, 6))
    put(s, pics.frames("Gfx/siegeSuit/siegeSuitWalking.png")[1], 380, g, (16, 21))
    put(s, pics.frames("Gfx/siegeSuit/siegeSuitFlying.png")[0], 400, 170, (16, 21))
    beam = pics.frames("Gfx/abductoBeam.png")[0].resize((6, 80), Image.NEAREST)
    s.alpha_composite(beam, (397, 170))
    put(s, pics.frames("Gfx/aircraft/duster/dusterSideways.png")[0], 250, 120, (14, 12), flip=True)
    put(s, pics.frames("Gfx/airMine.png")[2], 560, 150, centre=True)
    put(s, pics.frames("Gfx/bigExplosion.png")[2], 120, 300, centre=True)
    put(s, pics.frames("Gfx/photon.png")[0], 430, 320, centre=True)
    put(s, pics.frames("Gfx/photonGlow.png")[0], 430, 320, centre=True)
    put(s, pics.frames("Gfx/tankShot.png")[0], 220, 320, centre=True)
    put(s, pics.frames("Gfx/heart.png")[0], 470, 250, centre=True)
    if with_menu:
        put(s, pics.frames("Gfx/menu/upgradeMenu/upgradeMenuPage.png")[0], 74, 30)
        btns = ["Laser", "Photon", "Flak", "Shield", "SpaceWarp"]
        for i, b in enumerate(btns):
            put(s, pics.frames("Gfx/menu/upgradeMenu/upgButton%s.png" % b)[1 if i in (1, 3) else 0], 121 + i * 86, 126)
        put(s, pics.frames("Gfx/menu/upgradeMenu/cursor.png")[0], 122, 99)
        line = text_image(assets, "Evolve energy-efficient laser optic nerve for airborne assault.", (0, 255, 0))
        s.alpha_composite(line, (88, 284))
        line2 = text_image(assets, " > Push [down] + [z] while grounded.", (0, 255, 0))
        s.alpha_composite(line2, (88, 300))
        price = text_image(assets, "100", (0, 255, 0))
        s.alpha_composite(price, (74 + 246 - price.width // 2, 52))
    put(s, pics.frames("Gfx/hud.png")[0], 0, 0)
    marks = [(200, 467, 0), (230, 467, 1), (250, 467, 1), (340, 467, 2), (335, 467, 3), (300, 410, 1)]
    for x, y, k in marks:
        put(s, pics.frames("Gfx/radarContacts.png")[k], x, y, (3, 6))
    t = text_image(assets, "Dazozuzo is under attack!", (255, 0, 0))
    s.alpha_composite(t, (320 - t.width // 2, 362 - t.height // 2))
    s.alpha_composite(text_image(assets, "Military strength: 100", (255, 255, 255)), (3, 0))
    t = text_image(assets, "Radioactive Civilian", (255, 0, 0))
    s.alpha_composite(t, (320 - t.width // 2, 12))
    s.alpha_composite(text_image(assets, "100", (127, 0, 0)), (80, 440))
    s.alpha_composite(text_image(assets, "1250", (0, 127, 8)), (560, 440))
    name = "mockup_menu.png" if with_menu else "mockup_battlefield.png"
    p = out_dir / name
    s.save(p)
    return p


def mapscreen(assets, out_dir):
    pics = Pics(assets)
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    put(s, pics.frames("Gfx/map/mapLayout.png")[0], 0, 0)
    nodes = [(140, 380, "Militarized Zone", False), (464, 310, "Armour Staging Zone", False),
             (286, 240, "Infantry Staging Zone", True), (346, 336, "Boss Zone", True)]
    for x, y, name, locked in nodes:
        if locked:
            put(s, pics.frames("Gfx/map/missionNodeLocked.png")[0], x, y)
        else:
            put(s, pics.frames("Gfx/map/missionNode.png")[0], x, y, centre=True)
        t = text_image(assets, name, (0, 255, 0), scale=1)
        t = t.resize((t.width * 2, t.height * 2), Image.NEAREST)
        s.alpha_composite(t, (int(x - t.width / 2), int(y - t.height / 2 - t.height - 14)))
    put(s, pics.frames("Gfx/map/dazozuzo.png")[0], 320, 80, (6, 5))
    put(s, pics.frames("Gfx/map/dazozuzo.png")[1], 464, 310, (6, 5))
    put(s, pics.frames("Gfx/keyboard buttons/pushZFlash.png")[0], 464, 334, centre=True)
    p = out_dir / "mockup_map.png"
    s.save(p)
    return p


def intro(assets, out_dir):
    import random
    rnd = random.Random(4)
    pics = Pics(assets)
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    star = pics.frames("star.png")[0]
    for _ in range(240):
        a = rnd.random()
        st = star.copy()
        st.putalpha(int(a * 255))
        put(s, st, rnd.randint(0, 640), rnd.randint(0, 480))
    fy = 160
    for i in range(-2, 3):
        put(s, pics.frames("trellan0%d.png" % (1 + (i % 2)))[0], 320 + i * 36 + 12, fy, (15, 16))
    for i in range(-4, 5):
        for dy in (30, 60):
            put(s, pics.frames("trellan03.png")[i % 2], 320 + i * 32 + 12, fy + dy, (13, 10))
    for i in range(-5, 6):
        for dy in (90, 120):
            put(s, pics.frames("trellan04.png")[i % 2], 320 + i * 32 + 12, fy + dy, (13, 10))
    put(s, pics.frames("title.png")[0], 320, 352, centre=True)
    put(s, pics.frames("nukeMissile.png")[0], 560, 420, centre=True)
    p = out_dir / "mockup_intro.png"
    s.save(p)
    s2 = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    for _ in range(240):
        a = rnd.random()
        st = star.copy()
        st.putalpha(int(a * 255))
        put(s2, st, rnd.randint(0, 640), rnd.randint(0, 480))
    put(s2, pics.frames("outro/outroText.png")[0], 0, 0)
    p2 = out_dir / "mockup_outro.png"
    s2.save(p2)
    return [p, p2]


def build_all(assets, out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    out = contact_sheets(assets, out_dir)
    out.append(battlefield(assets, out_dir))
    out.append(battlefield(assets, out_dir, with_menu=True))
    out.append(mapscreen(assets, out_dir))
    out += intro(assets, out_dir)
    out.append(boss(assets, out_dir))
    return out


def boss(assets, out_dir):
    """The boss as the game draws it: rotors first at the wing tips, then
    the body anchored at (w div 2, h - 4), with dusters and mines around."""
    pics = Pics(assets)
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    put(s, pics.frames("Gfx/background.png")[0], 0, 0)
    blocks = ["Gfx/bgSet02/bgSet02nr2.png", "Gfx/bgSet01/bgSet01nr4.png", "Gfx/bgSet03/bgSet03nr2.png",
              "Gfx/bgSet02/bgSet02nr4.png", "Gfx/bgSet02/bgSet02nr5.png", "Gfx/bgSet01/bgSet01nr2.png"]
    for i, b in enumerate(blocks):
        put(s, pics.frames(b)[0], -20 + i * 128, 180)
    body = pics.frames("Gfx/bosses/supercopterBody.png")[0]
    x, y = 320, 150
    left, top = x - (153 // 2) * 2, y - (35 - 4) * 2 + 40
    for k, rx in enumerate((left + 32, left + 2 * 153 - 32)):
        put(s, pics.frames("Gfx/bosses/supercopterEngine.png")[k], rx, top, centre=True)
    put(s, body, x, y, (153 // 2, 35 - 4))
    put(s, pics.frames("Gfx/tankShot.png")[0], left + 78, y - 62 + 58 + 20, centre=True)
    put(s, pics.frames("Gfx/aircraft/duster/dusterFront.png")[0], 120, 110, (11, 12))
    put(s, pics.frames("Gfx/airMine.png")[0], 540, 230, centre=True)
    put(s, pics.frames("Gfx/buildings/airpad.png")[0], 120, 350, ANCHORS["Gfx/buildings/airpad.png"])
    put(s, pics.frames("Gfx/buildings/barracks.png")[0], 250, 350, ANCHORS["Gfx/buildings/barracks.png"])
    put(s, pics.frames("Gfx/buildings/heavyTurret.png")[3], 350, 350, ANCHORS["Gfx/buildings/heavyTurret.png"])
    put(s, pics.frames("Gfx/buildings/lightTurret.png")[1], 420, 350, ANCHORS["Gfx/buildings/lightTurret.png"], flip=True)
    put(s, pics.frames("Gfx/buildings/airMineLauncher.png")[0], 500, 350, ANCHORS["Gfx/buildings/airMineLauncher.png"])
    put(s, pics.frames("Gfx/buildings/house01.png")[0], 580, 350, ANCHORS["Gfx/buildings/house01.png"])
    put(s, pics.frames("Gfx/siegeSuit/egg.png")[5], 40, 350, (21, 25))
    put(s, pics.frames("Gfx/siegeSuit/siegeSuitWalkLeft.png")[2], 300, 350, (16, 21))
    put(s, pics.frames("Gfx/siegeSuit/suitShield.png")[3], 300, 350, (16, 24))
    put(s, pics.frames("Gfx/hud.png")[0], 0, 0)
    put(s, pics.frames("Gfx/retreating.png")[0], 162, 380)
    p = out_dir / "mockup_boss.png"
    s.save(p)
    return p
