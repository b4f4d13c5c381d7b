#!/usr/bin/env python3
"""Writes the media of the example knowledge base 'ogrzewanie' beside examples/BAZY: the advice
texts (RADY/ogrzewanie/*.hlp), the pictures (GRAFIKA/ogrzewanie/*.bmp, 8-bit bitmaps drawn
here), the sounds (DŹWIĘKI/ogrzewanie/*.wav, synthesised here) and the description
(OPISY/ogrzewanie.OPI). Texts are Windows-1250 with CR LF line ends. Standard library only; the
output is the same on every run.

    python3 scripts/make_example_media.py [examples-directory]
"""
import math
import os
import random
import struct
import sys
import wave

W = "ogrzewanie"

ADVICE = {
    "miejskie.hlp": """Ogrzewanie miejskie

Twoje mieszkanie może korzystać z sieci ciepłowniczej. To zwykle
najwygodniejsze rozwiązanie: nie wymaga kotłowni ani opału.

- Zapytaj zarządcę budynku o warunki przyłączenia i o taryfę.
- Zamontuj zawory termostatyczne na grzejnikach: każdy stopień
  mniej w pokoju to około 6% mniejszy rachunek.
""",
    "gaz.hlp": """Kocioł gazowy

Dom ma dostęp do sieci gazowej, a pompa ciepła nie wychodzi taniej
od gazu. Wybierz kocioł kondensacyjny.

- Kocioł kondensacyjny odzyskuje ciepło ze spalin (sprawność
  powyżej 100% w odniesieniu do wartości opałowej).
- Co roku zlecaj przegląd kotła i komina.
- Czujnik tlenku węgla w kotłowni jest obowiązkowym minimum.
""",
    "bez_gazu.hlp": """Kocioł gazowy odpada

Kocioł gazowy nie jest zalecany: dom nie spełnia któregoś z warunków
(brak sieci gazowej albo pompa ciepła jest tańsza w eksploatacji).
Sprawdź pozostałe wnioski: pompę ciepła lub kocioł na pellet.
""",
    "pompa.hlp": """Pompa ciepła

Dom jest dobrze ocieplony, a pompa ciepła wychodzi taniej od gazu.

- Najlepiej pracuje z ogrzewaniem podłogowym (niska temperatura
  zasilania, około 35 stopni).
- Dobierz moc do obliczonego zapotrzebowania, nie "na zapas".
- Połączenie z instalacją fotowoltaiczną obniża rachunki za prąd.
""",
    "pellet.hlp": """Kocioł na pellet

Dom nie ma sieci gazowej, ma miejsce na opał i duże zapotrzebowanie
na ciepło.

- Pellet przechowuj w suchym pomieszczeniu; wilgotny się kruszy.
- Kocioł 5 klasy z automatycznym podajnikiem wymaga dosypywania
  opału raz na kilka dni.
- Popiół usuwaj co tydzień.
""",
    "elektryczne.hlp": """Ogrzewanie elektryczne

Mieszkanie nie ma dostępu do sieci ciepłowniczej, ale ma instalację
fotowoltaiczną. Grzejniki elektryczne są tanie w zakupie.

- Wybierz grzejniki z termostatem i programatorem tygodniowym.
- Rozważ taryfę dwustrefową: grzej akumulacyjnie w nocy.
""",
    "pompa_tansza.hlp": """Pompa ciepła jest tańsza od gazu

Przy podanym zapotrzebowaniu na ciepło roczny koszt prądu dla pompy
ciepła jest niższy od rocznego kosztu gazu. Różnica rośnie wraz
z zapotrzebowaniem.
""",
    "gaz_tanszy.hlp": """Gaz jest tańszy od pompy ciepła

Przy podanym zapotrzebowaniu roczny koszt gazu nie przekracza kosztu
prądu dla pompy ciepła. Sprawdź ceny: zmiana taryfy może to odwrócić.
""",
}

DESCRIPTION = """Baza wiedzy OGRZEWANIE

Dobór systemu ogrzewania domu jednorodzinnego lub mieszkania w bloku.

Baza reguł REogrzewanie.BRD wybiera jedno z pięciu rozwiązań:
ogrzewanie miejskie, kocioł gazowy, pompę ciepła, kocioł na pellet
albo ogrzewanie elektryczne.

Baza modeli MOogrzewanie.BRD liczy roczne zapotrzebowanie na ciepło
z powierzchni domu i jakości izolacji, a z niego roczne koszty gazu
i prądu dla pompy ciepła.

Baza ograniczeń OGogrzewanie.BRD wyklucza dom i mieszkanie naraz.

Bazy rad, grafiki i dźwięku (RAogrzewanie.BRD, GRogrzewanie.BRD,
DŹogrzewanie.BRD) dołączają do wniosków porady, rysunki i dźwięki.
"""

