#pragma once

#include <QString>

// The select and statement texts of the program, in one place. Every select item carries the
// localised caption of its column as alias (ColumnCaptions), so grids show translated headers
// and code addresses fields by caption. Texts are rebuilt from the captions at every call and
// are written in the desktop dialect; Database translates them for SQLite.

QString SqlPruefungen();
QString SqlPruefungenKunden();
QString SqlKunden();
QString SqlAuftraggeberListe();
QString SqlPrueferListe();
QString SqlPruefarten();
QString SqlDatenbankVersion();

// Distinct inspectors, clients and instrument numbers among filed (Alt) or new (Neu) tests.
QString SqlPrueferAlt();
QString SqlPrueferNeu();
QString SqlAuftraggeberAlt();
QString SqlAuftraggeberNeu();
QString SqlFabNrAlt();
QString SqlFabNrNeu();

// Archive statements.
QString SqlDeleteKundenOhnePruefung();
QString SqlDropAuftraggeber();
QString SqlDropPruefer();
QString SqlDeletePruefungen();
