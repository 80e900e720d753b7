#pragma once

#include "bus/vlm_bus.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

// The 31 functions of the bus library, in the order of its interface.
#define VLM_BUS_FUNCTIONS(X) \
    X(SetCommPort) X(SetBaudRate) X(GetAvailableCommPorts) X(SetDebugMode) X(EchoMode) \
    X(StartCommunication) X(StopCommunication) X(GetConnectedDevices) \
    X(SearchForNewDevices) X(SendSync) X(VerifySyncReceive) X(ActivateCommand) \
    X(SwitchDeviceMode) X(GetDeviceMode) X(SetLockService) X(GetTimeOutTime) \
    X(SetTimeOutTime) X(SetNewFabNumber) X(GetNrOfParameter) X(GetAllParameter) \
    X(GetNextParameter) X(GetParameter) X(SetParameter) X(GetLastChangedParameter) \
    X(GetMemory) X(SetMemory) X(GetExtendedErrorInformation) X(EnforceInterfaceRelease) \
    X(GetComponentName) X(ServiceMemoryTable) X(GetDLLVersionNr)

// The entry points of a loaded bus library, named as its exports.
struct VlmBusFunctions
{
#define VLM_BUS_MEMBER(name) decltype(&::name) name = nullptr;
    VLM_BUS_FUNCTIONS(VLM_BUS_MEMBER)
#undef VLM_BUS_MEMBER
};

// The bus library VLM_BUS, bound by name at its first use.
//
// The library is looked for as LUMETRA4_VLM_BUS names it (a file), else as "libvlm_bus.so"
// beside the program, in ../lib and ../bus beside it, in the build tree's bus folder, and in
// the system's library path. When it cannot be loaded or lacks one of its functions, functions()
// throws RuntimeErrorException with a message naming what was tried.
class VlmBusLibrary
{
public:
    static VlmBusLibrary &instance();

    // The bound functions; loads the library first, throws when it cannot be.
    const VlmBusFunctions &functions();
    // The library's last error text (GetExtendedErrorInformation).
    QString errorText();

    // Tests: forget the bound library and look for it as file next time (empty: the search).
    void reset(const QString &file = {});

private:
    VlmBusLibrary() = default;
    QStringList candidates() const;
    bool bind(QStringList *missing);

    QLibrary m_library;
    QString m_file;
    VlmBusFunctions m_functions;
    bool m_bound = false;
};
