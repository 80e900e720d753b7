#include "InstrumentCatalogue.h"

#include <iterator>

namespace {

// The texts are the instruments' own, German in every language.
const char *const names[] = {
    "Datum", "Uhrzeit", "Betriebsart", "PIN-Code", "Master-Code", "Abschaltzeit - Display",
    "Gehörschutz", "Versorgung", "Gesamtkapazität", "Geschätzte Restkap.", "Seriennummer",
    "Gerätenummer", "Nächster Geräteservice", "Letzter Geräteservice", "Herstelldatum",
    "Hersteller", "Gerätename", "Ausführung", "Freigaben", "SW-Version", "HW-Version",
    "Datum der SW-Version", "Anzahl der Sensoren", "Anzahl der Meßkanäle",
    "Anz. d. anal. Ausgänge", "Anz. d. dig. Eingänge", "Anz. d. dig. Ausgänge",
    "Untere Adresse - RAM", "Obere Adresse - RAM", "Untere Adresse - EEPROM",
    "Obere Adresse - EEPROM", "Untere Adresse - ser. Flash", "Obere Adresse - Ser. Flash",
    "Untere Adresse - ROM", "Obere Adresse - ROM", "Untere Adr. - anwend. Speicher",
    "Obere Adr. - anwend. Speicher", "Anzahl der Geräte-Tasten", "Geräte-Taste",
    "Anzahl der Alarmausgänge", "Alarmausgang", "Alarmausgänge", "Aktueller Tastaturcode",
    "letzter LCD-Text", "Zeiger auf das Graphik-LCD", "Zustand der LED's",
    "Wert für den analogen Ausgang", "Werte für die anal. Ausgänge",
    "Zustand d. digit. Eingangs", "Zustand d. digitalen Eingänge", "Zustand d. digit. Ausgangs",
    "Zustand d. digitalen Ausgänge", "Aktuelle Betriebszeit", "Geschätzte Restbetriebszeit",
    "Kapazität des Datenspeichers", "Belegter Datenspeicher", "Info über Datenspeicher",
    "Datentyp", "Messinterval", "Segmentgröße", "Fehlercode (HW)", "Fehlercode (SW)",
    "Fehlercode (Akku)", "Einbaudatum - Akku", "Datum letzte Akkuladung", "Ladezeit des Akku's",
    "Pufferzeit des Akku's", "Anzahl d. Ladezyklen (total)",
    "Anz. d. Ladezyklen (s. Akkuwechsel)", "Summe d. Ladezeiten (s. Akkuwechsel)",
    "Summe d. Pufferzeiten (s. Akkuw.)", "Betriebszeit mit einer Akkuladung",
    "Gesamtbetriebszeit d. Gerätes", "Gesamt-Stand-By-Zeit d. Gerätes",
    "Niedrigste Betriebstemperatur", "Höchste Betriebstemperatur",
    "Anz. d. fehlerhafte Telegramme", "Anz. aller empf. Telegramme", "Einbaudatum der Pumpe",
    "Name des letzten Prüfers", "Messwert", "Geräusch", "Druck", "Durchfluss", "Temperatur",
    "Gas-Konzentration", "CH4-Konzentration", "C3H8-Konzentration", "C4H10-Konzentration",
    "C5H12n-Konzentration", "C6H14-Konzentration", "C9H20-Konzentration", "H2-Konzentration",
    "O2-Konzentration", "CO-Konzentration", "CO2-Konzentration", "H2S-Konzentration",
    "Stadtgas-Konzentration", "Erdgas-Konzentration", "THT-Konzentration", "Frei", "Frei",
    "Frei", "Frei", "Frei", "Frei", "Frei", "Frei", "Frei", "Frei", "Luft-Feuchte",
    "Flow-Sensor", "Pumpenleistung", "Offset", "Abgleichwert", "Maximalwert", "Minimalwert",
    "Mittelwert", "Standardabweichung", "Untere Grenze", "Obere Grenze",
    "zusätzl. untere Grenze", "zusätzl. obere Grenze", "Bandgrenzen", "Alarmgrenze 1",
    "Alarmgrenze 2", "Alarmgrenze 3", "Alarmbedingung", "MAK-Wert", "Faktor", "LZW-Zeit",
    "KZW-Zeit", "Filtertyp", "Filterzeit", "Verstärkung", "Letzter Sensor-Service",
    "Nächster Sensor-Service", "Einbaudatum des Sensors", "Lebenszeit des Sensors",
    "Taste Ein/Aus", "Taste Info", "Taste Beleuchtung", "Taste Speichern", "Taste Null-Punkt",
    "Taste Start", "Taste Stop", "Taste Start/ Stop", "Taste Nächster", "Taste Vorheriger",
    "Taste Pegeleinstellung (100%)", "Taste Frequenzwahl", "Taste Mikrofon",
    "Taste Tiefenmessung", "Taste Filter", "Taste Zoom", "Taste 0", "Taste 1", "Taste 2",
    "Taste 3", "Taste 4", "Taste 5", "Taste 6", "Taste 7", "Taste 8", "Taste 9",
    "Taste Eingabe (Enter)", "Taste Oben", "Taste Unten", "Taste Links", "Taste Rechts", "Frei",
    "Frei", "Frei", "Frei", "Frei", "Frei", "Flash-Seite löschen", "Flash prog. Zyklen",
    "Checksumme", "Anz. d. Anw.-Informationen", "Index a. Anw.-Info.", "Anwender-Information",
    "Sendeleistung", "Selbstentladung", "Ereign. f. LED", "Zustand f. LED", "Schwelle f. LED",
    "Feldstärke", "Ergeb. - Selbsttest", "Anz. d. Messungen", "Index a. Messung", "Messdatum",
    "Messzeit", "Messdauer", "Messinterval", "Aufzeichnungsart", "zugeh. Speicherblocknr.",
    "Verknüpfung", "1. Auswertung", "2. Auswertung", "Index a. Taste", "Tastenzeiten",
    "Blink-Interval der LED", "Akku-Spannung", "Programm-Durchlaufzeiten", "Berechnungsformel",
    "Auflösung d. D/A-Wandlers", "Geräte-Fehlercode", "Startadresse des Info-Blockes",
    "Trigger f.d. Ereignismessung", "Schwelle f.d. Ereignismessung", "Dauer d. Ereignismessung",
    "Trigger f.d. Audioaufzeichn.", "Dauer d. Audioaufzeichn.", "Anz. d. unterst.Sprachen",
    "Index auf akt. Sprache", "Eingestellte Sprache", "Aktuelles Kommando",
    "Eingest. LCD-Kontrast", "Betr.zeit seit d. Einschalten", "Auswertung A", "Auswertung B",
    "Auswertung C", "Geräte-Status", "-", "Anzahl d. Eintr. i.d. Gas-DB",
    "Akt. Index der Gas-DB", "C2H2-Konzentration", "C2H6-Konzentration",
    "Index der Abgleichwerte", "Anzahl der Abgleichwerte", "Anw.inspektion - Datum",
    "Anw.inspektion - Interval", "Anw.inspektion - Zwangsabsch.", "Fortschrittsanzeige",
    "Zeiger auf Sensordaten", "XFlash-Schreibzyklen", "Ladestrom", "Gerätetemperatur",
    "Zeiger auf LED-Funktionen", "Schalterstellung", "SMS-Text", "Telefonnr.: SMS-Provider",
    "Telefonnr.: SMS->Email Provider", "Anz. der Wahlwiederholung",
    "Pause zwischen den Wahlwiederholungen", "Kartennummer GSM", "",
};

const char *const units[] = {
    "[keine]", "%", "Promille", "ppm", "Vol%", "ppm / Vol%", "%UEG", "%OEG", "% r. F.", "mBar",
    "Bar", "hPa", "°C", "K", "W/m*K", "cd", "cd/m²", "lm", "mg", "g", "kg", "kg/m³", "N", "Nm",
    "mOhm", "Ohm", "kOhm", "MOhm", "mV/m", "V/m", "µV", "mV", "V", "kV", "µA", "mA", "A", "mC",
    "C", "µTesla", "mTesla", "Tesla", "pF", "nF", "µF", "mF", "l/sec.", "l/min.", "l/h", "m³/h",
    "J", "kJ", "1/sec.", "1/min.", "Hz", "kHz", "MHz", "GHz", "nm", "µm", "mm", "m", "km", "m²",
    "m³", "mW", "W", "kW", "MW", "°", "m/sec.", "m/sec²", "µsec.", "msec.", "sec.", "min.",
    "Std.", "Tage", "Monate", "Jahre", "Bit", "Byte(s)", "kBytes", "MBytes", "rpm/sec.",
    "rpm/min.", "rpm/h", "mRem", "Rem", "mBq", "Bq", "Blocknummer", "Telegramme",
    "Telegramme/sec.", "Uhr", "Datum", "dB", "100 ms", "10 ms", "Wochen", "mg/m³", "nA", "",
};

const char *const types[] = {
    "0 = U8", "1 = S8", "2 = U16", "3 = S16", "4 = U32", "5 = S32", "6 = Float", "7 = String",
    "8 = Byte-Array", "",
};

static_assert(std::size(names) == 248);
static_assert(std::size(units) == 103);
static_assert(std::size(types) == 10);

template<typename Table>
QString lookUp(const Table &table, int code)
{
    if (code < 0 || code >= int(std::size(table)))
        return QString();
    return QString::fromUtf8(table[code]);
}

} // namespace

namespace InstrumentCatalogue {

QString name(int code)
{
    return lookUp(names, code);
}

QString unit(int code)
{
    return lookUp(units, code);
}

QString typeText(int code)
{
    return lookUp(types, code);
}

QString gasType(int nameCode)
{
    const QString text = name(nameCode);
    const qsizetype dash = text.indexOf(u'-');
    return dash < 0 ? text : text.left(dash);
}

bool isBar(int unitCode)
{
    return unit(unitCode) == QLatin1String("Bar");
}

} // namespace InstrumentCatalogue