# --- pictures ----------------------------------------------------------------------------------

PW, PH = 128, 96
PALETTE = [
    (235, 242, 250),  # 0 sky
    (60, 60, 70),  # 1 dark outline
    (200, 200, 205),  # 2 light grey
    (150, 150, 160),  # 3 grey
    (180, 60, 50),  # 4 red
    (250, 200, 60),  # 5 yellow
    (60, 120, 220),  # 6 blue
    (250, 140, 40),  # 7 orange
    (120, 80, 40),  # 8 brown
    (90, 170, 90),  # 9 green
    (255, 255, 255),  # 10 white
    (40, 60, 120),  # 11 navy
]


class Canvas:
    def __init__(self, background=0):
        self.px = [[background] * PW for _ in range(PH)]

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(PH, y1)):
            for x in range(max(0, x0), min(PW, x1)):
                self.px[y][x] = c

    def disc(self, cx, cy, r, c):
        for y in range(max(0, cy - r), min(PH, cy + r + 1)):
            for x in range(max(0, cx - r), min(PW, cx + r + 1)):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.px[y][x] = c

    def flame(self, cx, base, h, c_out, c_in):
        for y in range(base - h, base):
            t = (base - y) / h
            half = int((1 - t) * h * 0.35 + 1)
            for x in range(cx - half, cx + half + 1):
                if 0 <= x < PW and 0 <= y < PH:
                    self.px[y][x] = c_in if abs(x - cx) < half * 0.5 and t < 0.7 else c_out

    def bmp(self):
        row = (PW + 3) & ~3
        pixels = bytearray()
        for y in range(PH - 1, -1, -1):
            pixels += bytes(self.px[y]) + b"\0" * (row - PW)
        palette = bytearray()
        for r, g, b in PALETTE + [(0, 0, 0)] * (256 - len(PALETTE)):
            palette += bytes((b, g, r, 0))
        offset = 14 + 40 + len(palette)
        header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, PW, PH, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
        return header + info + bytes(palette) + bytes(pixels)


def block_of_flats():
    c = Canvas()
    c.rect(0, 80, PW, PH, 9)
    c.rect(30, 15, 98, 82, 3)
    for row in range(5):
        for col in range(4):
            c.rect(36 + col * 16, 20 + row * 12, 46 + col * 16, 28 + row * 12, 5)
    c.rect(0, 86, PW, 90, 4)  # the district heating pipe
    c.rect(60, 70, 64, 90, 4)
    return c


def gas_boiler():
    c = Canvas()
    c.rect(34, 10, 94, 86, 10)
    c.rect(34, 10, 94, 12, 1)
    c.rect(34, 84, 94, 86, 1)
    c.rect(34, 10, 36, 86, 1)
    c.rect(92, 10, 94, 86, 1)
    c.rect(46, 40, 82, 74, 11)
    c.flame(64, 72, 26, 6, 10)
    c.rect(56, 86, 60, PH, 3)
    c.rect(68, 86, 72, PH, 3)
    return c


def heat_pump():
    c = Canvas()
    c.rect(0, 84, PW, PH, 9)
    c.rect(20, 30, 108, 84, 2)
    c.disc(52, 57, 20, 3)
    for a in range(3):
        angle = a * 2 * math.pi / 3
        for r in range(3, 19):
            x = int(52 + r * math.cos(angle + r * 0.05))
            y = int(57 + r * math.sin(angle + r * 0.05))
            c.disc(x, y, 2, 1)
    c.disc(52, 57, 3, 1)
    c.rect(82, 40, 100, 46, 6)
    c.rect(82, 52, 100, 58, 4)
    return c


def pellet_stove():
    c = Canvas()
    c.rect(30, 20, 98, 88, 1)
    c.rect(38, 34, 90, 76, 8)
    c.flame(64, 74, 34, 7, 5)
    rnd = random.Random(7)
    for _ in range(40):
        c.disc(rnd.randrange(8, 28), rnd.randrange(78, 94), 1, 8)
    return c


