// The exported functions: each forwards to the library instance over the real serial line and
// turns any C++ exception into the function's failure result, so none crosses the boundary.

#include "vlm_bus.h"

#include "BusLibrary.h"
#include "SteadyClock.h"
#include "TermiosTransport.h"

namespace {

BusLibrary &library()
{
    static TermiosTransport transport;
    static SteadyClock clock;
    static BusLibrary instance(transport, clock);
    return instance;
}

template<typename Result, typename Call>
Result guarded(Result failure, Call call) noexcept
{
    try {
        return call(library());
    } catch (...) {
        return failure;
    }
}

} // namespace

extern "C" {

uint8_t SetCommPort(uint8_t SelCommPort)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) { return bus.link.setCommPort(SelCommPort); });
}

uint8_t SetBaudRate(uint32_t SelBaudRate)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) { return bus.link.setBaudRate(SelBaudRate); });
}

uint8_t GetAvailableCommPorts(void)
{
    return guarded<uint8_t>(0, [](BusLibrary &bus) { return bus.link.getAvailableCommPorts(); });
}

uint8_t SetDebugMode(uint8_t Switch)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) { return bus.link.setDebugMode(Switch); });
}

uint8_t EchoMode(uint8_t Flag)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) { return bus.link.echoMode(Flag); });
}

uint8_t StartCommunication(uint16_t GlobalTimeOutTime)
{
    return guarded<uint8_t>(255, [&](BusLibrary &bus) {
        return bus.devices.startCommunication(GlobalTimeOutTime);
    });
}

uint8_t StopCommunication(void)
{
    return guarded<uint8_t>(0, [](BusLibrary &bus) { return bus.devices.stopCommunication(); });
}

uint8_t GetConnectedDevices(uint32_t *Devices)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.devices.getConnectedDevices(Devices);
    });
}

uint8_t SearchForNewDevices(uint32_t *Devices, uint8_t NrOfDevices, uint8_t NrOfNewInclude)
{
    return guarded<uint8_t>(255, [&](BusLibrary &bus) {
        return bus.devices.searchForNewDevices(Devices, NrOfDevices, NrOfNewInclude);
    });
}

uint32_t SendSync(uint8_t Type)
{
    return guarded<uint32_t>(0, [&](BusLibrary &bus) { return bus.devices.sendSync(Type); });
}

uint8_t VerifySyncReceive(uint32_t SyncID)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.devices.verifySyncReceive(SyncID);
    });
}

uint8_t ActivateCommand(uint32_t FABNr)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.devices.activateCommand(FABNr);
    });
}

uint8_t SwitchDeviceMode(uint32_t FABNr, uint8_t Mode)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.devices.switchDeviceMode(FABNr, Mode);
    });
}

uint8_t GetDeviceMode(uint32_t FABNr)
{
    return guarded<uint8_t>(253, [&](BusLibrary &bus) {
        return bus.devices.getDeviceMode(FABNr);
    });
}

uint8_t SetLockService(uint32_t FABNr, uint8_t LockUnlock)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.devices.setLockService(FABNr, LockUnlock);
    });
}

uint16_t GetTimeOutTime(uint32_t FABNr)
{
    return guarded<uint16_t>(0, [&](BusLibrary &bus) {
        return bus.devices.getTimeOutTime(FABNr);
    });
}

uint8_t SetTimeOutTime(uint32_t FABNr, uint16_t Time)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.devices.setTimeOutTime(FABNr, Time);
    });
}

uint8_t SetNewFabNumber(uint32_t OldFABNr, uint32_t NewFabNr)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.devices.setNewFabNumber(OldFABNr, NewFabNr);
    });
}

int16_t GetNrOfParameter(uint32_t FABNr, uint8_t Which)
{
    return guarded<int16_t>(-3, [&](BusLibrary &bus) {
        return bus.parameters.getNrOfParameter(FABNr, Which);
    });
}

int16_t GetAllParameter(uint32_t FABNr, BusDataObject *Parameters)
{
    return guarded<int16_t>(-3, [&](BusLibrary &bus) {
        return bus.parameters.getAllParameter(FABNr, Parameters);
    });
}

uint8_t GetNextParameter(uint32_t FABNr, uint16_t ParamNr, BusDataObject *Parameters)
{
    return guarded<uint8_t>(253, [&](BusLibrary &bus) {
        return bus.parameters.getNextParameter(FABNr, ParamNr, Parameters);
    });
}

uint8_t GetParameter(uint32_t FABNr, uint16_t ParamNr, BusDataObject *Data)
{
    return guarded<uint8_t>(253, [&](BusLibrary &bus) {
        return bus.parameters.getParameter(FABNr, ParamNr, Data);
    });
}

uint8_t SetParameter(uint32_t FABNr, BusDataObject *Data)
{
    return guarded<uint8_t>(254, [&](BusLibrary &bus) {
        return bus.parameters.setParameter(FABNr, Data);
    });
}

int16_t GetLastChangedParameter(uint32_t FABNr, BusDataObject *Parameter)
{
    return guarded<int16_t>(-3, [&](BusLibrary &bus) {
        return bus.parameters.getLastChangedParameter(FABNr, Parameter);
    });
}

uint8_t GetMemory(uint32_t FABNr, uint8_t MemoryType, uint32_t Address, BusMemoryObject *Memory)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.memory.getMemory(FABNr, MemoryType, Address, Memory);
    });
}

uint8_t SetMemory(uint32_t FABNr, uint8_t MemoryType, uint32_t Address, BusMemoryObject *Memory)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.memory.setMemory(FABNr, MemoryType, Address, Memory);
    });
}

int32_t GetExtendedErrorInformation(char *ErrMsg)
{
    return guarded<int32_t>(0, [&](BusLibrary &bus) {
        return bus.memory.getExtendedErrorInformation(ErrMsg);
    });
}

uint8_t EnforceInterfaceRelease(void)
{
    return guarded<uint8_t>(0, [](BusLibrary &bus) {
        return bus.devices.enforceInterfaceRelease();
    });
}

int32_t GetComponentName(char *Name)
{
    return guarded<int32_t>(0, [&](BusLibrary &bus) { return bus.memory.getComponentName(Name); });
}

uint8_t ServiceMemoryTable(void *Table)
{
    return guarded<uint8_t>(0, [&](BusLibrary &bus) {
        return bus.memory.serviceMemoryTable(Table);
    });
}

uint16_t GetDLLVersionNr(void)
{
    return MemoryServices::versionNumber;
}

} // extern "C"
