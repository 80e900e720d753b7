#include "sync/ui/frmLumetra4.h"

#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "bus/client/VlmBusLibrary.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/StringTable.h"
#include "sync/BusInstrumentMemory.h"
#include "sync/BusInstrumentParameters.h"
#include "sync/InfraredImport.h"
#include "sync/SerialPortDiagnosis.h"
#include "sync/SerialSynchronisation.h"
#include "sync/TestStore.h"
#include "sync/VlmMemLibrary.h"

#include <QApplication>
#include <QEventLoop>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

frmLumetra4::frmLumetra4(Mode mode, const Settings &settings, DatabaseSession &session,
                         QWidget *parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_settings(settings)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmLumetra4"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    lblBeschreibung = new QLabel(this);
    lblBeschreibung->setWordWrap(true);
    layout->addWidget(lblBeschreibung);
    auto *form = new QFormLayout;
    lblGeraet = new QLabel(this);
    lblVorgang = new QLabel(this);
    form->addRow(resString(27010), lblGeraet);
    form->addRow(resString(27011), lblVorgang);
    layout->addLayout(form);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    layout->addWidget(ProgressBar1);
    Animation1 = new QProgressBar(this); // busy indicator while the instruments are read
    Animation1->setRange(0, 0);
    Animation1->setTextVisible(false);
    Animation1->setMaximumHeight(8);
    layout->addWidget(Animation1);
    Command2 = new QPushButton(resString(27089), this);
    layout->addWidget(Command2, 0, Qt::AlignRight);
    connect(Command2, &QPushButton::clicked, this, &frmLumetra4::reject);

    if (mode == Mode::Serial) {
        setWindowTitle(resString(26993));
        lblBeschreibung->setText(resString(26995));
    } else {
        setWindowTitle(resString(26994));
        lblBeschreibung->setText(resString(26996) + QStringLiteral("\r\n\r\n") + resString(26997)
                                 + QStringLiteral("\r\n") + m_settings.infrarotPath);
        form->labelForField(lblGeraet)->setProperty("text", resString(26998));
    }
    resize(520, 240);
    ApplyLocaleFont(this, true);
}

frmLumetra4::~frmLumetra4() = default;

bool frmLumetra4::runModal()
{
    show();
    QTimer::singleShot(200, this, [this] {
        if (m_mode == Mode::Serial)
            runSerial();
        else
            runInfrared();
        done(m_openNewTestsAfterSync ? Accepted : Rejected);
    });
    exec();
    return m_openNewTestsAfterSync;
}

void frmLumetra4::reject()
{
    // Cancel: the run notices at its next step and ends without storing anything.
    m_stopRequested = true;
    if (m_stop)
        m_stop();
}

void frmLumetra4::setStage(int stringNumber)
{
    lblVorgang->setText(resString(stringNumber));
}

void frmLumetra4::onWorker(const std::function<void()> &work)
{
    QEventLoop loop;
    QThread *worker = QThread::create(work);
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
}

void frmLumetra4::runSerial()
{
    SerialSyncSettings settings;
    settings.autoCommPort = m_settings.autoCommPort;
    settings.commPort = m_settings.commPort;
    settings.timeOut = m_settings.timeOut;
    settings.deleteSyncedPruef = m_settings.deleteSyncedPruef;
    try {
        VlmMemLibrary::instance().ensureLoaded();
        const VlmBusFunctions &bus = VlmBusLibrary::instance().functions();
        BusInstrumentParameters parameters(bus);
        SerialSynchronisation run(bus, parameters,
                                  [&bus](uint32_t fab) {
                                      return std::make_unique<BusInstrumentMemory>(bus, fab);
                                  },
                                  settings);
        // The callbacks come from the worker thread; the labels are set on this one.
        run.onStage = [this](int number) {
            QMetaObject::invokeMethod(this, [this, number] { setStage(number); });
        };
        run.onInstrument = [this](const QString &text) {
            QMetaObject::invokeMethod(this, [this, text] { lblGeraet->setText(text); });
        };
        run.onProgress = [this](int percent) {
            QMetaObject::invokeMethod(this, [this, percent] { ProgressBar1->setValue(percent); });
        };
        m_stop = [&run] { run.requestStop(); };
        if (m_stopRequested)
            run.requestStop();
        SerialSynchronisation::Outcome outcome{};
        onWorker([&] { outcome = run.connectAndRead(); });
        if (outcome == SerialSynchronisation::Outcome::Read && !m_stopRequested)
            storeAndDelete(run);
        else
            showOutcome(int(outcome), run);
        onWorker([&] { run.finish(); });
        m_stop = nullptr;
    } catch (const RuntimeErrorException &e) {
        m_stop = nullptr;
        hide();
        ErrorReport::ShowError(e.error());
    }
}

