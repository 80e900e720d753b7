#pragma once

#include "bus/client/VlmBusLibrary.h"
#include "sync/ParameterDeletion.h"
#include "sync/TestRecord.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class InstrumentMemory;
class InstrumentParameters;

struct SerialSyncSettings
{
    bool autoCommPort = true;
    int commPort = 0;
    int timeOut = 3000; // milliseconds, kept within 500..30000
    bool deleteSyncedPruef = false;
    // The bus library's communication log for the run, written to the file VLM_BUS_DEBUG_LOG
    // names ("DEBUG_DLL.TXT" in the current folder without it): what support asks for when an
    // instrument misbehaves. On whenever that variable is set.
    bool communicationLog = !qEnvironmentVariableIsEmpty("VLM_BUS_DEBUG_LOG");
};

// One synchronisation over the serial line: finds the port, attaches the instruments, keeps them
// attached, reads and decodes the memory of every Lumetra 4 among them and builds its test
// records; after the caller has stored them, optionally tells the instruments to delete them.
//
// Every bus call happens in the thread that calls the run's functions, one after the other, so
// a window can run it on a worker thread while it stays responsive; the keep-alive telegrams are
// interleaved with the run's own at its yield points. The callbacks are called in that thread.
class SerialSynchronisation
{
public:
    enum class Outcome {
        Read,               // records() holds the tests of every instrument read
        NoInstruments,      // no Lumetra 4 attached
        PortUnavailable,    // port() cannot be selected
        StartFailed,        // communication did not start twice: startCode(), errorText()
        CommunicationError, // a bus call failed: errorText()
        Stopped,            // requestStop()
    };
    using MemoryFactory = std::function<std::unique_ptr<InstrumentMemory>(uint32_t fab)>;

    SerialSynchronisation(const VlmBusFunctions &bus, InstrumentParameters &parameters,
                          MemoryFactory memory, const SerialSyncSettings &settings);

    // The step being worked on, as a string number (27001 "Infoblock analysieren" ...).
    std::function<void(int stringNumber)> onStage;
    // "FAB: 063 02 00420 - (1/3)"
    std::function<void(const QString &instrument)> onInstrument;
    std::function<void(int percent)> onProgress;

    Outcome connectAndRead();
    // After the records were stored: writes 65535 into parameter 72 of every instrument that
    // was read completely.
    DeletionReport deleteReadTests();
    // Ends the communication; safe to call more than once.
    void finish();
    void requestStop() { m_stopRequested = true; }

    int port() const { return m_port; }
    int startCode() const { return m_startCode; }
    const QString &errorText() const { return m_errorText; }
    const QList<TestRecord> &records() const { return m_records; }
    const QList<ReadInstrument> &readInstruments() const { return m_read; }
    int attachedCount() const { return m_deviceCount; }

    static int keepAliveInterval(int timeOut);

private:
    bool connect();
    void keepAlive();
    void yield();
    bool stopping() const { return m_stopRequested; }
    Outcome communicationError(const QString &text = {});
    bool readInstrument(uint32_t fab, const QString &text, int index, int count);
    bool readParameterValue(uint32_t fab, uint16_t number, uint32_t *value);
    QString libraryError();
    void progress(double percent);
    void stage(int stringNumber);

    const VlmBusFunctions &m_bus;
    InstrumentParameters &m_parameters;
    MemoryFactory m_memory;
    SerialSyncSettings m_settings;
    std::atomic_bool m_stopRequested{false};
    bool m_communicating = false;
    int m_port = 0;
    int m_startCode = 0;
    QString m_errorText;
    uint32_t m_devices[52] = {};
    int m_deviceCount = 0;
    QElapsedTimer m_sinceKeepAlive;
    QList<TestRecord> m_records;
    QList<ReadInstrument> m_read;
};