def solar_panels():
    c = Canvas()
    c.disc(104, 18, 12, 5)
    c.rect(0, 84, PW, PH, 9)
    for i in range(3):
        x0 = 10 + i * 34
        c.rect(x0, 52, x0 + 30, 78, 11)
        for gx in range(x0, x0 + 30, 10):
            c.rect(gx, 52, gx + 1, 78, 10)
        c.rect(x0, 64, x0 + 30, 65, 10)
        c.rect(x0 + 14, 78, x0 + 16, 86, 3)
    return c


PICTURES = {
    "miejskie.bmp": block_of_flats,
    "kociol_gazowy.bmp": gas_boiler,
    "pompa.bmp": heat_pump,
    "pellet.bmp": pellet_stove,
    "panele.bmp": solar_panels,
}

# --- sounds ------------------------------------------------------------------------------------

RATE = 8000


def hum(seconds=0.8):
    """A heat pump: a low hum with a soft fan hiss, fading in and out."""
    rnd = random.Random(1)
    out = []
    n = int(RATE * seconds)
    for i in range(n):
        t = i / RATE
        envelope = min(1.0, i / 800, (n - i) / 800)
        s = 0.5 * math.sin(2 * math.pi * 100 * t) + 0.2 * math.sin(2 * math.pi * 200 * t)
        s += 0.15 * (rnd.random() * 2 - 1)
        out.append(s * envelope)
    return out


def whoosh(seconds=0.7):
    """A gas flame lighting: noise swelling quickly, then a steady roar."""
    rnd = random.Random(2)
    out = []
    smooth = 0.0
    n = int(RATE * seconds)
    for i in range(n):
        smooth = 0.85 * smooth + 0.15 * (rnd.random() * 2 - 1)
        envelope = min(1.0, i / 1200) * min(1.0, (n - i) / 600)
        out.append(2.2 * smooth * envelope)
    return out


def crackle(seconds=0.8):
    """Burning pellets: short clicks at random moments."""
    rnd = random.Random(3)
    out = [0.0] * int(RATE * seconds)
    for _ in range(28):
        at = rnd.randrange(len(out) - 80)
        loudness = 0.3 + 0.6 * rnd.random()
        for k in range(60):
            out[at + k] += loudness * math.exp(-k / 9) * (rnd.random() * 2 - 1)
    return out


SOUNDS = {"pompa.wav": hum, "plomien.wav": whoosh, "trzask.wav": crackle}


def write_wave(path, samples):
    data = bytes(max(0, min(255, int(128 + 120 * s))) for s in samples)  # 8-bit unsigned
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(RATE)
        w.writeframes(data)


# --- bases and files ---------------------------------------------------------------------------

BASES = {
    "RA" + W + ".BRD": [
        'rem_rada("Porady do wniosków reguł i modelu relacyjnego 6")',
        'rada(1,"miejskie.hlp")',
        'rada(2,"gaz.hlp")',
        'nrada(2,"bez_gazu.hlp")',
        'rada(3,"pompa.hlp")',
        'rada(4,"pellet.hlp")',
        'rada(5,"elektryczne.hlp")',
        'rada(6,"pompa_tansza.hlp")',
        'nrada(6,"gaz_tanszy.hlp")',
    ],
    "GR" + W + ".BRD": [
        'grafika(1,"miejskie")',
        'grafika(2,"kociol_gazowy")',
        'grafika(3,"pompa")',
        'grafika(4,"pellet")',
        'grafika(5,"panele")',
    ],
    "DŹ" + W + ".BRD": [
        'dźwięk(2,"plomien")',
        'dźwięk(3,"pompa")',
        'dźwięk(4,"trzask")',
    ],
}


def windows_text(text):
    return text.replace("\n", "\r\n").encode("cp1250")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    examples = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "examples")
    for name, text in ADVICE.items():
        write(os.path.join(examples, "RADY", W, name), windows_text(text))
    for name, draw in PICTURES.items():
        write(os.path.join(examples, "GRAFIKA", W, name), draw().bmp())
    for name, make in SOUNDS.items():
        path = os.path.join(examples, "DŹWIĘKI", W, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_wave(path, make())
    write(os.path.join(examples, "OPISY", W + ".OPI"), windows_text(DESCRIPTION))
    for name, lines in BASES.items():
        write(os.path.join(examples, "BAZY", name), windows_text("\n".join(lines) + "\n"))


if __name__ == "__main__":
    main()
