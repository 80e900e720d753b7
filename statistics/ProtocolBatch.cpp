#include "statistics/ProtocolBatch.h"

#include "statistics/FilledTemplate.h"
#include "statistics/PageContext.h"
#include "statistics/ProtocolBuilder.h"

ProtocolBatch::ProtocolBatch(ProtocolBuilder &builder, const QList<ProtocolTest> &tests,
                             int copies, bool landscape)
    : m_builder(builder), m_copies(qMax(1, copies)), m_landscape(landscape)
{
    for (const ProtocolTest &test : tests) {
        if (m_builder.check(test))
            m_tests.append(test);
    }
}

ProtocolBatch::~ProtocolBatch() = default;

const FilledTemplate &ProtocolBatch::protocol(int test) const
{
    if (test != m_builtTest) {
        m_built = m_builder.build(m_tests.at(test));
        m_built->setLandscape(m_landscape);
        m_builtTest = test;
    }
    return *m_built;
}

PageSetup ProtocolBatch::pageSetup() const
{
    if (m_tests.isEmpty()) {
        PageSetup setup;
        setup.landscape = m_landscape;
        return setup;
    }
    return protocol(0).pageSetup();
}

void ProtocolBatch::paintPage(QPainter &painter, const QRectF &paper, int index,
                              const PageContext &context) const
{
    PageContext single = context;
    single.page = 1;
    single.pages = 1;
    protocol(index / m_copies).paintPage(painter, paper, 0, single);
}
