#include "newtests/frmPruefungen.h"

#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/Recordset.h"
#include "data/StringTable.h"
#include "newtests/TestEditing.h"
#include "statistics/TestTexts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int remarkSize = 255; // PFG_Bemerkung VARCHAR(255)

// An empty first entry, then the names of the list.
void fillList(QComboBox *box, Recordset &source, const QString &column, const QString &text)
{
    box->clear();
    box->addItem(QString(), 999);
    for (int row = 0; row < source.recordCount(); ++row)
        box->addItem(source.valueAt(row, source.fieldIndex(column)).toString());
    box->setEditText(text);
}

} // namespace

frmPruefungen::frmPruefungen(DatabaseSession &session, Recordset &adoPruef, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_adoPruef(adoPruef)
{
    setObjectName(QStringLiteral("frmPruefungen"));
    setWindowTitle(resString(27102));
    const ColumnCaptions &c = columnCaptions();
    const auto value = [&adoPruef](const QString &caption) { return adoPruef.value(caption); };

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *form = new QFormLayout(frame);
    const bool isNew = value(c.capNeuePruefung).toBool();
    auto *txtKundenNr = lockedBox("txtKundenNr", value(c.capKundenNr).toString());
    form->addRow((isNew ? c.capMessNrKundenNr : c.capKundenNr) + u':', txtKundenNr);
    form->addRow(c.capPruefart + u':',
                 lockedBox("txtPruefart", TestKindText(value(c.capPruefart))));
    form->addRow(c.capBefund + u':', lockedBox("txtBefund", FindingText(value(c.capBefund))));
    form->addRow(c.capDatum + u':',
                 lockedBox("txtPruefdatum",
                           QLocale::system().toString(value(c.capDatum).toDateTime(),
                                                      QLocale::ShortFormat)));
    cbbPruefer = new QComboBox(frame);
    cbbPruefer->setObjectName(QStringLiteral("cbbPruefer"));
    cbbPruefer->setEditable(true);
    cbbPruefer->setInsertPolicy(QComboBox::NoInsert);
    fillList(cbbPruefer, *session.rsPruefer, c.capPrueferName, value(c.capPruefer).toString());
    form->addRow(c.capPruefer + u':', cbbPruefer);
    cbbAuftraggeber = new QComboBox(frame);
    cbbAuftraggeber->setObjectName(QStringLiteral("cbbAuftraggeber"));
    cbbAuftraggeber->setEditable(true);
    cbbAuftraggeber->setInsertPolicy(QComboBox::NoInsert);
    fillList(cbbAuftraggeber, *session.rsAuftraggeber, c.capAuftraggeberListe,
             value(c.capAuftraggeber).toString());
    form->addRow(c.capAuftraggeber + u':', cbbAuftraggeber);
    form->addRow(c.capFabNr + u':', lockedBox("txtFabNr", value(c.capFabNr).toString()));
    txtBemerkung = new QLineEdit(frame);
    txtBemerkung->setObjectName(QStringLiteral("txtBemerkung"));
    txtBemerkung->setMaxLength(remarkSize);
    txtBemerkung->setText(value(c.capBemerkung).toString());
    form->addRow(c.capBemerkung + u':', txtBemerkung);

    auto *speichern = new QPushButton(resString(27103), this);
    speichern->setObjectName(QStringLiteral("cmdSpeichern"));
    speichern->setDefault(true);
    auto *abbrechen = new QPushButton(resString(27104), this);
    abbrechen->setObjectName(QStringLiteral("cmdAbbrechen"));
    auto *loeschen = new QPushButton(resString(27105), this);
    loeschen->setObjectName(QStringLiteral("cmdLöschen"));
    loeschen->setAutoDefault(false);
    abbrechen->setAutoDefault(false);
    connect(speichern, &QPushButton::clicked, this, &frmPruefungen::cmdSpeichern);
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(loeschen, &QPushButton::clicked, this, &frmPruefungen::cmdLoeschen);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(speichern);
    buttons->addWidget(abbrechen);
    buttons->addWidget(loeschen);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    setTabOrder(cbbPruefer, cbbAuftraggeber);
    setTabOrder(cbbAuftraggeber, txtBemerkung);
    setTabOrder(txtBemerkung, speichern);
    setTabOrder(speichern, abbrechen);
    setTabOrder(abbrechen, loeschen);
    ApplyLocaleFont(this, true);
    cbbPruefer->setFocus();
}

QLineEdit *frmPruefungen::lockedBox(const char *name, const QString &text)
{
    auto *box = new QLineEdit(text, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setBackgroundRole(QPalette::Window); // marks it as not editable
    return box;
}

void frmPruefungen::cmdSpeichern()
{
    SaveTestEdits(m_session.dbConnection, m_adoPruef, cbbPruefer->currentText(),
                  cbbAuftraggeber->currentText(), txtBemerkung->text()); // reports a failure
    accept();
}

void frmPruefungen::cmdLoeschen()
{
    // Asked before anything touches the database.
    if (askYesNo(this, resString(27106), true))
        DeleteTest(m_session.dbConnection, m_adoPruef); // reports a failure
    accept();
}
