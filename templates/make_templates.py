#!/usr/bin/env python3
"""Writes the protocol templates (*.vts) of every test kind and rule set in German (1) and
English (2) into this folder. The templates are plain files that may be edited by hand
afterwards; this script keeps their common layout in one place. Run: python3 make_templates.py
"""
import os
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))

TEXT = {
    1: dict(
        title="Prüfprotokoll", date="Prüfdatum:", instrument="Messgerät:",
        customer_block="Kunde und Anlage", customer="Kunde:", customer_no="Kunden-Nr.:",
        meter="Zähler-Nr.:", street="Straße:", meter_old="Zähler-Nr. alt:", town="Ort:",
        client="Auftraggeber:", values="Messwerte", result="Ergebnis",
        finding="Befund der Prüfung:", remark="Bemerkung:", curves="Druck- und Flussverlauf",
        pressure_curve="Druckverlauf", inspector_block="Prüfer", inspector="Prüfer:",
        sign_inspector="Ort, Datum, Unterschrift des Prüfers",
        sign_customer="Unterschrift des Kunden bzw. Betreibers",
        closing="Die Messwerte wurden mit dem genannten Messgerät aufgenommen und unverändert "
                "übernommen.",
        footer="Erstellt mit Lumetra 4 Desktop · Velmora Messtechnik",
        p_start="Prüfdruck Beginn:", p_end="Prüfdruck Ende:", leak="Leckmenge:",
        flow="Durchfluss:", volume="Leitungsvolumen:", ref="Referenzdruck:",
        leak_ref="Leckrate bei Referenzdruck:", flowing="Fließdruck:", static="Ruhedruck:",
        sav="SAV-Ansprechdruck:", zero="Nullabschluss:", gm="Gasmangelsicherung:",
        kinds=["Gebrauchsfähigkeitsprüfung einer Niederdruck-Gasinstallation",
               "Belastungsprüfung einer Gasleitung", "Dichtheitsprüfung einer Gasleitung",
               "Prüfung des Gas-Druckregelgeräts"],
        rules={"old": "Regelwerk: DVGW-TRGI 1986/1996",
               "current": "Regelwerk: DVGW-TRGI 2008",
               "G5952": "Leckmengenmessung nach Verfahren G5952",
               "VP952": "Leckmengenmessung nach Verfahren VP952"},
        findings=[
            {0: "gebrauchsfähig (OK)", 1: "bedingt gebrauchsfähig (bOK)",
             2: "nicht gebrauchsfähig (nOK)", 3: "Messabbruch",
             4: "Messabbruch – Werte nicht stabil"},
            {0: "bestanden (OK)", 1: "bedingt bestanden (bOK)", 2: "nicht bestanden (nOK)",
             3: "Messabbruch", 4: "Messabbruch – Werte nicht stabil"},
            {0: "dicht (OK)", 1: "bedingt dicht (bOK)", 2: "undicht (nOK)", 3: "Messabbruch",
             4: "Messabbruch – Werte nicht stabil"},
            {0: "in Ordnung (OK)", 1: "bedingt in Ordnung (bOK)", 2: "nicht in Ordnung (nOK)",
             3: "Messabbruch", 4: "Messabbruch – Werte nicht stabil"}],
        zero_map={0: "OK", 2: "nOK", 3: "entfällt"}, gm_map={0: "OK", 2: "nOK", 3: "fehlt"},
        notes=[
            "Einstufung nach der Leckmenge: bis 1 l/h uneingeschränkt gebrauchsfähig; über 1 bis "
            "unter 5 l/h vermindert gebrauchsfähig, Abdichtung innerhalb von vier Wochen; ab "
            "5 l/h keine Gebrauchsfähigkeit, Anlage sofort außer Betrieb nehmen.",
            "Belastungsprüfung mit Luft oder inertem Gas; Prüfdruck mindestens 1 bar, keine "
            "Druckminderung während der Prüfzeit.",
            "Dichtheitsprüfung mit Luft oder inertem Gas bei 150 mbar; der Druck darf während "
            "der Prüfzeit nicht fallen.",
            "Prüfung des Druckregelgeräts: Fließdruck, Ruhedruck und Ansprechdruck des "
            "Sicherheitsabsperrventils (SAV); --- bedeutet: nicht gemessen."]),
    2: dict(
        title="Test Report", date="Test date:", instrument="Instrument:",
        customer_block="Customer and installation", customer="Customer:",
        customer_no="Customer No.:", meter="Meter No.:", street="Street:",
        meter_old="Old meter No.:", town="Town:", client="Client:", values="Measured values",
        result="Result", finding="Finding:", remark="Remark:",
        curves="Pressure and flow curves", pressure_curve="Pressure curve",
        inspector_block="Inspector", inspector="Inspector:",
        sign_inspector="Place, date, signature of the inspector",
        sign_customer="Signature of the customer or operator",
        closing="The values were recorded with the instrument named above and taken over "
                "unchanged.",
        footer="Created with Lumetra 4 Desktop · Velmora Messtechnik",
        p_start="Pressure at start:", p_end="Pressure at end:", leak="Leak rate:",
        flow="Flow:", volume="Line volume:", ref="Reference pressure:",
        leak_ref="Leak rate at reference pressure:", flowing="Flowing pressure:",
        static="Static pressure:", sav="Safety shut-off pressure:", zero="Zero shut-off:",
        gm="Gas shortage safety device:",
        kinds=["Test of working order of a low-pressure gas installation",
               "Load test of a gas line", "Tightness test of a gas line",
               "Test of the gas pressure regulator"],
        rules={"old": "Rules: DVGW-TRGI 1986/1996", "current": "Rules: DVGW-TRGI 2008",
               "G5952": "Leak rate measured by method G5952",
               "VP952": "Leak rate measured by method VP952"},
        findings=[
            {0: "in working order (OK)", 1: "conditionally in working order (Cond. OK)",
             2: "not in working order (Not OK)", 3: "Aborted", 4: "Aborted – values not stable"},
            {0: "passed (OK)", 1: "conditionally passed (Cond. OK)", 2: "failed (Not OK)",
             3: "Aborted", 4: "Aborted – values not stable"},
            {0: "tight (OK)", 1: "conditionally tight (Cond. OK)", 2: "not tight (Not OK)",
             3: "Aborted", 4: "Aborted – values not stable"},
            {0: "in order (OK)", 1: "conditionally in order (Cond. OK)",
             2: "not in order (Not OK)", 3: "Aborted", 4: "Aborted – values not stable"}],
        zero_map={0: "OK", 2: "Not OK", 3: "N/A"}, gm_map={0: "OK", 2: "Not OK", 3: "Missing"},
        notes=[
            "Classification by leak rate: up to 1 l/h fully in working order; above 1 and below "
            "5 l/h reduced working order, to be sealed within four weeks; from 5 l/h not in "
            "working order, shut the installation down at once.",
            "Load test with air or inert gas; test pressure at least 1 bar, no pressure drop "
            "during the test time.",
            "Tightness test with air or inert gas at 150 mbar; the pressure must not fall during "
            "the test time.",
            "Test of the pressure regulator: flowing pressure, static pressure and response "
            "pressure of the safety shut-off valve; --- means: not measured."]),
}

