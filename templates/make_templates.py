#!/usr/bin/env python3
"""Writes the protocol templates (*.vts) of every test kind and rule set in every language into
this folder: German (1), English (2, also British English), Italian (4), Polish (5), Hungarian
(6), Slovenian (7), Croatian (8) and Czech (9). The templates are plain files that may be edited
by hand afterwards; this script keeps their common layout in one place.
Run: python3 make_templates.py
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
        gm="Gas shortage device:",
        kinds=["Test of working order of a low-pressure gas installation",
               "Preliminary test (load test) of a gas line",
               "Main test (tightness test) of a gas line",
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
    4: dict(  # Italian
        title="Rapporto di prova", date="Data prova:", instrument="Strumento:",
        customer_block="Cliente e impianto", customer="Cliente:", customer_no="Codice cliente:",
        meter="N. contatore:", street="Via:", meter_old="N. cont. prec.:", town="Località:",
        client="Committente:", values="Valori misurati", result="Risultato",
        finding="Esito della prova:", remark="Note:", curves="Andamento di pressione e portata",
        pressure_curve="Andamento della pressione", inspector_block="Verificatore",
        inspector="Verificatore:", sign_inspector="Luogo, data, firma del verificatore",
        sign_customer="Firma del cliente o del gestore",
        closing="I valori sono stati rilevati con lo strumento indicato e riportati senza "
                "modifiche.",
        footer="Creato con Lumetra 4 Desktop · Velmora Messtechnik",
        p_start="Pressione iniziale:", p_end="Pressione finale:", leak="Portata di perdita:",
        flow="Portata:", volume="Volume della tubazione:", ref="Pressione di riferimento:",
        leak_ref="Perdita a pressione di rif.:", flowing="Pressione dinamica:",
        static="Pressione statica:", sav="Intervento VBS:", zero="Pressione di chiusura:",
        gm="Disp. mancanza gas:",
        kinds=["Prova di idoneità all'uso di un impianto gas a bassa pressione",
               "Prova di carico di una tubazione gas", "Prova di tenuta di una tubazione gas",
               "Prova del regolatore di pressione gas"],
        rules={"old": "Normativa: DVGW-TRGI 1986/1996",
               "current": "Normativa: DVGW-TRGI 2008",
               "G5952": "Misura della portata di perdita con il metodo G5952",
               "VP952": "Misura della portata di perdita con il metodo VP952"},
        findings=[
            {0: "idoneo all'uso (OK)", 1: "idoneo all'uso con riserva (OK con riserva)",
             2: "non idoneo all'uso (Non OK)", 3: "Misura interrotta",
             4: "Misura interrotta – valori non stabili"},
            {0: "superata (OK)", 1: "superata con riserva (OK con riserva)",
             2: "non superata (Non OK)", 3: "Misura interrotta",
             4: "Misura interrotta – valori non stabili"},
            {0: "a tenuta (OK)", 1: "a tenuta con riserva (OK con riserva)",
             2: "non a tenuta (Non OK)", 3: "Misura interrotta",
             4: "Misura interrotta – valori non stabili"},
            {0: "conforme (OK)", 1: "conforme con riserva (OK con riserva)",
             2: "non conforme (Non OK)", 3: "Misura interrotta",
             4: "Misura interrotta – valori non stabili"}],
        zero_map={0: "OK", 2: "Non OK", 3: "non applicabile"},
        gm_map={0: "OK", 2: "Non OK", 3: "assente"},
        notes=[
            "Classificazione in base alla portata di perdita: fino a 1 l/h pienamente idoneo "
            "all'uso; oltre 1 e sotto 5 l/h idoneità ridotta, eliminare la perdita entro quattro "
            "settimane; da 5 l/h non idoneo all'uso, mettere subito fuori servizio l'impianto.",
            "Prova di carico con aria o gas inerte; pressione di prova almeno 1 bar, nessun calo "
            "di pressione durante il tempo di prova.",
            "Prova di tenuta con aria o gas inerte a 150 mbar; la pressione non deve diminuire "
            "durante il tempo di prova.",
            "Prova del regolatore di pressione: pressione dinamica, pressione statica e pressione "
            "di intervento della valvola di blocco di sicurezza (VBS); --- significa: non "
            "misurato."]),
    5: dict(  # Polish
        title="Protokół z próby", date="Data próby:", instrument="Przyrząd:",
        customer_block="Klient i instalacja", customer="Klient:", customer_no="Nr klienta:",
        meter="Nr gazomierza:", street="Ulica:", meter_old="Poprzedni nr:",
        town="Miejscowość:", client="Zleceniodawca:", values="Wartości zmierzone",
        result="Wynik", finding="Wynik próby:", remark="Uwagi:",
        curves="Przebieg ciśnienia i przepływu", pressure_curve="Przebieg ciśnienia",
        inspector_block="Kontroler", inspector="Kontroler:",
        sign_inspector="Miejscowość, data, podpis kontrolera",
        sign_customer="Podpis klienta lub użytkownika",
        closing="Wartości zmierzono podanym przyrządem i przejęto bez zmian.",
        footer="Utworzono w Lumetra 4 Desktop · Velmora Messtechnik",
        p_start="Ciśnienie początkowe:", p_end="Ciśnienie końcowe:", leak="Wielkość wycieku:",
        flow="Przepływ:", volume="Objętość instalacji:", ref="Ciśnienie odniesienia:",
        leak_ref="Wyciek przy ciśn. odniesienia:", flowing="Ciśnienie dynamiczne:",
        static="Ciśnienie statyczne:", sav="Zadziałanie zaworu odc.:",
        zero="Ciśnienie zamknięcia:", gm="Zabezp. braku gazu:",
        kinds=["Próba zdatności do użytkowania niskoprężnej instalacji gazowej",
               "Próba obciążeniowa przewodu gazowego", "Próba szczelności przewodu gazowego",
               "Próba reduktora ciśnienia gazu"],
        rules={"old": "Przepisy: DVGW-TRGI 1986/1996", "current": "Przepisy: DVGW-TRGI 2008",
               "G5952": "Pomiar wielkości wycieku metodą G5952",
               "VP952": "Pomiar wielkości wycieku metodą VP952"},
        findings=[
            {0: "zdatna do użytkowania (OK)",
             1: "warunkowo zdatna do użytkowania (Warunkowo OK)",
             2: "niezdatna do użytkowania (Nie OK)", 3: "Pomiar przerwany",
             4: "Pomiar przerwany – wartości niestabilne"},
            {0: "wynik pozytywny (OK)", 1: "wynik warunkowo pozytywny (Warunkowo OK)",
             2: "wynik negatywny (Nie OK)", 3: "Pomiar przerwany",
             4: "Pomiar przerwany – wartości niestabilne"},
            {0: "szczelny (OK)", 1: "warunkowo szczelny (Warunkowo OK)",
             2: "nieszczelny (Nie OK)", 3: "Pomiar przerwany",
             4: "Pomiar przerwany – wartości niestabilne"},
            {0: "sprawny (OK)", 1: "warunkowo sprawny (Warunkowo OK)", 2: "niesprawny (Nie OK)",
             3: "Pomiar przerwany", 4: "Pomiar przerwany – wartości niestabilne"}],
        zero_map={0: "OK", 2: "Nie OK", 3: "nie dotyczy"},
        gm_map={0: "OK", 2: "Nie OK", 3: "brak"},
        notes=[
            "Klasyfikacja według wielkości wycieku: do 1 l/h pełna zdatność do użytkowania; "
            "powyżej 1 i poniżej 5 l/h ograniczona zdatność, uszczelnić w ciągu czterech tygodni; "
            "od 5 l/h brak zdatności, instalację natychmiast wyłączyć z użytkowania.",
            "Próba obciążeniowa powietrzem lub gazem obojętnym; ciśnienie próbne co najmniej "
            "1 bar, bez spadku ciśnienia w czasie próby.",
            "Próba szczelności powietrzem lub gazem obojętnym przy 150 mbar; ciśnienie nie może "
            "spaść w czasie próby.",
            "Próba reduktora ciśnienia: ciśnienie dynamiczne, ciśnienie statyczne i ciśnienie "
            "zadziałania zaworu odcinającego bezpieczeństwa; --- oznacza: nie zmierzono."]),
    6: dict(  # Hungarian
        title="Vizsgálati jegyzőkönyv", date="Vizsgálat ideje:", instrument="Mérőműszer:",
        customer_block="Ügyfél és berendezés", customer="Ügyfél:", customer_no="Ügyfélszám:",
        meter="Gázmérőszám:", street="Utca:", meter_old="Régi gázmérő:",
        town="Település:", client="Megrendelő:", values="Mért értékek", result="Eredmény",
        finding="Minősítés:", remark="Megjegyzés:",
        curves="Nyomás- és átfolyásgörbe", pressure_curve="Nyomásgörbe",
        inspector_block="Ellenőr", inspector="Ellenőr:",
        sign_inspector="Hely, dátum, az ellenőr aláírása",
        sign_customer="Az ügyfél vagy az üzemeltető aláírása",
        closing="A mért értékeket a megnevezett mérőműszerrel vettük fel, és változtatás "
                "nélkül vettük át.",
        footer="Készült a Lumetra 4 Desktop programmal · Velmora Messtechnik",
        p_start="Kezdeti próbanyomás:", p_end="Végső próbanyomás:",
        leak="Szivárgási mennyiség:", flow="Átfolyás:", volume="Vezetéktérfogat:",
        ref="Referencianyomás:", leak_ref="Szivárgás referencianyomáson:",
        flowing="Áramlási nyomás:", static="Nyugalmi nyomás:",
        sav="Gyorszár kioldónyomása:", zero="Zárónyomás:", gm="Gázhiány-biztosító:",
        kinds=["Kisnyomású gázberendezés használhatósági vizsgálata",
               "Gázvezeték terheléses próbája", "Gázvezeték tömörségi próbája",
               "Gáznyomás-szabályozó vizsgálata"],
        rules={"old": "Szabályzat: DVGW-TRGI 1986/1996",
               "current": "Szabályzat: DVGW-TRGI 2008",
               "G5952": "Szivárgási mennyiség mérése a G5952 eljárással",
               "VP952": "Szivárgási mennyiség mérése a VP952 eljárással"},
        findings=[
            {0: "használható (OK)", 1: "feltételesen használható (Feltételesen OK)",
             2: "nem használható (Nem OK)", 3: "Mérés megszakítva",
             4: "Mérés megszakítva – az értékek nem stabilak"},
            {0: "megfelelt (OK)", 1: "feltételesen megfelelt (Feltételesen OK)",
             2: "nem felelt meg (Nem OK)", 3: "Mérés megszakítva",
             4: "Mérés megszakítva – az értékek nem stabilak"},
            {0: "tömör (OK)", 1: "feltételesen tömör (Feltételesen OK)",
             2: "nem tömör (Nem OK)", 3: "Mérés megszakítva",
             4: "Mérés megszakítva – az értékek nem stabilak"},
            {0: "megfelelő (OK)", 1: "feltételesen megfelelő (Feltételesen OK)",
             2: "nem megfelelő (Nem OK)", 3: "Mérés megszakítva",
             4: "Mérés megszakítva – az értékek nem stabilak"}],
        zero_map={0: "OK", 2: "Nem OK", 3: "nem értelmezhető"},
        gm_map={0: "OK", 2: "Nem OK", 3: "hiányzik"},
        notes=[
            "Besorolás a szivárgási mennyiség szerint: 1 l/h-ig korlátozás nélkül használható; "
            "1 l/h felett és 5 l/h alatt korlátozottan használható, négy héten belül tömíteni "
            "kell; 5 l/h-tól nem használható, a berendezést azonnal üzemen kívül kell helyezni.",
            "Terheléses próba levegővel vagy inert gázzal; a próbanyomás legalább 1 bar, a "
            "próbaidő alatt nyomáscsökkenés nem lehet.",
            "Tömörségi próba levegővel vagy inert gázzal 150 mbar nyomáson; a nyomás a próbaidő "
            "alatt nem csökkenhet.",
            "A nyomásszabályozó vizsgálata: áramlási nyomás, nyugalmi nyomás és a biztonsági "
            "gyorszár kioldónyomása; a --- jelentése: nem mért."]),
    7: dict(  # Slovenian
        title="Zapisnik o preizkusu", date="Datum:", instrument="Merilnik:",
        customer_block="Stranka in napeljava", customer="Stranka:", customer_no="Št. stranke:",
        meter="Št. plinomera:", street="Ulica:", meter_old="Stari plinomer:", town="Kraj:",
        client="Naročnik:", values="Izmerjene vrednosti", result="Rezultat",
        finding="Ugotovitev preizkusa:", remark="Opomba:", curves="Potek tlaka in pretoka",
        pressure_curve="Potek tlaka", inspector_block="Preizkuševalec",
        inspector="Preizkusil:", sign_inspector="Kraj, datum, podpis preizkuševalca",
        sign_customer="Podpis stranke oziroma upravljavca",
        closing="Vrednosti so bile izmerjene z navedenim merilnikom in prevzete nespremenjene.",
        footer="Izdelano z Lumetra 4 Desktop · Velmora Messtechnik",
        p_start="Začetni preizkusni tlak:", p_end="Končni preizkusni tlak:",
        leak="Količina puščanja:", flow="Pretok:", volume="Prostornina napeljave:",
        ref="Referenčni tlak:", leak_ref="Puščanje pri ref. tlaku:", flowing="Pretočni tlak:",
        static="Mirovni tlak:", sav="Prožilni tlak VZV:", zero="Zapiralni tlak:",
        gm="Varovalo pom. plina:",
        kinds=["Preizkus uporabnosti nizkotlačne plinske napeljave",
               "Obremenilni preizkus plinovoda", "Preizkus tesnosti plinovoda",
               "Preizkus regulatorja tlaka plina"],
        rules={"old": "Predpisi: DVGW-TRGI 1986/1996", "current": "Predpisi: DVGW-TRGI 2008",
               "G5952": "Meritev količine puščanja po postopku G5952",
               "VP952": "Meritev količine puščanja po postopku VP952"},
        findings=[
            {0: "uporabna (OK)", 1: "pogojno uporabna (Pogojno OK)", 2: "neuporabna (Ni OK)",
             3: "Meritev prekinjena", 4: "Meritev prekinjena – vrednosti niso stabilne"},
            {0: "ustreza (OK)", 1: "pogojno ustreza (Pogojno OK)", 2: "ne ustreza (Ni OK)",
             3: "Meritev prekinjena", 4: "Meritev prekinjena – vrednosti niso stabilne"},
            {0: "tesen (OK)", 1: "pogojno tesen (Pogojno OK)", 2: "netesen (Ni OK)",
             3: "Meritev prekinjena", 4: "Meritev prekinjena – vrednosti niso stabilne"},
            {0: "brezhiben (OK)", 1: "pogojno brezhiben (Pogojno OK)",
             2: "ni brezhiben (Ni OK)", 3: "Meritev prekinjena",
             4: "Meritev prekinjena – vrednosti niso stabilne"}],
        zero_map={0: "OK", 2: "Ni OK", 3: "odpade"}, gm_map={0: "OK", 2: "Ni OK", 3: "manjka"},
        notes=[
            "Razvrstitev po količini puščanja: do 1 l/h neomejeno uporabna; nad 1 in pod 5 l/h "
            "omejeno uporabna, zatesniti v štirih tednih; od 5 l/h neuporabna, napeljavo takoj "
            "vzeti iz obratovanja.",
            "Obremenilni preizkus z zrakom ali inertnim plinom; preizkusni tlak najmanj 1 bar, "
            "brez padca tlaka med preizkusom.",
            "Preizkus tesnosti z zrakom ali inertnim plinom pri 150 mbar; tlak med preizkusom ne "
            "sme pasti.",
            "Preizkus regulatorja tlaka: pretočni tlak, mirovni tlak in prožilni tlak varnostnega "
            "zapornega ventila (VZV); --- pomeni: ni izmerjeno."]),
    8: dict(  # Croatian
        title="Zapisnik o ispitivanju", date="Datum:", instrument="Mjerni uređaj:",
        customer_block="Kupac i instalacija", customer="Kupac:", customer_no="Br. kupca:",
        meter="Br. plinomjera:", street="Ulica:", meter_old="Prethodni br.:",
        town="Mjesto:", client="Naručitelj:", values="Izmjerene vrijednosti",
        result="Rezultat", finding="Nalaz ispitivanja:", remark="Napomena:",
        curves="Tijek tlaka i protoka", pressure_curve="Tijek tlaka",
        inspector_block="Ispitivač", inspector="Ispitivač:",
        sign_inspector="Mjesto, datum, potpis ispitivača",
        sign_customer="Potpis kupca odnosno korisnika",
        closing="Vrijednosti su izmjerene navedenim mjernim uređajem i preuzete bez izmjena.",
        footer="Izrađeno programom Lumetra 4 Desktop · Velmora Messtechnik",
        p_start="Početni ispitni tlak:", p_end="Završni ispitni tlak:",
        leak="Količina propuštanja:", flow="Protok:", volume="Volumen instalacije:",
        ref="Referentni tlak:", leak_ref="Propuštanje pri ref. tlaku:",
        flowing="Dinamički tlak:", static="Statički tlak:", sav="Tlak okidanja SZV:",
        zero="Tlak zatvaranja:", gm="Zaštita nestanka plina:",
        kinds=["Ispitivanje uporabljivosti niskotlačne plinske instalacije",
               "Ispitivanje opterećenjem plinovoda", "Ispitivanje nepropusnosti plinovoda",
               "Ispitivanje regulatora tlaka plina"],
        rules={"old": "Propisi: DVGW-TRGI 1986/1996", "current": "Propisi: DVGW-TRGI 2008",
               "G5952": "Mjerenje količine propuštanja postupkom G5952",
               "VP952": "Mjerenje količine propuštanja postupkom VP952"},
        findings=[
            {0: "uporabljiva (OK)", 1: "uvjetno uporabljiva (Uvjetno OK)",
             2: "neuporabljiva (Nije OK)", 3: "Mjerenje prekinuto",
             4: "Mjerenje prekinuto – vrijednosti nisu stabilne"},
            {0: "zadovoljava (OK)", 1: "uvjetno zadovoljava (Uvjetno OK)",
             2: "ne zadovoljava (Nije OK)", 3: "Mjerenje prekinuto",
             4: "Mjerenje prekinuto – vrijednosti nisu stabilne"},
            {0: "nepropustan (OK)", 1: "uvjetno nepropustan (Uvjetno OK)",
             2: "propustan (Nije OK)", 3: "Mjerenje prekinuto",
             4: "Mjerenje prekinuto – vrijednosti nisu stabilne"},
            {0: "ispravan (OK)", 1: "uvjetno ispravan (Uvjetno OK)", 2: "neispravan (Nije OK)",
             3: "Mjerenje prekinuto", 4: "Mjerenje prekinuto – vrijednosti nisu stabilne"}],
        zero_map={0: "OK", 2: "Nije OK", 3: "nije primjenjivo"},
        gm_map={0: "OK", 2: "Nije OK", 3: "nedostaje"},
        notes=[
            "Razvrstavanje prema količini propuštanja: do 1 l/h neograničeno uporabljiva; iznad "
            "1 i ispod 5 l/h ograničeno uporabljiva, zabrtviti u roku od četiri tjedna; od 5 l/h "
            "neuporabljiva, instalaciju odmah staviti izvan pogona.",
            "Ispitivanje opterećenjem zrakom ili inertnim plinom; ispitni tlak najmanje 1 bar, "
            "bez pada tlaka tijekom ispitivanja.",
            "Ispitivanje nepropusnosti zrakom ili inertnim plinom pri 150 mbar; tlak ne smije "
            "pasti tijekom ispitivanja.",
            "Ispitivanje regulatora tlaka: dinamički tlak, statički tlak i tlak okidanja "
            "sigurnosnog zapornog ventila (SZV); --- znači: nije izmjereno."]),
    9: dict(  # Czech
        title="Protokol o zkoušce", date="Datum zkoušky:", instrument="Měřicí přístroj:",
        customer_block="Zákazník a zařízení", customer="Zákazník:",
        customer_no="Č. zákazníka:", meter="Č. plynoměru:", street="Ulice:",
        meter_old="Starý plynoměr:", town="Obec:", client="Objednatel:",
        values="Naměřené hodnoty", result="Výsledek", finding="Výsledek zkoušky:",
        remark="Poznámka:", curves="Průběh tlaku a průtoku", pressure_curve="Průběh tlaku",
        inspector_block="Zkoušející", inspector="Zkoušející:",
        sign_inspector="Místo, datum, podpis zkoušejícího",
        sign_customer="Podpis zákazníka nebo provozovatele",
        closing="Hodnoty byly naměřeny uvedeným přístrojem a převzaty beze změny.",
        footer="Vytvořeno programem Lumetra 4 Desktop · Velmora Messtechnik",
        p_start="Počáteční zkušební tlak:", p_end="Konečný zkušební tlak:",
        leak="Množství úniku:", flow="Průtok:", volume="Objem potrubí:",
        ref="Referenční tlak:", leak_ref="Únik při referenčním tlaku:",
        flowing="Průtokový tlak:", static="Klidový tlak:", sav="Tlak zapůsobení uzávěru:",
        zero="Uzavírací tlak:", gm="Pojistka nedost. plynu:",
        kinds=["Zkouška provozuschopnosti nízkotlaké plynové instalace",
               "Zátěžová zkouška plynovodu", "Zkouška těsnosti plynovodu",
               "Zkouška regulátoru tlaku plynu"],
        rules={"old": "Předpisy: DVGW-TRGI 1986/1996", "current": "Předpisy: DVGW-TRGI 2008",
               "G5952": "Měření množství úniku metodou G5952",
               "VP952": "Měření množství úniku metodou VP952"},
        findings=[
            {0: "provozuschopná (OK)", 1: "podmíněně provozuschopná (Podmíněně OK)",
             2: "neprovozuschopná (Nevyhovuje)", 3: "Měření přerušeno",
             4: "Měření přerušeno – hodnoty nejsou stabilní"},
            {0: "vyhověla (OK)", 1: "vyhověla s výhradou (Podmíněně OK)",
             2: "nevyhověla (Nevyhovuje)", 3: "Měření přerušeno",
             4: "Měření přerušeno – hodnoty nejsou stabilní"},
            {0: "těsný (OK)", 1: "podmíněně těsný (Podmíněně OK)", 2: "netěsný (Nevyhovuje)",
             3: "Měření přerušeno", 4: "Měření přerušeno – hodnoty nejsou stabilní"},
            {0: "v pořádku (OK)", 1: "podmíněně v pořádku (Podmíněně OK)",
             2: "není v pořádku (Nevyhovuje)", 3: "Měření přerušeno",
             4: "Měření přerušeno – hodnoty nejsou stabilní"}],
        zero_map={0: "OK", 2: "Nevyhovuje", 3: "netýká se"},
        gm_map={0: "OK", 2: "Nevyhovuje", 3: "chybí"},
        notes=[
            "Zatřídění podle množství úniku: do 1 l/h plně provozuschopná; nad 1 a pod 5 l/h "
            "omezeně provozuschopná, utěsnit do čtyř týdnů; od 5 l/h neprovozuschopná, "
            "instalaci ihned odstavit z provozu.",
            "Zátěžová zkouška vzduchem nebo inertním plynem; zkušební tlak nejméně 1 bar, během "
            "zkoušky žádný pokles tlaku.",
            "Zkouška těsnosti vzduchem nebo inertním plynem při 150 mbar; tlak nesmí během "
            "zkoušky klesnout.",
            "Zkouška regulátoru tlaku: průtokový tlak, klidový tlak a tlak zapůsobení "
            "bezpečnostního uzávěru; --- znamená: neměřeno."]),
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


# Each language's texts stay within its Windows code page, so the protocols read the same
# wherever the templates are opened or exported.
CODE_PAGES = {1: "cp1252", 2: "cp1252", 4: "cp1252", 5: "cp1250", 6: "cp1250", 7: "cp1250",
              8: "cp1250", 9: "cp1250"}


def texts_of(value):
    if isinstance(value, str):
        yield value
    elif isinstance(value, dict):
        for item in value.values():
            yield from texts_of(item)
    else:
        for item in value:
            yield from texts_of(item)


def check_texts():
    keys = TEXT[1].keys()
    for lang, texts in TEXT.items():
        missing = keys - texts.keys()
        if missing:
            raise SystemExit(f"language {lang} lacks {sorted(missing)}")
        for key in ("kinds", "notes", "findings"):
            if len(texts[key]) != len(TEXT[1][key]):
                raise SystemExit(f"language {lang}: {key} needs {len(TEXT[1][key])} entries")
        for key in ("rules", "zero_map", "gm_map"):
            if texts[key].keys() != TEXT[1][key].keys():
                raise SystemExit(f"language {lang}: {key} needs {sorted(TEXT[1][key])}")
        for finding, german in zip(texts["findings"], TEXT[1]["findings"]):
            if finding.keys() != german.keys():
                raise SystemExit(f"language {lang}: findings need codes {sorted(german)}")
        for text in texts_of(texts):
            try:
                text.encode(CODE_PAGES[lang])
            except UnicodeEncodeError as e:
                raise SystemExit(f"language {lang}: {text!r} is not in {CODE_PAGES[lang]}: {e}")


def main():
    check_texts()
    for lang in TEXT:
        for kind in range(4):
            variants = ["old", "current"] + (["G5952", "VP952"] if kind == 0 else [])
            for variant in variants:
                print(write(kind, variant, lang))


if __name__ == "__main__":
    main()
