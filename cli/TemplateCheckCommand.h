#pragma once

#include <QStringList>

// lumetra4 template-check FILE [--pdf OUT]: reads a protocol template, reports its faults with
// file and line, and renders it with sample values, its areas outlined, to a PDF.
int runTemplateCheckCommand(const QStringList &arguments);