BASES = ["Leckmengen", "Vorprüfung", "Hauptprüfung", "Reglerprüfung"]


class Sheet:
    def __init__(self, columns, width):
        self.columns, self.width, self.lines = columns, width, []

    def cell(self, row, col, span, text="", font=None, rowspan=1, **attrs):
        a = f'row="{row}" col="{col}"'
        if span > 1:
            a += f' colspan="{span}"'
        if rowspan > 1:
            a += f' rowspan="{rowspan}"'
        if font:
            a += f' font="{font}"'
        for key, value in attrs.items():
            a += f' {key}="{value}"'
        self.lines.append(f"  <cell {a}>{escape(text)}</cell>")

    def section(self, row, text):
        self.cell(row, 1, self.columns, text, "section", background="#e6e6e6", border="all")

    def area(self, name, rect):
        l, t, r, b = rect
        self.lines.append(f'  <area name="{name}" left="{l}" top="{t}" right="{r}" bottom="{b}"/>')

    def value(self, row, col, label, name, unit, label_span, value_span=2, border=None):
        self.cell(row, col, label_span, label, "label")
        extra = {"border": border} if border else {}
        self.cell(row, col + label_span, value_span, "{%s}" % name, align="right", **extra)
        if unit:
            self.cell(row, col + label_span + value_span, 1, unit)


