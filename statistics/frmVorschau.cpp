#include "statistics/frmVorschau.h"

#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "data/ErrorReport.h"
#include "data/IniFile.h"
#include "data/StringTable.h"
#include "statistics/ProtocolPrinting.h"
#include "statistics/ProtocolView.h"

#include <QScrollArea>
#include <QVBoxLayout>

namespace {
const QString tag = QStringLiteral("frmVorschau");
constexpr int defaultScale = 65;
constexpr int scaleStep = 5;
constexpr int largest = 100;
constexpr int smallest = 25;
} // namespace

frmVorschau::frmVorschau(IniFile &ini, const QString &logoFile, const ProtocolTest &test,
                         QWidget *parent, const QString &templateFolder)
    : ChildWindow(WindowKind::Statistics, parent), m_ini(ini), m_test(test),
      m_builder(templateFolder, StringTable::instance().languageNo(), logoFile),
      Fb1(new ProtocolView), m_scroll(new QScrollArea(this))
{
    setObjectName(tag);
    setWindowTitle(resString(564));
    ApplyLocaleFont(this, true);
    m_builder.setNotice([this](const QString &message) { showInformation(this, message); });
    m_scroll->setWidget(Fb1);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAlignment(Qt::AlignHCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    buildProtocol();
    bool ok = false;
    const int scale = m_ini.read(tag, QStringLiteral("ViewScale"), QString::number(defaultScale))
                          .toInt(&ok);
    Fb1->setViewScale(ok ? qBound(smallest, scale, largest) : defaultScale);
}

frmVorschau::~frmVorschau() = default;

void frmVorschau::buildProtocol()
{
    try {
        m_protocol = m_builder.build(m_test);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
    Fb1->setProtocol(m_protocol.get());
}

ToolbarState frmVorschau::toolbarState() const
{
    ToolbarState state;
    state.Ende = true;
    state.Drucken = true;
    state.Vergroessern = true;
    state.Verkleinern = true;
    return state;
}

int frmVorschau::viewScale() const
{
    return Fb1->viewScale();
}

void frmVorschau::CLICK_VERGROESSERN()
{
    if (Fb1->viewScale() < largest)
        Fb1->setViewScale(Fb1->viewScale() + scaleStep);
}

void frmVorschau::CLICK_VERKLEINERN()
{
    if (Fb1->viewScale() > smallest)
        Fb1->setViewScale(Fb1->viewScale() - scaleStep);
}

void frmVorschau::CLICK_DRUCKEN()
{
    if (m_protocol)
        PrintProtocols(this, m_builder, {m_test});
}

void frmVorschau::CLICK_ENDE()
{
    SaveFormPosition(m_ini, this);
    m_ini.write(tag, QStringLiteral("Viewscale"), QString::number(Fb1->viewScale()));
    ChildWindow::CLICK_ENDE();
}
