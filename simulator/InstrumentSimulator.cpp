#include "InstrumentSimulator.h"

#include "FixtureReader.h"

#include <exception>

namespace {

std::unique_ptr<InstrumentSimulator> simulatorOf(FixtureReader::Fixture fixture)
{
    return std::make_unique<InstrumentSimulator>(std::move(fixture.line), fixture.echo);
}

} // namespace

std::unique_ptr<InstrumentSimulator> InstrumentSimulator::fromFixture(const std::string &jsonPath,
                                                                      std::string *error)
{
    try {
        return simulatorOf(FixtureReader::readFile(QString::fromStdString(jsonPath)));
    } catch (const std::exception &failure) {
        if (error)
            *error = failure.what();
        return nullptr;
    }
}

std::unique_ptr<InstrumentSimulator> InstrumentSimulator::fromJson(const std::string &jsonText,
                                                                   std::string *error)
{
    try {
        return simulatorOf(FixtureReader::parse(QByteArray::fromStdString(jsonText),
                                                QStringLiteral("fixture")));
    } catch (const std::exception &failure) {
        if (error)
            *error = failure.what();
        return nullptr;
    }
}

InstrumentSimulator::InstrumentSimulator(InstrumentLine line, bool echo)
    : m_line(std::make_unique<InstrumentLine>(std::move(line)))
{
    m_options.echo = echo;
}

InstrumentSimulator::~InstrumentSimulator()
{
    stop();
}

void InstrumentSimulator::setBaudRate(uint32_t baudRate)
{
    m_options.baudRate = baudRate;
    m_options.baudRateFixed = true;
}

void InstrumentSimulator::setRecording(bool on)
{
    withLine([on](InstrumentLine &line) { line.setRecording(on); });
}

bool InstrumentSimulator::start()
{
    if (m_running)
        return true;
    if (!m_terminal) {
        m_terminal = std::make_unique<PseudoTerminalLine>(std::move(*m_line), m_options);
        m_line.reset();
    }
    if (!m_terminal->isValid()) {
        m_error = m_terminal->error().empty() ? std::string("the line has been unplugged")
                                              : m_terminal->error();
        return false;
    }
    m_terminal->start();
    m_running = true;
    return true;
}

void InstrumentSimulator::stop()
{
    if (m_terminal)
        m_terminal->stop();
    m_running = false;
}

void InstrumentSimulator::unplug()
{
    if (m_terminal)
        m_terminal->unplug();
    m_running = false;
}

std::string InstrumentSimulator::devicePath() const
{
    return m_terminal ? m_terminal->path() : std::string();
}

size_t InstrumentSimulator::instrumentCount() const
{
    return withLine([](InstrumentLine &line) { return line.instruments().size(); });
}

std::vector<uint32_t> InstrumentSimulator::fabNumbers() const
{
    return withLine([](InstrumentLine &line) {
        std::vector<uint32_t> numbers;
        for (const SimulatedInstrument &instrument : line.instruments())
            numbers.push_back(instrument.fabNumber());
        return numbers;
    });
}

uint64_t InstrumentSimulator::telegramCount() const
{
    return withLine([](InstrumentLine &line) { return line.telegramCount(); });
}

std::vector<Bytes> InstrumentSimulator::receivedTelegrams() const
{
    return withLine([](InstrumentLine &line) { return line.received(); });
}

uint32_t InstrumentSimulator::telegramsTo(uint32_t fabNumber) const
{
    return withLine([fabNumber](InstrumentLine &line) {
        const SimulatedInstrument *instrument = line.find(fabNumber);
        return instrument ? instrument->telegramsReceived() : 0u;
    });
}

bool InstrumentSimulator::isAttached(uint32_t fabNumber) const
{
    return withLine([fabNumber](InstrumentLine &line) {
        const SimulatedInstrument *instrument = line.find(fabNumber);
        return instrument && instrument->isAttached();
    });
}

std::vector<uint8_t> InstrumentSimulator::memory(uint32_t fabNumber, int type) const
{
    return withLine([fabNumber, type](InstrumentLine &line) {
        const SimulatedInstrument *instrument = line.find(fabNumber);
        if (!instrument || type < 0 || type >= SimulatedInstrument::memoryTypes)
            return std::vector<uint8_t>();
        return instrument->memory(type);
    });
}

std::optional<std::vector<uint8_t>> InstrumentSimulator::parameterValue(uint32_t fabNumber,
                                                                        uint16_t number) const
{
    return withLine([fabNumber, number](InstrumentLine &line) {
        const SimulatedInstrument *instrument = line.find(fabNumber);
        const SimulatedParameter *parameter = instrument ? instrument->parameter(number)
                                                         : nullptr;
        return parameter ? std::optional(parameter->value) : std::nullopt;
    });
}
