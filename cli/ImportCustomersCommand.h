#pragma once

#include <QStringList>

// lumetra4 import-customers FILE [--table NAME] --map "Kunden-Nr=KNR,Name1=NAME,..."
// [--update|--no-update]: imports customers from a text, workbook, Access or dBase file as the
// import assistant does and prints its closing message.
int runImportCustomersCommand(const QStringList &arguments);
