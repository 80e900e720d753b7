#pragma once

#include "app/ChildWindow.h"
#include "statistics/ProtocolBuilder.h"
#include "statistics/ProtocolTest.h"

#include <memory>

class IniFile;
class ProtocolView;
class QScrollArea;

// The protocol preview of one test: the page as it prints, zoomed in steps of 5 % between 25
// and 100 % (kept in the window's INI section as "Viewscale"), printed with CLICK_DRUCKEN.
class frmVorschau : public ChildWindow
{
    Q_OBJECT
public:
    frmVorschau(IniFile &ini, const QString &logoFile, const ProtocolTest &test,
                QWidget *parent = nullptr,
                const QString &templateFolder = ProtocolBuilder::defaultTemplateFolder());
    ~frmVorschau() override;

    ToolbarState toolbarState() const override;
    int viewScale() const;
    // The protocol shown; nullptr when the test kind has none or its template failed.
    const FilledTemplate *protocol() const { return m_protocol.get(); }

    void CLICK_ENDE() override;
    void CLICK_DRUCKEN() override;
    void CLICK_VERGROESSERN() override;
    void CLICK_VERKLEINERN() override;

private:
    void buildProtocol();

    IniFile &m_ini;
    ProtocolTest m_test;
    ProtocolBuilder m_builder;
    std::unique_ptr<FilledTemplate> m_protocol;
    ProtocolView *Fb1;
    QScrollArea *m_scroll;
};
