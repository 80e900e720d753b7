#pragma once

#include <QString>
#include <QStringList>

// The folder into which the infrared transfer drops the instrument's test files.
namespace InfraredFolder {

// Names that begin with "LU4" and end with ".txt", in any case: "LU4_0001.TXT", "lu4_2.txt".
bool isTestFileName(const QString &name);

// The names of the test files of folder in name order (without regard to case, ties in code
// order). Throws RuntimeErrorException naming the folder when it does not exist, is no folder
// or cannot be read.
QStringList testFiles(const QString &folder);

} // namespace InfraredFolder
