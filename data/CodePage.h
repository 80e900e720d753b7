#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The 8-bit Windows code pages the program reads and writes: 1252 for the western languages,
// in which the instruments write their infrared files, and 1250 for the Central European
// ones. Qt without ICU has no codec for them, so their upper halves are tabled here.
namespace CodePage {

enum class Id { Windows1252, Windows1250 };

// Decodes every byte; a byte the code page leaves undefined becomes the C1 control character
// of the same value, as Windows decodes it.
QString decode(const QByteArray &bytes, Id page);

// Encodes text; a character the code page lacks becomes "?", as Windows writes it.
QByteArray encode(QStringView text, Id page);

// The code page of a language of the string table ("de", "pl", ...): 1250 for Polish,
// Hungarian, Slovene, Croatian and Czech, 1252 for the others.
Id forLanguage(const QString &language);

} // namespace CodePage