def write(kind, variant, lang):
    t = TEXT[lang]
    regulator = kind == 3
    columns = 17 if regulator else 13
    s = Sheet(columns, 10.85 if regulator else 14.2)
    wide_logo = variant in ("G5952", "VP952")
    logo = (14, 1, 18, 7) if regulator else ((10, 1, 14, 7) if wide_logo else (10, 1, 12, 7))
    head = logo[0] - 1
    right = columns  # last column

    s.area("logo", logo)
    s.cell(1, 1, head, t["title"], "title", rowspan=2, valign="bottom")
    s.cell(3, 1, head, t["kinds"][kind], "subtitle")
    s.cell(4, 1, head, t["rules"][variant], "subtitle")
    lw = 3 if regulator else 2
    s.cell(6, 1, lw, t["date"], "label")
    s.cell(6, 1 + lw, head - lw, "{Pruefdatum}")
    s.cell(7, 1, lw, t["instrument"], "label", border="bottom")
    s.cell(7, 1 + lw, right - lw, "{Messgeraet}", border="bottom")

    mid = 11 if regulator else 8  # left column of the right half
    rw = right - mid + 1
    s.section(9, t["customer_block"])
    s.cell(10, 1, lw, t["customer"], "label")
    s.cell(10, 1 + lw, mid - 1 - lw, "{Kunde}", rowspan=2, valign="top", wrap="true")
    pairs = [(10, "customer_no", "KundenNr"), (11, "meter", "ZaehlerNr"),
             (12, "meter_old", "ZaehlerNrAlt"), (13, "client", "Auftraggeber")]
    for row, label, name in pairs:
        s.cell(row, mid, 2 if not regulator else 3, t[label], "label")
        off = 2 if not regulator else 3
        s.cell(row, mid + off, rw - off, "{%s}" % name)
    s.cell(12, 1, lw, t["street"], "label")
    s.cell(12, 1 + lw, mid - 1 - lw, "{Strasse}")
    s.cell(13, 1, lw, t["town"], "label")
    s.cell(13, 1 + lw, mid - 1 - lw, "{Ort}")

    s.section(15, t["values"])
    if regulator:
        s.value(16, 1, t["flowing"], "Fliessdruck", "mbar", 4)
        s.value(17, 1, t["static"], "Ruhedruck", "mbar", 4)
        s.value(18, 1, t["sav"], "SAV", "mbar", 4)
        s.cell(16, mid, 4, t["zero"], "label")
        s.cell(16, mid + 4, 3, "{Nullabschluss|Nullabschluss}")
        s.cell(17, mid, 4, t["gm"], "label")
        s.cell(17, mid + 4, 3, "{GMSicherung|GMSicherung}")
        s.value(18, mid, t["flow"], "Fluss", "l/h", 4)
    else:
        s.value(16, 1, t["p_start"], "Druck", "mbar", 3)
        s.value(17, 1, t["p_end"], "Druckende", "mbar", 3)
        s.value(18, 1, t["leak"] if kind == 0 else t["flow"], "Fluss", "l/h", 3)
        if wide_logo:
            s.value(16, 8, t["volume"], "Leistungsvolumen", "l", 3)
            s.value(17, 8, t["ref"], "RefDruck", "mbar", 3)
            s.value(18, 8, t["leak_ref"], "Leckrate" + variant, "l/h", 3, border="bottom")

    s.section(20, t["result"])
    s.cell(21, 1, lw + 1, t["finding"], "label", rowspan=2)
    s.cell(21, lw + 2, right - lw - 1, "{Befund|Befund}", "finding", rowspan=2)
    s.cell(23, 1, right, t["notes"][kind], "small", rowspan=2, valign="top", wrap="true")
    remark_rows = {0: 4, 1: 2, 2: 2, 3: 12}[kind]
    s.cell(26, 1, lw, t["remark"], "label", valign="top")
    s.cell(26, 1 + lw, right - lw, "{Bemerkung}", rowspan=remark_rows, valign="top",
           wrap="true", border="all")

    if kind == 0:
        s.section(31, t["curves"])
        s.cell(32, 1, right, "", rowspan=11, border="all")
        s.area("pressureChart", (1, 32, 8, 43))
        s.area("flowChart", (8, 32, 14, 43) if wide_logo else (8, 32, 12, 43))
    elif kind in (1, 2):
        s.section(29, t["pressure_curve"])
        s.cell(30, 1, right, "", rowspan=13, border="all")
        s.area("pressureChart", (1, 30, 12, 43))

    s.section(44, t["inspector_block"])
    s.cell(45, 1, lw, t["inspector"], "label")
    s.cell(45, 1 + lw, right - lw, "{Pruefer}")
    half = (right - 1) // 2
    s.cell(48, 1, half, "", border="bottom")
    s.cell(48, right - half + 1, half, "", border="bottom")
    s.cell(49, 1, half, t["sign_inspector"], "small", valign="top")
    s.cell(49, right - half + 1, half, t["sign_customer"], "small", valign="top")
    s.cell(51, 1, right, t["closing"], "small", rowspan=2, valign="top", wrap="true")

    maps = [("Befund", t["findings"][kind])]
    if regulator:
        maps += [("Nullabschluss", t["zero_map"]), ("GMSicherung", t["gm_map"])]
    suffix = {"old": "_TRGI8696", "current": "", "G5952": "_G5952", "VP952": "_VP952"}[variant]
    name = f"{BASES[kind]}{lang}{suffix}.vts"
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           f"<!-- {escape(t['title'])}: {escape(t['kinds'][kind])}; {escape(t['rules'][variant])}."
           f"\n     Written by make_templates.py; the program fills the areas logo, pressureChart"
           f" and flowChart. -->",
           '<workbook-template version="1">',
           '  <page paper="A4" orientation="portrait" left="15" top="12" right="10" bottom="18"'
           ' header="6" footer="8"/>',
           f'  <footer>&amp;C&amp;"Arial"&amp;8{escape(t["footer"])}</footer>', "",
           '  <font id="normal" family="Arial" size="9" default="true"/>',
           '  <font id="label" family="Arial" size="9" bold="true"/>',
           '  <font id="title" family="Arial" size="16" bold="true"/>',
           '  <font id="subtitle" family="Arial" size="11"/>',
           '  <font id="section" family="Arial" size="10" bold="true"/>',
           '  <font id="finding" family="Arial" size="12" bold="true"/>',
           '  <font id="small" family="Arial" size="7"/>', "",
           f'  <column width="{s.width}" count="{columns}"/>',
           '  <row height="5" count="52"/>', ""]
    for map_id, entries in maps:
        out.append(f'  <map id="{map_id}">')
        for code, text in entries.items():
            out.append(f'    <entry code="{code}">{escape(text)}</entry>')
        out.append('    <entry code="255"></entry>')
        out.append("  </map>")
    out.append("")
    out += s.lines
    out.append("</workbook-template>")
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    return name


def main():
    for lang in (1, 2):
        for kind in range(4):
            variants = ["old", "current"] + (["G5952", "VP952"] if kind == 0 else [])
            for variant in variants:
                print(write(kind, variant, lang))


if __name__ == "__main__":
    main()
