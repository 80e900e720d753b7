#include "masterdata/frmNeukunden.h"

#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "data/ErrorReport.h"
#include "data/StringTable.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int twipsPerPixel = 15;
constexpr int rowTwips = 300;
constexpr int boxWidthTwips = 2655;

} // namespace

frmNeukunden::frmNeukunden(DatabaseSession &session, Recordset &adoctrl, MasterListKind kind,
                           bool newRecordMode, QWidget *parent)
    : QDialog(parent), m_entry(session, adoctrl, kind, newRecordMode)
{
    setObjectName(QStringLiteral("frmNeukunden"));
    setWindowTitle(resString(masterListInfo(kind).entryCaptionString));

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(frame);
    const QStringList names = m_entry.fieldNames();
    const QStringList values = m_entry.load();
    for (int i = 0; i < names.size(); ++i) {
        auto *label = new QLabel(names.at(i) + u':', frame);
        label->setObjectName(QStringLiteral("lblFeld_%1").arg(i));
        auto *box = new QLineEdit(values.value(i), frame);
        box->setObjectName(QStringLiteral("TextFeld_%1").arg(i));
        box->setMaxLength(MasterDataEntry::maximumLength);
        box->setMinimumWidth(boxWidthTwips / twipsPerPixel);
        label->setBuddy(box);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        m_labels << label;
        m_boxes << box;
    }
    frame->setMinimumHeight((rowTwips * (int(names.size()) + 1) + 60) / twipsPerPixel);

    cmdSpeichern = new QPushButton(resString(25453), this);
    cmdSpeichern->setObjectName(QStringLiteral("cmdSpeichern"));
    cmdSpeichern->setDefault(true);
    cmdAbbrechen = new QPushButton(resString(25454), this);
    cmdAbbrechen->setObjectName(QStringLiteral("cmdAbbrechen"));
    m_cmdLoeschen = new QPushButton(resString(25455), this);
    m_cmdLoeschen->setObjectName(QStringLiteral("cmdLoeschen"));
    m_cmdLoeschen->setVisible(!newRecordMode);
    connect(cmdSpeichern, &QPushButton::clicked, this, &frmNeukunden::CLICK_SPEICHERN);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cmdLoeschen, &QPushButton::clicked, this, &frmNeukunden::cmdLoeschen);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdSpeichern);
    buttons->addWidget(cmdAbbrechen);
    buttons->addWidget(m_cmdLoeschen);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    ApplyLocaleFont(this, true);
    if (!m_boxes.isEmpty())
        m_boxes.first()->setFocus();
}

void frmNeukunden::CLICK_SPEICHERN()
{
    QStringList values;
    for (QLineEdit *box : std::as_const(m_boxes))
        values << box->text();
    const std::optional<MasterDataEntry::Refusal> refusal = m_entry.check(values);
    if (m_entry.kind() == MasterListKind::Customers && !values.value(0).trimmed().isEmpty())
        m_boxes.first()->setText(values.first());
    if (refusal) {
        if (refusal->warning)
            showWarning(this, refusal->text);
        else
            showInformation(this, refusal->text);
        m_boxes.first()->setFocus();
        return;
    }
    try {
        m_entry.save(values);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        reject();
        return;
    }
    m_entry.refreshCustomers();
    accept();
}

void frmNeukunden::cmdLoeschen()
{
    try {
        m_entry.deleteEntry([this](const QString &question) {
            return askYesNo(this, question, true);
        });
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
    accept();
}
