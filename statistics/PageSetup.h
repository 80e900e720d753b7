#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <QString>

// Paper, margins and the header and footer texts of a printed page. Lengths in millimetres.
// The header is printed from `header` below the paper's top edge, the footer ends `footer`
// above its bottom edge; the content keeps inside the four margins.
struct PageSetup
{
    QSizeF paperSize{210, 297}; // A4, portrait measures
    bool landscape = false;
    QMarginsF margins{20, 15, 15, 15}; // left, top, right, bottom
    double header = 8;
    double footer = 8;
    QString headerText; // with the codes &L &C &R &P &N &D &T &B &I &"font" &size &&
    QString footerText;

    QSizeF orientedPaper() const;
    QPageLayout pageLayout() const; // for a paged paint device; the page itself has no margins
};