void frmLumetra4::showOutcome(int outcome, SerialSynchronisation &run)
{
    using Outcome = SerialSynchronisation::Outcome;
    switch (Outcome(outcome)) {
    case Outcome::PortUnavailable:
        hide();
        showCritical(this, portUnavailableText(run.port()));
        break;
    case Outcome::StartFailed:
        hide();
        showCritical(this, QStringLiteral("ErrorCode: %1\r\n").arg(run.startCode())
                               + run.errorText());
        break;
    case Outcome::NoInstruments:
        hide();
        MessageBoxes::instance().show(this, MessageBoxes::Icon::Plain,
                                      QStringLiteral("Lumetra 4 Desktop"), resString(27006));
        break;
    case Outcome::CommunicationError:
        hide();
        showCritical(this, run.errorText(), QStringLiteral("Error"));
        MessageBoxes::instance().show(this, MessageBoxes::Icon::Plain,
                                      QStringLiteral("Lumetra 4 Desktop"), resString(27007));
        break;
    case Outcome::Read:
    case Outcome::Stopped:
        break;
    }
}

void frmLumetra4::storeAndDelete(SerialSynchronisation &run)
{
    Animation1->hide();
    if (!StoreTests(m_session.dbConnection, run.records()))
        return; // reported; nothing of this run is stored
    if (m_settings.deleteSyncedPruef) {
        DeletionReport report;
        onWorker([&] { report = run.deleteReadTests(); });
        if (report.communicationError) {
            // The tests are stored; they stay on the instruments too.
            hide();
            showCritical(this, report.libraryError, QStringLiteral("Error"));
            MessageBoxes::instance().show(this, MessageBoxes::Icon::Plain,
                                          QStringLiteral("Lumetra 4 Desktop"), resString(27007));
            m_session.RequeryRecordsets();
            return;
        }
        if (!report.notDeleted.isEmpty())
            showInformation(this, report.notDeleted.join(u'\n'));
    }
    m_session.RequeryRecordsets();
    m_openNewTestsAfterSync = true;
}

void frmLumetra4::runInfrared()
{
    InfraredImport import(m_session.dbConnection, m_settings.infrarotPath,
                          m_settings.deleteSyncedPruef);
    import.onStage = [this](InfraredImport::Stage stage) {
        if (stage == InfraredImport::Stage::Reading)
            setStage(26999);
        else if (stage == InfraredImport::Stage::Storing)
            setStage(27000);
        QCoreApplication::processEvents();
    };
    import.onFile = [this](const QString &name) {
        lblGeraet->setText(name);
        QCoreApplication::processEvents();
    };
    import.onProgress = [this](int value, int maximum) {
        ProgressBar1->setValue(maximum > 0 ? value * 100 / maximum : 0);
    };
    m_stop = [&import] { import.requestStop(); };
    if (m_stopRequested)
        import.requestStop();
    const InfraredImport::Result result = import.run();
    m_stop = nullptr;
    if (result.status == InfraredImport::Status::Imported) {
        m_session.RequeryRecordsets();
        m_openNewTestsAfterSync = result.stored > 0;
    }
}
