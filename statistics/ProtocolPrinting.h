#pragma once

#include <QList>

class ProtocolBuilder;
class QWidget;
struct ProtocolTest;

// Prints protocols through the print dialog (a printer or a PDF file): each test as many
// times as the dialog's copies say, test by test, in the dialog's orientation. The dialog's
// printer is used for this print only; the desktop's default printer stays as it is. A
// cancelled dialog prints nothing; a fault (a template that cannot be read) is reported and
// prints nothing. Returns whether the protocols were printed.
bool PrintProtocols(QWidget *parent, ProtocolBuilder &builder, const QList<ProtocolTest> &tests);
