#pragma once

#include <QByteArray>
#include <QString>

// Text in the Windows code page 1252, which the instruments write their infrared files in.
// Qt without ICU has no codec for it; it is Latin-1 except for the bytes 0x80-0x9F.
namespace Windows1252 {

// Decodes every byte; the five bytes the code page leaves undefined become the C1 control
// characters of the same value, as Windows decodes them.
QString decode(const QByteArray &bytes);

} // namespace Windows1252
