#pragma once

#include "statistics/PagedDocument.h"
#include "statistics/ProtocolTest.h"

#include <QList>

#include <memory>

class FilledTemplate;
class ProtocolBuilder;

// The protocols of a list of tests as one printed document: each test's page `copies` times
// in a row, then the next test. The printer is asked for one copy, so every page is printed
// exactly as often as chosen. Pages are built as they are printed, so a long list needs the
// memory of one protocol; every template is read and checked before the first page, so a
// faulty template stops the run before anything is printed.
class ProtocolBatch : public PagedDocument
{
public:
    // Throws RuntimeErrorException (see ProtocolBuilder::build). Tests of a kind without a
    // protocol are left out.
    ProtocolBatch(ProtocolBuilder &builder, const QList<ProtocolTest> &tests, int copies = 1,
                  bool landscape = false);
    ~ProtocolBatch() override;

    int protocolCount() const { return int(m_tests.size()); }

    PageSetup pageSetup() const override;
    int pageCount() const override { return protocolCount() * m_copies; }
    void paintPage(QPainter &painter, const QRectF &paper, int index,
                   const PageContext &context) const override;

private:
    const FilledTemplate &protocol(int test) const;

    ProtocolBuilder &m_builder;
    QList<ProtocolTest> m_tests;
    int m_copies;
    bool m_landscape;
    mutable int m_builtTest = -1;
    mutable std::unique_ptr<FilledTemplate> m_built;
};
